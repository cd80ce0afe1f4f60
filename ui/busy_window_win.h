// The hidden window that owns the tray icon while files are converted. It
// reacts to nothing: the caller works without a message loop while it exists,
// and destroying it dispatches whatever queued up in the meantime.
#pragma once

#include <windows.h>

// The window property that holds the window's NOTIFYICONDATAA.
constexpr char kPropTrayIconData[] = "PROP_WAITICON";
// The class, and the title of every busy window.
constexpr char kBusyWindowClass[] = "TAVELIN";
// The tray icon's tip while a run converts files.
constexpr char kBusyTip[] = "TAVELINちゃんが文字コードを変換中ですわ";

// Once per process, before the first CreateBusyWindow. 0 on failure.
ATOM RegisterBusyWindowClass(HINSTANCE instance);
// A hidden window with a tray icon showing the tip (cut to 63 bytes, never
// inside a double-byte character). Null when the window cannot be created;
// DestroyBusyWindow accepts that null.
HWND CreateBusyWindow(HINSTANCE instance, const char* tip);
// Removes the tray icon, destroys the window, and dispatches every message
// queued for the thread's windows. The quit message it posts to end that
// drain is consumed here, so a modal loop around the call keeps running.
// True when the drain ended on that quit message.
bool DestroyBusyWindow(HWND window);
