// Tooltips of the common controls, as the dialogs use them.
#pragma once

#include <windows.h>

// A tooltip window owned by owner; it goes when its owner goes.
HWND CreateToolTipWindow(HWND owner, HINSTANCE instance, DWORD style, DWORD extendedStyle);
// Adds tool, a child window of owner, with its text; TTF_IDISHWND is added
// to flags.
bool AddToolTip(HWND toolTip, UINT flags, HWND owner, HWND tool, const wchar_t* text);
