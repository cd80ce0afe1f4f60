#include "ui/app_window_win.h"

#include <shellapi.h>

#include "ui/geometry_win.h"
#include "util/text.h"

HICON GetFileIcon(const char* path, UINT extraFlags) {
    SHFILEINFOA info;
    ZeroFill(&info, sizeof info);
    if (SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON | extraFlags) == 0) return nullptr;
    return info.hIcon;
}

HICON GetExecutableIcon(HINSTANCE instance, int small) {
    char path[kPathCapacity];
    DWORD length = GetModuleFileNameA(instance, path, sizeof path);
    // A result that fills the buffer was cut (and older systems leave it
    // unterminated): no icon rather than the icon of some other file.
    if (length == 0 || length >= sizeof path) return nullptr;
    return GetFileIcon(path, small == 0 ? SHGFI_LARGEICON : SHGFI_SMALLICON);
}

ATOM RegisterAppWindowClass(HINSTANCE instance, const char* className, WNDPROC procedure,
                            UINT classStyle, const char* menuName, int stockObject) {
    WNDCLASSEXA windowClass;
    ZeroFill(&windowClass, sizeof windowClass);
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = GetExecutableIcon(instance, 0);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(stockObject));
    windowClass.lpszMenuName = menuName;
    windowClass.lpszClassName = className;
    windowClass.hIconSm = GetExecutableIcon(instance, 1);
    ATOM atom = RegisterClassExA(&windowClass);
    // A refused class (registered before, say) keeps nothing of ours: its
    // icons are ours to destroy. A registered class holds them for the life
    // of the process.
    if (atom == 0) {
        if (windowClass.hIcon != nullptr) DestroyIcon(windowClass.hIcon);
        if (windowClass.hIconSm != nullptr) DestroyIcon(windowClass.hIconSm);
    }
    return atom;
}

void DestroyTitleBarIcons(HWND window) {
    const WPARAM kinds[] = {ICON_BIG, ICON_SMALL};
    for (WPARAM which : kinds) {
        HICON icon = SetWindowIcon(window, which, nullptr);
        if (icon != nullptr) DestroyIcon(icon);
    }
}

BOOL AnswerBackgroundAsCaption(HWND dialog, WPARAM wParam, LPARAM lParam) {
    LRESULT hit = DefWindowProcA(dialog, WM_NCHITTEST, wParam, lParam);
    if (hit == HTCLIENT) hit = HTCAPTION;
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, hit);
    return TRUE;
}
