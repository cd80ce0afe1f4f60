#include "ui/window_text_win.h"

bool GetWindowTextCopy(HWND window, std::wstring* text) {
    text->clear();
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return length == 0;
    text->resize(static_cast<std::size_t>(length) + 1);
    int got = GetWindowTextW(window, &(*text)[0], length + 1);
    text->resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return true;
}

bool GetWindowLogFont(HWND window, LOGFONTW* font) {
    auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (handle == nullptr) return false;
    return GetObjectW(handle, sizeof *font, font) == sizeof *font;
}

bool GetWindowTextExtent(HWND window, SIZE* size) {
    size->cx = 0;
    size->cy = 0;
    std::wstring text;
    if (!GetWindowTextCopy(window, &text)) return false;
    HDC dc = GetDC(window);
    if (dc != nullptr) {
        int saved = SaveDC(dc);
        auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        if (font != nullptr) SelectObject(dc, font);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), size);
        RestoreDC(dc, saved);
        ReleaseDC(window, dc);
    }
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
