// Moving, sizing and placing real windows by deltas: the coordinate spaces of
// child, owned and top-level windows, deferred batches, the restored size of
// a maximised window, and showing without activating.
#include "ui/geometry_win.h"

#include <gtest/gtest.h>

#include "tests/win32/support/gui_support.h"

namespace {

HWND MakeWindow(DWORD style, int x, int y, int width, int height, HWND parent = nullptr,
                int id = 0) {
    return CreateWindowExA(0, "Static", "", style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

RECT ScreenRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// A visible top-level frame with two children, destroyed with the fixture.
class Frame : public ::testing::Test {
  protected:
    void SetUp() override {
        frame_ = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 120, 400, 300);
        ASSERT_NE(frame_, nullptr);
        first_ = MakeWindow(WS_CHILD | WS_VISIBLE, 10, 20, 50, 30, frame_, 11);
        second_ = MakeWindow(WS_CHILD | WS_VISIBLE, 70, 20, 50, 30, frame_, 12);
    }
    void TearDown() override { DestroyWindow(frame_); }
    HWND frame_ = nullptr, first_ = nullptr, second_ = nullptr;
};

TEST_F(Frame, ChildrenMoveInTheirParentsClientArea) {
    EXPECT_TRUE(MoveWindowBy(first_, 5, -3));
    RECT r = RectInParent(first_);
    EXPECT_EQ(r.left, 15);
    EXPECT_EQ(r.top, 17);
    EXPECT_EQ(r.right - r.left, 50);
    EXPECT_TRUE(MoveWindowBy(first_, 0, 0));
    RECT same = RectInParent(first_);
    EXPECT_TRUE(EqualRect(&r, &same));
    EXPECT_TRUE(ResizeWindowBy(first_, 7, -4));
    r = RectInParent(first_);
    EXPECT_EQ(r.left, 15);
    EXPECT_EQ(r.right - r.left, 57);
    EXPECT_EQ(r.bottom - r.top, 26);
}

TEST_F(Frame, TopLevelWindowsMoveOnTheScreen) {
    RECT before = ScreenRect(frame_);
    RECT childBefore = RectInParent(first_);
    EXPECT_TRUE(MoveWindowBy(frame_, 7, 9));
    RECT after = ScreenRect(frame_);
    EXPECT_EQ(after.left, before.left + 7);
    EXPECT_EQ(after.top, before.top + 9);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    RECT childAfter = RectInParent(first_);
    EXPECT_TRUE(EqualRect(&childBefore, &childAfter));
    EXPECT_TRUE(ResizeWindowBy(frame_, 0, 0));
    RECT same = ScreenRect(frame_);
    EXPECT_TRUE(EqualRect(&after, &same));
}

TEST_F(Frame, OwnedPopupsMoveOnTheScreenNotInTheOwner) {
    // GetParent of an owned pop-up is its owner, but it is not a child.
    HWND popup = MakeWindow(WS_POPUP | WS_VISIBLE, 50, 60, 80, 40, frame_);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetParent(popup), frame_);
    EXPECT_TRUE(MoveWindowBy(popup, 10, 10));
    RECT r = ScreenRect(popup);
    EXPECT_EQ(r.left, 60);
    EXPECT_EQ(r.top, 70);
    DestroyWindow(popup);
}

TEST_F(Frame, DeferredBatchMovesAndSizesItemsTogether) {
    HDWP batch = BeginDeferWindowPos(2);
    ASSERT_NE(batch, nullptr);
    EXPECT_EQ(DeferMoveResizeItemBy(&batch, frame_, 11, 1, 2, 3, 4), batch);
    DeferMoveResizeItemBy(&batch, frame_, 12, -10, 30, 0, -10);
    ASSERT_NE(batch, nullptr);
    // Nothing moves before the batch ends.
    EXPECT_EQ(RectInParent(first_).left, 10);
    EXPECT_TRUE(EndDeferWindowPos(batch));
    RECT a = RectInParent(first_), b = RectInParent(second_);
    EXPECT_EQ(a.left, 11);
    EXPECT_EQ(a.top, 22);
    EXPECT_EQ(a.right - a.left, 53);
    EXPECT_EQ(a.bottom - a.top, 34);
    EXPECT_EQ(b.left, 60);
    EXPECT_EQ(b.top, 50);
    EXPECT_EQ(b.bottom - b.top, 20);
}

TEST_F(Frame, NormalSizeOfAMaximisedWindowIsTheRestoredOne) {
    LONG width = GetWindowWidth(frame_);
    LONG height = GetWindowHeight(frame_);
    ShowWindow(frame_, SW_MAXIMIZE);
    EXPECT_NE(GetWindowWidth(frame_), width);
    EXPECT_EQ(GetNormalWindowWidth(frame_), width);
    EXPECT_EQ(GetNormalWindowHeight(frame_), height);
    ShowWindow(frame_, SW_RESTORE);
    EXPECT_EQ(GetWindowWidth(frame_), width);
}

TEST_F(Frame, ScreenPointsBecomeOffsetsFromTheOuterCorner) {
    RECT r = ScreenRect(frame_);
    POINT p{r.left + 3, r.top + 4};
    EXPECT_TRUE(ScreenToWindowPoint(frame_, &p));
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 4);
    POINT origin;
    EXPECT_TRUE(GetWindowOrigin(first_, &origin));
    POINT client{10, 20};
    ClientToScreen(frame_, &client);
    EXPECT_EQ(origin.x, client.x);
    EXPECT_EQ(origin.y, client.y);
}

TEST_F(Frame, ShowingPassivelyNeverActivates) {
    HWND hidden = MakeWindow(WS_POPUP, 600, 600, 50, 50, frame_);
    ASSERT_NE(hidden, nullptr);
    SetActiveWindow(frame_);
    ASSERT_EQ(GetActiveWindow(), frame_);
    EXPECT_FALSE(ShowWindowPassive(hidden, true));
    EXPECT_TRUE(IsWindowVisible(hidden));
    EXPECT_EQ(GetActiveWindow(), frame_);
    EXPECT_TRUE(ShowWindowPassive(hidden, true));
    EXPECT_TRUE(ShowWindowPassive(hidden, false));
    EXPECT_FALSE(IsWindowVisible(hidden));
    DestroyWindow(hidden);
}

TEST(PlaceWindowAtCursor, CentresOnTheCursorInsideTheWorkArea) {
    RECT work;
    ASSERT_TRUE(GetWorkArea(&work));
    ASSERT_GT(RectWidth(&work), 400);
    HWND window = MakeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 201, 151);
    ASSERT_NE(window, nullptr);
    struct Case {
        POINT cursor;
        LONG left, top;
    };
    const LONG cx = work.left + RectWidth(&work) / 2, cy = work.top + RectHeight(&work) / 2;
    for (Case c :
         {Case{{cx, cy}, cx - 100, cy - 75}, Case{{work.left, work.top}, work.left, work.top},
          Case{{work.right - 1, work.bottom - 1}, work.right - 201, work.bottom - 151}}) {
        ASSERT_TRUE(MoveCursorTo(c.cursor.x, c.cursor.y));
        EXPECT_TRUE(PlaceWindowAtCursor(window));
        RECT r = ScreenRect(window);
        EXPECT_EQ(r.left, c.left) << c.cursor.x << "," << c.cursor.y;
        EXPECT_EQ(r.top, c.top) << c.cursor.x << "," << c.cursor.y;
    }
    DestroyWindow(window);
}

}  // namespace
