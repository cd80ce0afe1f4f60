#include "ui/geometry.h"

std::int32_t CentreSpanWithin(std::int32_t position, std::int32_t length, std::int32_t low,
                              std::int32_t high) {
    // Sums in 64 bits: a window size near the limits must not wrap around.
    std::int64_t start = static_cast<std::int64_t>(position) + length / -2;
    if (start + length > high) start = static_cast<std::int64_t>(high) - length;
    if (start < low) start = low;
    return static_cast<std::int32_t>(start);
}

ScreenPoint PlaceCentredOnCursor(ScreenPoint cursor, std::int32_t width, std::int32_t height,
                                 const ScreenRect& workArea) {
    return {CentreSpanWithin(cursor.x, width, workArea.left, workArea.right),
            CentreSpanWithin(cursor.y, height, workArea.top, workArea.bottom)};
}
