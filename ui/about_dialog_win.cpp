#include "ui/about_dialog_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "ui/about_layout_win.h"
#include "ui/about_template.h"
#include "ui/app_window_win.h"
#include "ui/dialog_template.h"
#include "ui/geometry_win.h"
#include "ui/link_label_win.h"
#include "ui/system_resources_win.h"
#include "ui/tooltip_win.h"
#include "ui/version_info_win.h"

// A name reserved for examples, which no other program's site can ever use.
const wchar_t kSupportSiteAddress[] = L"https://tavelin.example/support/";
HWND openAboutDialog = nullptr;

namespace {

struct AboutDialogData {
    HICON largeIcon;
    HICON smallIcon;
    const SupportSiteInfo* siteInfo;
};

AboutDialogData* DataOf(HWND dialog) {
    return static_cast<AboutDialogData*>(GetPropW(dialog, kPropAboutDialogData));
}

// The caption and the name line from the version resource; both stay empty
// without one.
void SetVersionTexts(HWND dialog) {
    DWORD translation = 0;
    void* block = OpenOwnVersionInfo(&translation);
    if (block == nullptr) return;
    std::wstring name;
    std::wstring version;
    if (!QueryVersionString(&name, block, translation, L"ProductName") || name.empty()) {
        QueryVersionString(&name, block, translation, L"FileDescription");
    }
    QueryVersionString(&version, block, translation, L"ProductVersion");
    SetDlgItemTextW(dialog, kAboutNameLineId, (name + L" ver. " + version).c_str());
    SetWindowTextW(dialog, (name + L" について").c_str());
    std::free(block);
}

BOOL OnInitDialog(HWND dialog, AboutDialogData* data) {
    openAboutDialog = dialog;
    SetPropW(dialog, kPropAboutDialogData, data);
    SetWindowIcon(dialog, ICON_BIG, data->largeIcon);
    SetWindowIcon(dialog, ICON_SMALL, data->smallIcon);
    PlaceWindowAtCursor(dialog);
    SetVersionTexts(dialog);
    SetFreeResourcesText(GetDlgItem(dialog, kAboutResourcesLineId));
    SendDlgItemMessageW(dialog, kAboutIconId, STM_SETICON,
                        reinterpret_cast<WPARAM>(data->largeIcon), 0);
    // The tooltip subclasses the link too, and must do so first: the link
    // puts back the procedure it replaced when it goes, which would cut a
    // later subclass out of the chain before it could free its record.
    HWND link = GetDlgItem(dialog, kAboutLinkId);
    SetWindowTextW(link, data->siteInfo->address);
    // Owned by the box, which takes it along when it goes.
    HWND toolTip = CreateToolTipWindow(dialog, GetModuleHandleW(nullptr), TTS_ALWAYSTIP, 0);
    AddToolTip(toolTip, TTF_SUBCLASS, dialog, link, kSupportSiteTip);
    // Without the link the address still shows, as plain text.
    MakeLinkLabel(link);
    // Measured after MakeLinkLabel: the link is as wide as its underlined text.
    FitAboutLayout(dialog);
    return TRUE;
}

INT_PTR OnNotify(HWND dialog, WPARAM wParam, LPARAM lParam) {
    if (wParam != static_cast<WPARAM>(kAboutLinkId)) return TRUE;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == LLN_CLICK) {
        ShellExecuteW(dialog, nullptr, DataOf(dialog)->siteInfo->address, nullptr, nullptr,
                      SW_SHOWNORMAL);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    // Sent back, so the link turns red under the pointer and blue again.
    return SendMessageW(header->hwndFrom, WM_NOTIFY, header->idFrom, lParam);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<AboutDialogData*>(lParam));
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, LOWORD(wParam));
            }
            return TRUE;
        case WM_NOTIFY:
            return OnNotify(dialog, wParam, lParam);
        case WM_NCHITTEST:
            return AnswerBackgroundAsCaption(dialog, wParam, lParam);
        case WM_DESTROY:
            RemovePropW(dialog, kPropAboutDialogData);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR RunAboutDialog(HWND owner, const SupportSiteInfo* siteInfo) {
    void* dialogTemplate = BuildAboutTemplate();
    if (dialogTemplate == nullptr) return -1;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    AboutDialogData data{GetExecutableIcon(instance, 0), GetExecutableIcon(instance, 1), siteInfo};
    INT_PTR result =
        DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(dialogTemplate), owner,
                                AboutDialogProc, reinterpret_cast<LPARAM>(&data));
    openAboutDialog = nullptr;
    if (data.largeIcon != nullptr) DestroyIcon(data.largeIcon);
    if (data.smallIcon != nullptr) DestroyIcon(data.smallIcon);
    FreeDialogTemplate(dialogTemplate);
    return result;
}

bool ShowAboutDialog(HWND owner, const SupportSiteInfo* siteInfo) {
    if (openAboutDialog != nullptr) {
        BringWindowToTop(openAboutDialog);
        SetForegroundWindow(openAboutDialog);
        ShowWindow(openAboutDialog, SW_SHOWDEFAULT);
        return true;
    }
    // Nothing to report: without a template no box shows.
    RunAboutDialog(owner, siteInfo);
    return true;
}
