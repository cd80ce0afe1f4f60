// Reading, moving and sizing windows by deltas, laying out dialog items in one
// deferred batch, placing a dialog at the mouse cursor, and small helpers every
// dialog uses. Coordinates: window origins are read in screen coordinates and
// turned into parent-client coordinates only for child windows.
#pragma once

#include <windows.h>

// Points and rectangles.
bool SetPoint(POINT* point, LONG x, LONG y);
bool OffsetPoint(POINT* point, LONG dx, LONG dy);
LONG RectWidth(const RECT* rect);
LONG RectHeight(const RECT* rect);
bool RectSize(const RECT* rect, SIZE* size);

// Reading window geometry. "Outer" is the window rectangle, frame included.
bool GetWindowOrigin(HWND window, POINT* origin);
bool GetWindowSize(HWND window, SIZE* size);
LONG GetWindowWidth(HWND window);
LONG GetWindowHeight(HWND window);
// The restored rectangle, which stays put while the window is maximised or
// minimised. The rectangle is filled even when the query fails.
bool GetNormalWindowRect(HWND window, RECT* rect);
LONG GetNormalWindowWidth(HWND window);
LONG GetNormalWindowHeight(HWND window);
bool GetWorkArea(RECT* rect);
// A screen point as an offset from the window's outer top-left corner.
bool ScreenToWindowPoint(HWND window, POINT* point);

// Changing window geometry, without changing the Z order.
bool MoveWindowTo(HWND window, int x, int y);
bool ResizeWindowTo(HWND window, int width, int height);
bool MoveWindowBy(HWND window, int dx, int dy);
bool ResizeWindowBy(HWND window, int dw, int dh);
// Adds one window to a batch opened with BeginDeferWindowPos. The batch
// variable receives the handle DeferWindowPos returns, null included; the
// caller hands it to EndDeferWindowPos in any case.
HDWP DeferMoveResizeBy(HDWP* batch, HWND window, int dx, int dy, int dw, int dh);
HDWP DeferMoveResizeItemBy(HDWP* batch, HWND dialog, int itemId, int dx, int dy, int dw, int dh);
// Centres the window on the mouse cursor, kept inside the work area.
bool PlaceWindowAtCursor(HWND window);

// which: ICON_BIG or ICON_SMALL. Returns the previous icon.
HICON SetWindowIcon(HWND window, WPARAM which, HICON icon);
// Returns the previous style.
LONG SetWindowStyle(HWND window, LONG style);
// Shows without activating, or hides. True when the window was visible before.
bool ShowWindowPassive(HWND window, bool show);
