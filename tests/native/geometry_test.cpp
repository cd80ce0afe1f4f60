// Placing a window centred on the cursor inside the work area.
#include "ui/geometry.h"

#include <gtest/gtest.h>

namespace {

// A work area that does not start at the origin, as with a task bar at the
// left or top, so that left/top and right/bottom cannot be confused.
constexpr ScreenRect kWork{40, 30, 1280, 994};

TEST(PlaceCentredOnCursor, CentresOnTheCursorWhenThereIsRoom) {
    ScreenPoint p = PlaceCentredOnCursor({600, 500}, 200, 100, kWork);
    EXPECT_EQ(p.x, 500);
    EXPECT_EQ(p.y, 450);
}

TEST(PlaceCentredOnCursor, OddSizesTruncateTowardZero) {
    // 101 / -2 is -50, not -51: the left edge is 50 pixels left of the cursor.
    ScreenPoint p = PlaceCentredOnCursor({600, 500}, 101, 77, kWork);
    EXPECT_EQ(p.x, 550);
    EXPECT_EQ(p.y, 462);
}

TEST(PlaceCentredOnCursor, FarEdgesAreExclusive) {
    // Near the right and bottom edges: x + w equals right, y + h equals bottom.
    ScreenPoint p = PlaceCentredOnCursor({1270, 990}, 300, 200, kWork);
    EXPECT_EQ(p.x + 300, kWork.right);
    EXPECT_EQ(p.y + 200, kWork.bottom);
    // A window that just fits at the cursor is left where it is.
    p = PlaceCentredOnCursor({1130, 894}, 300, 200, kWork);
    EXPECT_EQ(p.x, 980);
    EXPECT_EQ(p.y, 794);
}

TEST(PlaceCentredOnCursor, NearEdgesPullBackIn) {
    ScreenPoint p = PlaceCentredOnCursor({0, 0}, 300, 200, kWork);
    EXPECT_EQ(p.x, kWork.left);
    EXPECT_EQ(p.y, kWork.top);
    // A cursor outside the work area (over the task bar) still lands inside.
    p = PlaceCentredOnCursor({-500, 2000}, 300, 200, kWork);
    EXPECT_EQ(p.x, kWork.left);
    EXPECT_EQ(p.y + 200, kWork.bottom);
}

TEST(PlaceCentredOnCursor, WindowAsLargeAsTheWorkAreaFillsIt) {
    const std::int32_t w = kWork.right - kWork.left;
    const std::int32_t h = kWork.bottom - kWork.top;
    for (ScreenPoint cursor : {ScreenPoint{0, 0}, ScreenPoint{640, 512}, ScreenPoint{1279, 993},
                               ScreenPoint{-10, 5000}}) {
        ScreenPoint p = PlaceCentredOnCursor(cursor, w, h, kWork);
        EXPECT_EQ(p.x, kWork.left) << cursor.x << "," << cursor.y;
        EXPECT_EQ(p.y, kWork.top) << cursor.x << "," << cursor.y;
    }
}

TEST(PlaceCentredOnCursor, LargerThanTheWorkAreaKeepsLeftAndTopVisible) {
    // The far edge is tested first, the near edge last: the near edge wins.
    for (ScreenPoint cursor : {ScreenPoint{0, 0}, ScreenPoint{640, 512}, ScreenPoint{1279, 993}}) {
        ScreenPoint p = PlaceCentredOnCursor(cursor, 2000, 1500, kWork);
        EXPECT_EQ(p.x, kWork.left);
        EXPECT_EQ(p.y, kWork.top);
    }
    // Only one axis too large: the other is still centred.
    ScreenPoint p = PlaceCentredOnCursor({600, 500}, 2000, 100, kWork);
    EXPECT_EQ(p.x, kWork.left);
    EXPECT_EQ(p.y, 450);
}

TEST(CentreSpanWithin, ExtremeValuesDoNotWrap) {
    EXPECT_EQ(CentreSpanWithin(INT32_MAX, 1000, 0, INT32_MAX), INT32_MAX - 1000);
    EXPECT_EQ(CentreSpanWithin(INT32_MIN, 1000, INT32_MIN, 0), INT32_MIN);
    EXPECT_EQ(CentreSpanWithin(0, INT32_MAX, 0, 100), 0);
}

}  // namespace
