// Driving the program's modal windows from a test, as a user would: the
// test's main thread makes the modal call (a dialog runs its own loop there),
// and a helper thread finds the window, reads it and acts on it through
// messages. Also: pictures of windows for people to look at.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The first visible top-level window of the class with exactly this title
// (compared in UTF-16, whatever the system's code page) whose owner is the
// given window (null: a window without owner). Waits up to timeoutMs; null
// when none appeared.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title, HWND owner,
                   int timeoutMs = 10000);
// True once the window no longer exists; false after timeoutMs.
bool WaitForWindowGone(HWND window, int timeoutMs = 10000);

// Runs modal() on this thread. Meanwhile a helper thread waits for the window
// (class, title, no owner) and calls drive(window). When drive returns and
// the window is still there (a check failed before it was closed), the
// helper closes whatever the window owns and then the window itself with
// Cancel, so the test never hangs; when no window of that title appears, it
// cancels the windows of the class that this thread shows. False when the
// window never appeared.
bool DriveModal(const wchar_t* className, const wchar_t* title, const std::function<void()>& modal,
                const std::function<void(HWND)>& drive);

// Puts the mouse cursor there and waits until the system reports it there
// (a first move can be overtaken by the display's own idea of the pointer).
bool MoveCursorTo(int x, int y);

// Real mouse input, as a user's hand makes it: moves the pointer to the
// screen point with the given button flags (MOUSEEVENTF_LEFTDOWN ...).
void SendMouse(DWORD flags, POINT at);
// Whether Wine leaves windows to a window manager, which then does the
// dragging itself, out of reach of input sent inside Wine.
bool WindowManagerDrags();

// The window's text in the system's code page (932 under the tests' usual
// Japanese locale), as a program of narrow texts reads it.
std::string WindowTextOf(HWND window);
// The window's text as the window holds it, in UTF-16.
std::wstring WideTextOf(HWND window);
// The window's outer rectangle in its parent's client coordinates (for a
// top-level window, in screen coordinates).
RECT RectInParent(HWND window);
// The window with the keyboard focus on the window's thread, or null.
HWND FocusOfThreadOf(HWND window);
// The texts of the window's static children, joined by "|" (a message box's
// text is one of them).
std::wstring StaticTexts(HWND window);

// Saves the window as it is on the screen as NAME.png in the demo folder
// (TAVELIN_DEMO_DIR, a Unix path, or "demo" beside the test program's build
// folder: BUILD/mingw/x.exe gives BUILD/demo). Works only under Wine on an X
// display, through scripts/screenshot. Returns false (and says why on
// stderr) when no picture was written; pictures are for looking at, so
// callers do not fail a test over them.
bool SaveScreenshot(HWND window, const char* name);

// A bitmap's pixels as 0xRRGGBB, the top row first.
std::vector<DWORD> BitmapPixels(HBITMAP bitmap, int width, int height);
// What the screen shows in the window's rectangle, in the same form.
std::vector<DWORD> ScreenPixels(HWND window);
