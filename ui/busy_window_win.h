// The hidden window that owns the tray icon while files are converted. It
// reacts to nothing: the caller works without a message loop while it exists,
// and destroying it dispatches whatever queued up in the meantime.
#pragma once

#include <windows.h>

#include <cstdint>

// The window property that holds the window's NOTIFYICONDATAW.
constexpr wchar_t kPropTrayIconData[] = L"PROP_WAITICON";
// The class, and the title of every busy window.
constexpr wchar_t kBusyWindowClass[] = L"TAVELIN";
// The tray icon's tip while a run converts files.
constexpr wchar_t kBusyTip[] = L"TAVELINちゃんが文字コードを変換中ですわ";

// Once per process, before the first CreateBusyWindow. 0 on failure.
ATOM RegisterBusyWindowClass(HINSTANCE instance);
// A hidden window with a tray icon showing the tip (cut to 63 UTF-16 code
// units, never inside a surrogate pair). Null when the window cannot be
// created; DestroyBusyWindow accepts that null. The tip is also the start of
// every tip the updates below show.
HWND CreateBusyWindow(HINSTANCE instance, const wchar_t* tip);
// Removes the tray icon, destroys the window, and dispatches every message
// queued for the thread's windows. The quit message it posts to end that
// drain is consumed here, so a modal loop around the call keeps running.
// True when the drain ended on that quit message.
bool DestroyBusyWindow(HWND window);

// A long run's progress in the tray: done of total files as a bar over the
// icon and as a count in the tip ("<tip> (1,234 / 10,000)"). Call it for
// every file: it redraws at most a few times a second, never when nothing
// shown would change, and always for the last file; during the first half
// second of the window it changes nothing, so a short run looks as it always
// did. Mostly it only reads the clock. True when it redrew the tray.
bool UpdateBusyProgress(HWND window, std::int32_t done, std::int32_t total);
// While the files are still being found: the tip says so with the number
// found ("<tip> (検索中 1,234 件)"); the icon stays as it is. Throttled alike.
bool UpdateBusyGathering(HWND window, std::int32_t found);
// The same with the clock (GetTickCount's milliseconds) given, for tests.
bool UpdateBusyProgressAt(HWND window, std::int32_t done, std::int32_t total, DWORD nowMs);
bool UpdateBusyGatheringAt(HWND window, std::int32_t found, DWORD nowMs);
