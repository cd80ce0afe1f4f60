#include "ui/busy_window_win.h"

#include <shellapi.h>

#include <new>

#include "res/resource.h"
#include "ui/app_window_win.h"
#include "util/text.h"

namespace {

// The first version of the record, whose tip holds 64 bytes: every shell
// understands it.
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAA_V1_SIZE;
constexpr int kTipCapacity = 64;
constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayCallbackMessage = WM_APP;

}  // namespace

ATOM RegisterBusyWindowClass(HINSTANCE instance) {
    return RegisterAppWindowClass(instance, kBusyWindowClass, DefWindowProcA, 0, "", NULL_BRUSH);
}

HWND CreateBusyWindow(HINSTANCE instance, const char* tip) {
    HWND window = CreateWindowExA(0, kBusyWindowClass, kBusyWindowClass, WS_POPUP | WS_MINIMIZE,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    // The whole structure is allocated, though the shell is told only of its
    // first version, so that every member the type declares is backed.
    auto* record = new (std::nothrow) NOTIFYICONDATAA;
    // Without a record the run goes on without a tray icon.
    if (record == nullptr) return window;
    ZeroFill(record, sizeof *record);
    record->cbSize = kTrayRecordSize;
    record->hWnd = window;
    record->uID = kTrayIconId;
    record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record->uCallbackMessage = kTrayCallbackMessage;
    record->hIcon =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_BUSY), IMAGE_ICON, 16, 16, 0));
    CopyBounded(record->szTip, tip, kTipCapacity);
    // A shell without a tray refuses the icon; the run does not depend on it.
    Shell_NotifyIconA(NIM_ADD, record);
    if (!SetPropA(window, kPropTrayIconData, record)) {
        // DestroyBusyWindow finds the record only through the property: without
        // it, the icon would stay in the tray and the record and image be lost.
        Shell_NotifyIconA(NIM_DELETE, record);
        if (record->hIcon != nullptr) DestroyIcon(record->hIcon);
        delete record;
    }
    return window;
}

bool DestroyBusyWindow(HWND window) {
    auto* record = static_cast<NOTIFYICONDATAA*>(GetPropA(window, kPropTrayIconData));
    RemovePropA(window, kPropTrayIconData);
    if (record != nullptr) {
        Shell_NotifyIconA(NIM_DELETE, record);
        // The image was loaded without LR_SHARED for this icon alone.
        if (record->hIcon != nullptr) DestroyIcon(record->hIcon);
        delete record;
    }
    DestroyWindow(window);
    PostQuitMessage(0);
    // Nothing served the queue while the work ran: dispatch it all now, up to
    // the quit message posted above, which ends the loop and goes no further.
    MSG message{};
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return false;
        DispatchMessageA(&message);
    }
    return message.wParam == 0;
}
