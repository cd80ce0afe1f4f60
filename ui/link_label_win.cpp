#include "ui/link_label_win.h"

#include <string>

#include "ui/hand_cursor.h"
#include "ui/window_text_win.h"
#include "util/text.h"

namespace {

constexpr UINT_PTR kLeaveTimerId = 1;
constexpr COLORREF kRestColour = RGB(0, 0, 255);
constexpr COLORREF kHotColour = RGB(255, 0, 0);

WNDPROC OriginalProc(HWND control) {
    return reinterpret_cast<WNDPROC>(GetPropW(control, kLinkPropOriginalProc));
}

LRESULT PassOn(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(OriginalProc(control), control, message, wParam, lParam);
}

bool IsHot(HWND control) {
    return (reinterpret_cast<UINT_PTR>(GetPropW(control, kLinkPropControlState)) & 1) != 0;
}

void SetState(HWND control, UINT_PTR state) {
    SetPropW(control, kLinkPropControlState, reinterpret_cast<HANDLE>(state));
}

void InitNotifyHeader(NMHDR* header, HWND window, UINT code) {
    ZeroFill(header, sizeof *header);
    header->code = code;
    header->hwndFrom = window;
    header->idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window));
}

void Notify(HWND control, UINT code, WPARAM keyFlags = 0, LPARAM position = 0) {
    LinkNotify notify;
    ZeroFill(&notify, sizeof notify);
    InitNotifyHeader(&notify.header, control, code);
    notify.keyFlags = static_cast<DWORD>(keyFlags);
    notify.position = static_cast<DWORD>(position);
    SendMessageW(GetParent(control), WM_NOTIFY, notify.header.idFrom,
                 reinterpret_cast<LPARAM>(&notify));
}

// Runs at the system's shortest interval while the pointer is over the link,
// so it turns blue again even when the pointer leaves too fast for a mouse
// move to arrive outside.
void CALLBACK LinkLeaveTimerProc(HWND control, UINT, UINT_PTR timerId, DWORD) {
    if (IsCursorInClient(control)) return;
    KillTimer(control, timerId);
    Notify(control, LLN_LEAVE);
}

void Paint(HWND control) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control, &paint);
    if (dc != nullptr) {
        int saved = SaveDC(dc);
        RECT client{};
        GetClientRect(control, &client);
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        // Pressed while the pointer is over it.
        if (GetCapture() == control && IsHot(control)) {
            FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
        }
        std::wstring text;
        if (GetWindowTextCopy(control, &text)) {
            SetTextColor(dc, IsHot(control) ? kHotColour : kRestColour);
            auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
            if (font != nullptr) {
                SelectObject(dc, font);
                SetBkMode(dc, TRANSPARENT);
                TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
            }
        }
        RestoreDC(dc, saved);
    }
    EndPaint(control, &paint);
}

// The hover and leave notifications that the parent sends back.
LRESULT OnReflectedNotify(HWND control, WPARAM wParam, LPARAM lParam) {
    UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
    if (code == LLN_LEAVE) {
        SetState(control, 0);
    } else if (code == LLN_HOVER) {
        // The pointer may have left since the move that caused it.
        if (IsCursorInClient(control)) SetState(control, 1);
    } else {
        return PassOn(control, WM_NOTIFY, wParam, lParam);
    }
    InvalidateWhole(control, false);
    return 0;
}

// Puts the static control back as it was and frees what the link made.
LRESULT OnDestroy(HWND control, WPARAM wParam, LPARAM lParam) {
    WNDPROC original = OriginalProc(control);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    RemovePropW(control, kLinkPropOriginalProc);
    RemovePropW(control, kLinkPropControlState);
    if (auto font = static_cast<HFONT>(RemovePropW(control, kLinkPropFont))) DeleteObject(font);
    if (auto cursor = static_cast<HCURSOR>(RemovePropW(control, kLinkPropCursor))) {
        DestroyCursor(cursor);
    }
    return CallWindowProcW(original, control, WM_DESTROY, wParam, lParam);
}

}  // namespace

HCURSOR CreateHandCursor(HINSTANCE instance) {
    unsigned char masks[kHandCursorMaskBytes];
    FillHandCursorMasks(masks);
    return CreateCursor(instance, kHandCursorHotSpotX, kHandCursorHotSpotY, kHandCursorSize,
                        kHandCursorSize, masks, masks + kHandCursorPlaneBytes);
}

bool MakeLinkLabel(HWND control) {
    LOGFONTW logFont;
    HFONT font = nullptr;
    HCURSOR cursor = nullptr;
    if (GetWindowLogFont(control, &logFont)) {
        logFont.lfUnderline = 1;
        font = CreateFontIndirectW(&logFont);
    }
    if (font != nullptr) cursor = CreateHandCursor(GetModuleHandleW(nullptr));
    if (cursor == nullptr) {
        if (font != nullptr) DeleteObject(font);
        return false;
    }
    LONG_PTR original =
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LinkLabelProc));
    SetPropW(control, kLinkPropOriginalProc, reinterpret_cast<HANDLE>(original));
    SetState(control, 0);
    SetPropW(control, kLinkPropCursor, cursor);
    SetPropW(control, kLinkPropFont, font);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return true;
}

LRESULT CALLBACK LinkLabelProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            return OnDestroy(control, wParam, lParam);
        case WM_PAINT:
            Paint(control);
            return 0;
        case WM_SETCURSOR:
            if (auto cursor = static_cast<HCURSOR>(GetPropW(control, kLinkPropCursor))) {
                SetCursor(cursor);
            }
            return 1;
        case WM_NOTIFY:
            return OnReflectedNotify(control, wParam, lParam);
        case WM_NCHITTEST:
            // A plain static is transparent to the mouse: the link must
            // receive it over its whole client area.
            if (IsCursorInClient(control)) return HTCLIENT;
            break;
        case WM_MOUSEMOVE:
            if (IsCursorInClient(control)) {
                SetTimer(control, kLeaveTimerId, 0, LinkLeaveTimerProc);
                Notify(control, LLN_HOVER, wParam, lParam);
            }
            break;
        case WM_LBUTTONDOWN:
        // The static class asks for double-clicks: a second press soon after
        // the first arrives as this, and is a press all the same.
        case WM_LBUTTONDBLCLK:
            SetCapture(control);
            InvalidateWhole(control, false);
            break;
        case WM_LBUTTONUP:
            if (GetCapture() == control) {
                ReleaseCapture();
                if (IsCursorInClient(control)) Notify(control, LLN_CLICK);
            }
            break;
        default:
            break;
    }
    return PassOn(control, message, wParam, lParam);
}
