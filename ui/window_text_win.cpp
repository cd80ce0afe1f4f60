#include "ui/window_text_win.h"

#include <cstdlib>

char* GetWindowTextCopy(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length < 0) return nullptr;
    auto* text = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1));
    if (text == nullptr) return nullptr;
    text[0] = '\0';
    if (GetWindowTextA(window, text, length + 1) < 0) {
        std::free(text);
        return nullptr;
    }
    return text;
}

bool GetWindowLogFont(HWND window, LOGFONTA* font) {
    auto handle = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (handle == nullptr) return false;
    return GetObjectA(handle, sizeof *font, font) == sizeof *font;
}

bool GetWindowTextExtent(HWND window, SIZE* size) {
    size->cx = 0;
    size->cy = 0;
    char* text = GetWindowTextCopy(window);
    if (text == nullptr) return false;
    HDC dc = GetDC(window);
    if (dc != nullptr) {
        int saved = SaveDC(dc);
        auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
        if (font != nullptr) SelectObject(dc, font);
        GetTextExtentPoint32A(dc, text, lstrlenA(text), size);
        RestoreDC(dc, saved);
        ReleaseDC(window, dc);
    }
    std::free(text);
    return dc != nullptr;
}

bool IsCursorInClient(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    return PtInRect(&client, cursor) != FALSE;
}

bool InvalidateWhole(HWND window, bool erase) {
    return InvalidateRect(window, nullptr, erase ? TRUE : FALSE) != FALSE;
}
