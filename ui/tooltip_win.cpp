#include "ui/tooltip_win.h"

#include <commctrl.h>

#include "util/text.h"

HWND CreateToolTipWindow(HWND owner, HINSTANCE instance, DWORD style, DWORD extendedStyle) {
    return CreateWindowExA(extendedStyle, TOOLTIPS_CLASSA, nullptr, style, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance,
                           nullptr);
}

bool AddToolTip(HWND toolTip, UINT flags, HWND owner, HWND tool, const char* text) {
    TOOLINFOA info;
    ZeroFill(&info, sizeof info);
    // The first version of the record, which every comctl32 accepts.
    info.cbSize = TTTOOLINFOA_V1_SIZE;
    info.uFlags = flags | TTF_IDISHWND;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text);
    return SendMessageA(toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}
