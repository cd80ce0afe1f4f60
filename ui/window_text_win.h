// Small questions asked of a window: its text, its font, where the pointer
// is. Shared by the link label and the about box.
#pragma once

#include <windows.h>

// A heap copy of the window's text (free it with std::free), or null.
char* GetWindowTextCopy(HWND window);
// The LOGFONTA of the font the window draws with; false when it has none.
bool GetWindowLogFont(HWND window, LOGFONTA* font);
// The size of the window's whole text in the window's own font, on one line;
// 0 by 0 when it has no text or the text cannot be read.
bool GetWindowTextExtent(HWND window, SIZE* size);
// Whether the live cursor position (not a message's) lies in the window's
// client rectangle, right and bottom exclusive.
bool IsCursorInClient(HWND window);
// Invalidates the whole client area.
bool InvalidateWhole(HWND window, bool erase);
