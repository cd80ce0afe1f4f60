// The progress as the user sees it in the tray: a busy window's icon drawn
// at a quarter and at three quarters of a run, read back from the screen
// where Wine shows its own tray window, and photographed into the demo
// folder at both fractions.
#include "ui/busy_window_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

#include "tests/win32/support/gui_support.h"

namespace {

constexpr char kWineTrayTitle[] = "Wine System Tray";
constexpr DWORD kGreen = 0x00A800;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

int CountGreen(HWND window) {
    int green = 0;
    for (DWORD pixel : ScreenPixels(window)) green += pixel == kGreen ? 1 : 0;
    return green;
}

// Waits until the tray shows the bar's filled cells: three rows of them.
int WaitForGreen(HWND tray, int cells) {
    int green = 0;
    for (int waited = 0; waited < 5000; waited += 50) {
        green = CountGreen(tray);
        if (green == 3 * cells) break;
        Sleep(50);
    }
    return green;
}

// The window in which Wine shows the tray's icons where the desktop has no
// tray of its own; it appears with the first icon.
HWND FindWineTray() {
    for (int waited = 0; waited < 5000; waited += 50) {
        HWND tray = FindWindowA(nullptr, kWineTrayTitle);
        if (tray != nullptr && IsWindowVisible(tray)) return tray;
        Sleep(50);
    }
    return nullptr;
}

TEST(TrayProgress, TheTrayShowsTheBarFillingUp) {
    ASSERT_NE(RegisterBusyWindowClass(Instance()), 0);
    const DWORD later = GetTickCount() + 10000;
    HWND busy = CreateBusyWindow(Instance(), kBusyTip);
    ASSERT_NE(busy, nullptr);
    HWND tray = FindWineTray();
    if (tray == nullptr) {
        DestroyBusyWindow(busy);
        GTEST_SKIP() << "no tray window of Wine's to look at (the desktop has a tray of its own)";
    }
    // Nothing of ours is green before the run shows its progress.
    EXPECT_EQ(WaitForGreen(tray, 0), 0);

    // A quarter: 3 of the 14 cells. Three quarters: 10.
    EXPECT_TRUE(UpdateBusyProgressAt(busy, 250, 1000, later));
    EXPECT_EQ(WaitForGreen(tray, 3), 9);
    SaveScreenshot(tray, "tray-progress-25");
    EXPECT_TRUE(UpdateBusyProgressAt(busy, 750, 1000, later + 250));
    EXPECT_EQ(WaitForGreen(tray, 10), 30);
    SaveScreenshot(tray, "tray-progress-75");
    auto* record = static_cast<NOTIFYICONDATAW*>(GetPropW(busy, kPropTrayIconData));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::wstring(record->szTip),
              L"TAVELINちゃんが文字コードを変換中ですわ (750 / 1,000)");
    DestroyBusyWindow(busy);
}

}  // namespace
