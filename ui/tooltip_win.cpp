#include "ui/tooltip_win.h"

#include <commctrl.h>

#include "util/text.h"

HWND CreateToolTipWindow(HWND owner, HINSTANCE instance, DWORD style, DWORD extendedStyle) {
    return CreateWindowExW(extendedStyle, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance,
                           nullptr);
}

bool AddToolTip(HWND toolTip, UINT flags, HWND owner, HWND tool, const wchar_t* text) {
    TOOLINFOW info;
    ZeroFill(&info, sizeof info);
    // The first version of the record, which every comctl32 accepts.
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = flags | TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text);
    return SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}
