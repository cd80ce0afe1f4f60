// The arithmetic behind placing a window: plain numbers in screen pixels, so
// that it can be checked without a window system. The Win32 layer in
// geometry_win.h reads the real sizes and positions and calls this.
#pragma once

#include <cstdint>

struct ScreenPoint {
    std::int32_t x;
    std::int32_t y;
};

// Right and bottom are exclusive, as in a Win32 RECT.
struct ScreenRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// The outer top-left corner that puts a window of the given outer size with
// its centre on the cursor, then pulls it back inside the work area. Each
// axis is clamped far edge first, near edge second, so a window larger than
// the work area keeps its left and top edges visible and overflows to the
// right and bottom. The half size is truncated toward zero (101 gives 50).
ScreenPoint PlaceCentredOnCursor(ScreenPoint cursor, std::int32_t width, std::int32_t height,
                                 const ScreenRect& workArea);

// One axis of the above: where a span of the given length starts when it is
// centred on the position and kept between low and high (high exclusive).
std::int32_t CentreSpanWithin(std::int32_t position, std::int32_t length, std::int32_t low,
                              std::int32_t high);
