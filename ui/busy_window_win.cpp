#include "ui/busy_window_win.h"

#include <shellapi.h>

#include <cstddef>
#include <new>
#include <type_traits>

#include "res/resource.h"
#include "ui/app_window_win.h"
#include "ui/progress.h"
#include "ui/progress_icon_win.h"
#include "util/path_win.h"
#include "util/text.h"

namespace {

// The first version of the record, whose tip holds 64 UTF-16 code units:
// every shell understands it.
constexpr DWORD kTrayRecordSize = NOTIFYICONDATAW_V1_SIZE;
constexpr int kTipCapacity = 64;
constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayCallbackMessage = WM_APP;
static_assert(kTipCapacity == kTrayTipCapacity, "the tips are made for the first record");

// What the window keeps for its icon. The property points at the record,
// the first member, so that whoever reads the property finds the record the
// shell was given.
struct BusyTray {
    NOTIFYICONDATAW record;
    HICON plainIcon;  // as loaded; every picture of the progress is drawn from it
    std::int32_t barCells;
    char16_t text[kTipCapacity];  // the run's own text, which every tip starts with
    ProgressThrottle throttle;
};
static_assert(std::is_standard_layout<BusyTray>::value && offsetof(BusyTray, record) == 0,
              "the record's address is the tray's");

// The tray of the busy window last updated. Reading a window property is a
// request to the window system (under Wine, to its server), too dear for
// every file of a run, which updates one busy window all along.
HWND g_trayWindow = nullptr;
BusyTray* g_tray = nullptr;

BusyTray* TrayOf(HWND window) {
    if (window != g_trayWindow) {
        g_trayWindow = window;
        g_tray = window == nullptr
                     ? nullptr
                     : reinterpret_cast<BusyTray*>(GetPropW(window, kPropTrayIconData));
    }
    return g_tray;
}

// The tip into the record's own characters.
void SetTip(NOTIFYICONDATAW* record, const char16_t* tip) {
    for (int i = 0; i < kTipCapacity; i++) {
        record->szTip[i] = static_cast<wchar_t>(tip[i]);
        if (tip[i] == u'\0') break;
    }
    record->szTip[kTipCapacity - 1] = L'\0';
}

// Brings the tray up to what the throttle decided to show.
void Redraw(BusyTray* tray, unsigned parts) {
    NOTIFYICONDATAW* record = &tray->record;
    HICON replaced = nullptr;
    if ((parts & RedrawIcon) != 0) {
        const std::int32_t cells = tray->throttle.shown.cells;
        HICON icon = cells == kNoBar ? tray->plainIcon : MakeProgressIcon(tray->plainIcon, cells);
        // Without a new picture the old one stays; the tip still changes.
        if (icon != nullptr && icon != record->hIcon) {
            replaced = record->hIcon;
            record->hIcon = icon;
        }
    }
    if ((parts & RedrawTip) != 0) {
        const TrayView& shown = tray->throttle.shown;
        char16_t tip[kTipCapacity];
        if (shown.total == kGatheringTotal) {
            FormatGatheringTip(tip, tray->text, shown.count);
        } else {
            FormatProgressTip(tip, tray->text, shown.count, shown.total);
        }
        SetTip(record, tip);
    }
    // The shell keeps a copy of the icon: the one it showed before can go.
    Shell_NotifyIconW(NIM_MODIFY, record);
    if (replaced != nullptr && replaced != tray->plainIcon) DestroyIcon(replaced);
}

}  // namespace

ATOM RegisterBusyWindowClass(HINSTANCE instance) {
    return RegisterAppWindowClass(instance, kBusyWindowClass, DefWindowProcW, 0, L"", NULL_BRUSH);
}

HWND CreateBusyWindow(HINSTANCE instance, const wchar_t* tip) {
    HWND window = CreateWindowExW(0, kBusyWindowClass, kBusyWindowClass, WS_POPUP | WS_MINIMIZE,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    // The whole structure is allocated, though the shell is told only of its
    // first version, so that every member the type declares is backed.
    auto* tray = new (std::nothrow) BusyTray;
    // Without a record the run goes on without a tray icon.
    if (tray == nullptr) return window;
    ZeroFill(tray, sizeof *tray);
    NOTIFYICONDATAW* record = &tray->record;
    record->cbSize = kTrayRecordSize;
    record->hWnd = window;
    record->uID = kTrayIconId;
    record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record->uCallbackMessage = kTrayCallbackMessage;
    record->hIcon =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_BUSY), IMAGE_ICON, 16, 16, 0));
    FormatPlainTip(tray->text, PathFromWide(tip).c_str());
    SetTip(record, tray->text);
    tray->plainIcon = record->hIcon;
    tray->barCells = ProgressBarCells(tray->plainIcon);
    StartProgressThrottle(&tray->throttle, GetTickCount());
    // A shell without a tray refuses the icon; the run does not depend on it.
    Shell_NotifyIconW(NIM_ADD, record);
    if (!SetPropW(window, kPropTrayIconData, record)) {
        // DestroyBusyWindow finds the record only through the property: without
        // it, the icon would stay in the tray and the record and image be lost.
        Shell_NotifyIconW(NIM_DELETE, record);
        if (record->hIcon != nullptr) DestroyIcon(record->hIcon);
        delete tray;
    }
    return window;
}

bool DestroyBusyWindow(HWND window) {
    auto* tray = reinterpret_cast<BusyTray*>(GetPropW(window, kPropTrayIconData));
    RemovePropW(window, kPropTrayIconData);
    if (window == g_trayWindow) {
        g_trayWindow = nullptr;
        g_tray = nullptr;
    }
    if (tray != nullptr) {
        NOTIFYICONDATAW* record = &tray->record;
        Shell_NotifyIconW(NIM_DELETE, record);
        // The image was loaded without LR_SHARED for this icon alone; a
        // picture of the progress may stand in its place.
        if (record->hIcon != nullptr && record->hIcon != tray->plainIcon) {
            DestroyIcon(record->hIcon);
        }
        if (tray->plainIcon != nullptr) DestroyIcon(tray->plainIcon);
        delete tray;
    }
    DestroyWindow(window);
    PostQuitMessage(0);
    // Nothing served the queue while the work ran: dispatch it all now, up to
    // the quit message posted above, which ends the loop and goes no further.
    MSG message{};
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (got == -1) return false;
        DispatchMessageW(&message);
    }
    return message.wParam == 0;
}

bool UpdateBusyProgressAt(HWND window, std::int32_t done, std::int32_t total, DWORD nowMs) {
    BusyTray* tray = TrayOf(window);
    if (tray == nullptr) return false;
    unsigned parts = TakeProgressRedraw(&tray->throttle, done, total, tray->barCells, nowMs);
    if (parts == RedrawNothing) return false;
    Redraw(tray, parts);
    return true;
}

bool UpdateBusyGatheringAt(HWND window, std::int32_t found, DWORD nowMs) {
    BusyTray* tray = TrayOf(window);
    if (tray == nullptr) return false;
    unsigned parts = TakeGatheringRedraw(&tray->throttle, found, nowMs);
    if (parts == RedrawNothing) return false;
    Redraw(tray, parts);
    return true;
}

bool UpdateBusyProgress(HWND window, std::int32_t done, std::int32_t total) {
    return UpdateBusyProgressAt(window, done, total, GetTickCount());
}

bool UpdateBusyGathering(HWND window, std::int32_t found) {
    return UpdateBusyGatheringAt(window, found, GetTickCount());
}
