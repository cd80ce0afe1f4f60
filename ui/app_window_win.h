// Window classes and icons shared by the program's windows: every window
// shows the icon the shell shows for the program file.
#pragma once

#include <windows.h>

#include "util/path.h"

// The shell's icon for a file; extraFlags adds SHGFI_SMALLICON or the like to
// SHGFI_ICON. Null when the shell has none. The caller owns the icon.
HICON GetFileIcon(const PathChar* path, UINT extraFlags);
// The shell's icon for the module's own file: small = 0 large, 1 small.
HICON GetExecutableIcon(HINSTANCE instance, int small);
// Registers a class with both of the program's icons, no cursor, no extra
// bytes, and the stock object of the given index as background. Its windows
// take and give their texts in UTF-16.
ATOM RegisterAppWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                            UINT classStyle, const wchar_t* menuName, int stockObject);
// Takes the title-bar icons off the window and destroys them: a window never
// destroys its icons itself, and each dialog takes its own copies.
void DestroyTitleBarIcons(HWND window);
// A dialog's answer to WM_NCHITTEST that lets it be dragged by any empty spot
// of its body: the background counts as caption, the frame and the controls
// keep their own answers. The result goes where a dialog procedure puts it.
BOOL AnswerBackgroundAsCaption(HWND dialog, WPARAM wParam, LPARAM lParam);
