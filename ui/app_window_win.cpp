#include "ui/app_window_win.h"

#include <shellapi.h>

#include <vector>

#include "ui/geometry_win.h"
#include "util/path_win.h"
#include "util/text.h"

HICON GetFileIcon(const PathChar* path, UINT extraFlags) {
    SHFILEINFOW info;
    ZeroFill(&info, sizeof info);
    if (SHGetFileInfoW(WideText(path), 0, &info, sizeof info, SHGFI_ICON | extraFlags) == 0) {
        return nullptr;
    }
    return info.hIcon;
}

HICON GetExecutableIcon(HINSTANCE instance, int small) {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const auto capacity = static_cast<DWORD>(path.size());
        DWORD length = GetModuleFileNameW(instance, path.data(), capacity);
        if (length == 0) return nullptr;
        if (length < capacity) break;
        // A result that fills the buffer was cut: no icon rather than the
        // icon of some other file.
        if (path.size() > kLongestPath) return nullptr;
        path.resize(2 * path.size());
    }
    return GetFileIcon(PathFromWide(path.data()).c_str(),
                       small == 0 ? SHGFI_LARGEICON : SHGFI_SMALLICON);
}

ATOM RegisterAppWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                            UINT classStyle, const wchar_t* menuName, int stockObject) {
    WNDCLASSEXW windowClass;
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
    ATOM atom = RegisterClassExW(&windowClass);
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
    LRESULT hit = DefWindowProcW(dialog, WM_NCHITTEST, wParam, lParam);
    if (hit == HTCLIENT) hit = HTCAPTION;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, hit);
    return TRUE;
}
