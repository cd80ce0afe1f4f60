// Small questions asked of a window: its text, its font, where the pointer
// is. Shared by the link label and the about box.
#pragma once

#include <windows.h>

#include <string>

// The window's whole text; false (and the text empty) when it cannot be read.
bool GetWindowTextCopy(HWND window, std::wstring* text);
// The LOGFONTW of the font the window draws with; false when it has none.
bool GetWindowLogFont(HWND window, LOGFONTW* font);
// The size of the window's whole text in the window's own font, on one line;
// 0 by 0 when it has no text or the text cannot be read.
bool GetWindowTextExtent(HWND window, SIZE* size);
// Whether the live cursor position (not a message's) lies in the window's
// client rectangle, right and bottom exclusive.
bool IsCursorInClient(HWND window);
// Invalidates the whole client area.
bool InvalidateWhole(HWND window, bool erase);
