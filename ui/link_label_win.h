// A static text control turned into a link: blue and underlined, red while
// the pointer is over it, with a pointing hand, reporting pointer-over,
// pointer-left and click to its parent as WM_NOTIFY. Everything it holds
// lives in window properties on the control and is freed when it goes.
//
// The parent takes part: a parent that does not act on LLN_HOVER or
// LLN_LEAVE itself sends the same WM_NOTIFY back to the control (hwndFrom)
// and returns what the control returns. Only then does the text turn red
// under the pointer and blue again; without it the link stays blue but
// still clicks.
#pragma once

#include <windows.h>

constexpr wchar_t kLinkPropOriginalProc[] = L"LLPROP_ORIGINALPROC";
constexpr wchar_t kLinkPropControlState[] = L"LLPROP_CONTROLSTATE";  // bit 0: pointer over it
constexpr wchar_t kLinkPropCursor[] = L"LLPROP_CURSOR";
constexpr wchar_t kLinkPropFont[] = L"LLPROP_FONT";

// Notification codes, in the NMHDR of a LinkNotify.
constexpr UINT LLN_CLICK = 1025;  // released over the control after a press on it
constexpr UINT LLN_LEAVE = 1026;  // the pointer has left the control
constexpr UINT LLN_HOVER = 1027;  // the pointer moved inside the control

struct LinkNotify {
    NMHDR header;
    DWORD keyFlags;  // LLN_HOVER: the mouse move's wParam; else 0
    DWORD position;  // LLN_HOVER: the mouse move's lParam (client x, y); else 0
};

// The control must already carry its font and its text. Whatever else
// subclasses the control must do so before: when the control is destroyed
// the link puts back the procedure it replaced. False when nothing
// was changed (no font, or no underlined font or cursor could be made): the
// control then stays plain static text.
bool MakeLinkLabel(HWND control);
// The pointing hand (hot spot on the fingertip); the caller destroys it.
HCURSOR CreateHandCursor(HINSTANCE instance);
LRESULT CALLBACK LinkLabelProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
