#include "ui/geometry_win.h"

#include "ui/geometry.h"
#include "util/text.h"

bool SetPoint(POINT* point, LONG x, LONG y) {
    point->x = x;
    point->y = y;
    return true;
}

bool OffsetPoint(POINT* point, LONG dx, LONG dy) {
    point->x += dx;
    point->y += dy;
    return true;
}

LONG RectWidth(const RECT* rect) { return rect->right - rect->left; }

LONG RectHeight(const RECT* rect) { return rect->bottom - rect->top; }

bool RectSize(const RECT* rect, SIZE* size) {
    size->cx = RectWidth(rect);
    size->cy = RectHeight(rect);
    return true;
}

bool GetWindowOrigin(HWND window, POINT* origin) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return SetPoint(origin, rect.left, rect.top);
}

bool GetWindowSize(HWND window, SIZE* size) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return RectSize(&rect, size);
}

LONG GetWindowWidth(HWND window) {
    SIZE size;
    GetWindowSize(window, &size);
    return size.cx;
}

LONG GetWindowHeight(HWND window) {
    SIZE size;
    GetWindowSize(window, &size);
    return size.cy;
}

bool GetNormalWindowRect(HWND window, RECT* rect) {
    WINDOWPLACEMENT placement;
    ZeroFill(&placement, sizeof placement);
    placement.length = sizeof placement;
    BOOL found = GetWindowPlacement(window, &placement);
    CopyRect(rect, &placement.rcNormalPosition);
    return found != FALSE;
}

LONG GetNormalWindowWidth(HWND window) {
    RECT rect;
    GetNormalWindowRect(window, &rect);
    return RectWidth(&rect);
}

LONG GetNormalWindowHeight(HWND window) {
    RECT rect;
    GetNormalWindowRect(window, &rect);
    return RectHeight(&rect);
}

bool GetWorkArea(RECT* rect) { return SystemParametersInfoW(SPI_GETWORKAREA, 0, rect, 0) != FALSE; }

bool ScreenToWindowPoint(HWND window, POINT* point) {
    POINT origin;
    GetWindowOrigin(window, &origin);
    return OffsetPoint(point, -origin.x, -origin.y);
}

// Child windows are positioned in their parent's client coordinates; top-level
// and owned pop-up windows (whose GetParent is their owner) in screen ones.
static void ScreenToPositioningSpace(HWND window, POINT* point) {
    HWND parent = GetParent(window);
    if (parent != nullptr && IsChild(parent, window)) ScreenToClient(parent, point);
}

// The outer top-left corner in the coordinates SetWindowPos expects.
static POINT PositioningOrigin(HWND window) {
    POINT corner;
    GetWindowOrigin(window, &corner);
    ScreenToPositioningSpace(window, &corner);
    return corner;
}

bool MoveWindowTo(HWND window, int x, int y) {
    return SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER) != FALSE;
}

bool ResizeWindowTo(HWND window, int width, int height) {
    return SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER) != FALSE;
}

bool MoveWindowBy(HWND window, int dx, int dy) {
    POINT corner = PositioningOrigin(window);
    return MoveWindowTo(window, corner.x + dx, corner.y + dy);
}

bool ResizeWindowBy(HWND window, int dw, int dh) {
    SIZE size;
    GetWindowSize(window, &size);
    return ResizeWindowTo(window, size.cx + dw, size.cy + dh);
}

HDWP DeferMoveResizeBy(HDWP* batch, HWND window, int dx, int dy, int dw, int dh) {
    POINT corner = PositioningOrigin(window);
    SIZE size;
    GetWindowSize(window, &size);
    *batch = DeferWindowPos(*batch, window, nullptr, corner.x + dx, corner.y + dy, size.cx + dw,
                            size.cy + dh, SWP_NOZORDER | SWP_NOACTIVATE);
    return *batch;
}

HDWP DeferMoveResizeItemBy(HDWP* batch, HWND dialog, int itemId, int dx, int dy, int dw, int dh) {
    return DeferMoveResizeBy(batch, GetDlgItem(dialog, itemId), dx, dy, dw, dh);
}

bool PlaceWindowAtCursor(HWND window) {
    SIZE size;
    GetWindowSize(window, &size);
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT work;
    if (!GetWorkArea(&work)) {
        // Without a work area the primary screen is the best bound there is.
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    ScreenPoint placed = PlaceCentredOnCursor({cursor.x, cursor.y}, size.cx, size.cy,
                                              {work.left, work.top, work.right, work.bottom});
    POINT corner{placed.x, placed.y};
    ScreenToPositioningSpace(window, &corner);
    return MoveWindowTo(window, corner.x, corner.y);
}

HICON SetWindowIcon(HWND window, WPARAM which, HICON icon) {
    return reinterpret_cast<HICON>(
        SendMessageW(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon)));
}

LONG SetWindowStyle(HWND window, LONG style) { return SetWindowLongW(window, GWL_STYLE, style); }

bool ShowWindowPassive(HWND window, bool show) {
    return ShowWindow(window, show ? SW_SHOWNA : SW_HIDE) != FALSE;
}
