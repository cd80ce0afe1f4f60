// The about box: the program's icon, its name and version from the program
// file's own version resource, the support site as a link, and the free
// system resources where the system reports them. At most one box exists.
#pragma once

#include <windows.h>

// clang-format off
struct SupportSiteInfo { const wchar_t* address; };
// clang-format on
// The support site, shown in the box and opened by its link.
extern const wchar_t kSupportSiteAddress[];
extern HWND openAboutDialog;
bool ShowAboutDialog(HWND owner, const SupportSiteInfo* siteInfo);

// ShowAboutDialog's modal part: shows the box until it ends and returns its
// result, 1 (OK, or the link clicked) or 2 (Cancel, the close box); -1 when
// its template could not be made. Call it only while no box is open.
INT_PTR RunAboutDialog(HWND owner, const SupportSiteInfo* siteInfo);

// The window property that holds the box's AboutDialogData while it lives.
constexpr wchar_t kPropAboutDialogData[] = L"PROP_ABOUTDIALOGDATA";
// The tip over the link.
constexpr wchar_t kSupportSiteTip[] = L"サポートサイトへ";
