#include "ui/progress_icon_win.h"

#include "ui/progress.h"

namespace {

constexpr COLORREF kFrameColour = RGB(0, 0, 0);
constexpr COLORREF kDoneColour = RGB(0, 168, 0);
constexpr COLORREF kToDoColour = RGB(255, 255, 255);

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    if (right <= left || bottom <= top) return;
    const RECT area{left, top, right, bottom};
    // The stock brush of the DC's colour: no brush to create and delete.
    SetDCBrushColor(dc, colour);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// The icon's width and the height of one of its images. False for a
// monochrome icon, whose masks share one bitmap and which has no colours to
// draw in.
bool ColourIconSize(const ICONINFO& info, SIZE* size) {
    BITMAP mask{};
    if (info.hbmColor == nullptr || GetObjectW(info.hbmMask, sizeof mask, &mask) == 0) {
        return false;
    }
    *size = SIZE{mask.bmWidth, mask.bmHeight};
    return size->cx > 2 && size->cy > kProgressBarHeight;
}

void DeleteIconBitmaps(ICONINFO* info) {
    if (info->hbmColor != nullptr) DeleteObject(info->hbmColor);
    if (info->hbmMask != nullptr) DeleteObject(info->hbmMask);
}

}  // namespace

std::int32_t ProgressBarCells(HICON plain) {
    ICONINFO info{};
    if (plain == nullptr || !GetIconInfo(plain, &info)) return 0;
    SIZE size{};
    const bool drawable = ColourIconSize(info, &size);
    DeleteIconBitmaps(&info);
    return drawable ? size.cx - 2 : 0;
}

HICON MakeProgressIcon(HICON plain, std::int32_t filled) {
    // GetIconInfo hands out copies of the icon's bitmaps: they are drawn on
    // and made into the new icon, which takes copies of its own again.
    ICONINFO info{};
    if (plain == nullptr || !GetIconInfo(plain, &info)) return nullptr;
    HICON icon = nullptr;
    SIZE size{};
    HDC dc = ColourIconSize(info, &size) ? CreateCompatibleDC(nullptr) : nullptr;
    if (dc != nullptr) {
        const int cells = size.cx - 2;
        if (filled < 0) filled = 0;
        if (filled > cells) filled = cells;
        const int top = size.cy - kProgressBarHeight;
        HGDIOBJ previous = SelectObject(dc, info.hbmColor);
        Fill(dc, 0, top, size.cx, size.cy, kFrameColour);
        Fill(dc, 1, top + 1, 1 + filled, size.cy - 1, kDoneColour);
        Fill(dc, 1 + filled, top + 1, size.cx - 1, size.cy - 1, kToDoColour);
        // Clear bits in the mask make the bar opaque over whatever lies
        // under the tray. (The program's icons have no alpha channel, which
        // would need its bytes set too.)
        SelectObject(dc, info.hbmMask);
        Fill(dc, 0, top, size.cx, size.cy, RGB(0, 0, 0));
        SelectObject(dc, previous);
        DeleteDC(dc);
        ICONINFO made{TRUE, 0, 0, info.hbmMask, info.hbmColor};
        icon = CreateIconIndirect(&made);
    }
    DeleteIconBitmaps(&info);
    return icon;
}
