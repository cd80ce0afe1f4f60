// The hidden busy window, its tray-icon record, and the drain of the queue
// when it goes; the progress it shows in the tray during a long run; the
// program's icons and window class.
#include "ui/busy_window_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/app_window_win.h"
#include "util/path_win.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

NOTIFYICONDATAW* TrayRecord(HWND window) {
    return static_cast<NOTIFYICONDATAW*>(GetPropW(window, kPropTrayIconData));
}

// The tip in code page 932, as the tests' texts are written.
std::string Tip(HWND window) { return Cp932(PathFromWide(TrayRecord(window)->szTip)); }

SIZE IconSize(HICON icon) {
    ICONINFO info{};
    SIZE size{0, 0};
    if (!GetIconInfo(icon, &info)) return size;
    BITMAP bitmap{};
    GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    size.cx = bitmap.bmWidth;
    // A monochrome icon keeps its AND and XOR masks stacked in one bitmap.
    size.cy = info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

// The class is registered once for the whole test program, as the run does.
class BusyWindow : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { atom_ = RegisterBusyWindowClass(Instance()); }
    static ATOM atom_;
};
ATOM BusyWindow::atom_ = 0;

TEST_F(BusyWindow, ClassHasTheProgramIconsAndNoCursorOrMenu) {
    ASSERT_NE(atom_, 0);
    WNDCLASSEXA found{};
    found.cbSize = sizeof found;
    ASSERT_TRUE(GetClassInfoExA(Instance(), "TAVELIN", &found));
    EXPECT_STREQ(Cp932(PathFromWide(kBusyWindowClass)).c_str(), "TAVELIN");
    EXPECT_EQ(found.style, 0u);
    EXPECT_EQ(found.cbClsExtra, 0);
    EXPECT_EQ(found.cbWndExtra, 0);
    EXPECT_EQ(found.hCursor, nullptr);
    EXPECT_EQ(found.hbrBackground, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    ASSERT_NE(found.lpszMenuName, nullptr);
    EXPECT_STREQ(found.lpszMenuName, "");
    EXPECT_NE(found.hIcon, nullptr);
    EXPECT_NE(found.hIconSm, nullptr);
    // Registered for the life of the process: a second registration is refused.
    EXPECT_EQ(RegisterBusyWindowClass(Instance()), 0);
}

TEST_F(BusyWindow, IsAHiddenPopupOwningTheTrayRecord) {
    HWND window = CreateBusyWindow(Instance(), kBusyTip);
    ASSERT_NE(window, nullptr);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, "TAVELIN");
    GetWindowTextA(window, name, sizeof name);
    EXPECT_STREQ(name, "TAVELIN");
    LONG style = GetWindowLongA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_MINIMIZE), static_cast<LONG>(WS_POPUP | WS_MINIMIZE));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetParent(window), nullptr);

    NOTIFYICONDATAW* record = TrayRecord(window);
    ASSERT_NE(record, nullptr);
    // The first version of the record: 152 bytes in the 32-bit program.
#ifndef _WIN64
    static_assert(NOTIFYICONDATAW_V1_SIZE == 152, "tray record of the first version");
#endif
    EXPECT_EQ(record->cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
    EXPECT_EQ(record->hWnd, window);
    EXPECT_EQ(record->uID, 1u);
    EXPECT_EQ(record->uFlags, 7u);
    EXPECT_EQ(record->uCallbackMessage, 0x8000u);
    EXPECT_EQ(Tip(window), "TAVELINちゃんが文字コードを変換中ですわ");
    ASSERT_NE(record->hIcon, nullptr);
    SIZE size = IconSize(record->hIcon);
    EXPECT_EQ(size.cx, 16);
    EXPECT_EQ(size.cy, 16);

    EXPECT_TRUE(DestroyBusyWindow(window));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(BusyWindow, LongTipsAreCutWithoutSplittingACharacter) {
    struct Case {
        Path tip;
        Path shown;
    };
    const Path a62(62, u'a');
    const Case cases[] = {
        {Path(100, u'a'), Path(63, u'a')},
        // 63 code units fit: a kanji is one of them.
        {a62 + u"表xyz", a62 + u"表"},
        // An emoji is two: the pair would be split, so neither half is shown.
        {a62 + u"😀xyz", a62},
        {Path(61, u'a') + u"😀xyz", Path(61, u'a') + u"😀"},
    };
    for (const Case& c : cases) {
        HWND window = CreateBusyWindow(Instance(), WidePath(c.tip));
        ASSERT_NE(window, nullptr);
        ASSERT_NE(TrayRecord(window), nullptr);
        EXPECT_TRUE(PathFromWide(TrayRecord(window)->szTip) == c.shown) << Cp932(c.tip);
        DestroyBusyWindow(window);
    }
}

// Counts the messages the drain dispatches, and whether the busy window
// still held its property when it was being destroyed.
int g_dispatched = 0;
bool g_propertyAtDestroy = true;
WNDPROC g_busyProcedure = nullptr;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP + 1) g_dispatched++;
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK WatchDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) g_propertyAtDestroy = GetPropW(window, kPropTrayIconData) != nullptr;
    return CallWindowProcA(g_busyProcedure, window, message, wParam, lParam);
}

TEST_F(BusyWindow, DestroyRemovesThePropertyFirstAndDrainsTheQueue) {
    WNDCLASSA counterClass{};
    counterClass.lpfnWndProc = CountingProcedure;
    counterClass.hInstance = Instance();
    counterClass.lpszClassName = "TavelinTestCounter";
    RegisterClassA(&counterClass);
    HWND counter = CreateWindowExA(0, "TavelinTestCounter", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                   nullptr, Instance(), nullptr);
    ASSERT_NE(counter, nullptr);

    HWND window = CreateBusyWindow(Instance(), kBusyTip);
    ASSERT_NE(window, nullptr);
    g_busyProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchDestroy)));
    // What arrives while the work runs without a message loop: messages for
    // other windows of the thread and tray notifications for the busy window.
    g_dispatched = 0;
    for (int i = 0; i < 3; i++) PostMessageA(counter, WM_APP + 1, 0, 0);
    PostMessageA(window, WM_APP, 1, WM_LBUTTONDOWN);

    EXPECT_TRUE(DestroyBusyWindow(window));
    EXPECT_FALSE(g_propertyAtDestroy);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(g_dispatched, 3);
    // Nothing is left, the quit message included.
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) << left.message;
    DestroyWindow(counter);
}

TEST_F(BusyWindow, NullWindowStillDrains) {
    PostThreadMessageA(GetCurrentThreadId(), WM_APP + 7, 0, 0);
    EXPECT_TRUE(DestroyBusyWindow(nullptr));
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, 0, 0, PM_REMOVE)) << left.message;
}

TEST_F(BusyWindow, ASecondWindowAfterTheFirstWorksWithoutRegistering) {
    HWND first = CreateBusyWindow(Instance(), kBusyTip);
    ASSERT_NE(first, nullptr);
    DestroyBusyWindow(first);
    HWND second = CreateBusyWindow(GetModuleHandleA(nullptr), kBusyTip);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(TrayRecord(second), nullptr);
    EXPECT_STREQ(TrayRecord(second)->szTip, kBusyTip);
    EXPECT_NE(TrayRecord(second)->hIcon, nullptr);
    EXPECT_TRUE(DestroyBusyWindow(second));
}

// Destroying a busy window from inside a modal loop (as the undetermined-files
// dialog does) must not end that loop: the quit message stays in the drain.
constexpr char kModalTitle[] = "TAVELIN busy-window modal test";
bool g_stillModalAfterDrain = false;

void CALLBACK CloseModal(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = FindWindowA("#32770", kModalTitle);
    g_stillModalAfterDrain = box != nullptr;
    if (box != nullptr) PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void CALLBACK DrainInsideModal(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    DestroyBusyWindow(CreateBusyWindow(GetModuleHandleA(nullptr), kBusyTip));
    SetTimer(nullptr, 0, 200, CloseModal);
}

TEST_F(BusyWindow, DrainInsideAModalLoopLeavesTheLoopRunning) {
    g_stillModalAfterDrain = false;
    SetTimer(nullptr, 0, 200, DrainInsideModal);
    MessageBoxA(nullptr, "busy window inside a modal loop", kModalTitle, MB_OK);
    EXPECT_TRUE(g_stillModalAfterDrain);
    MSG left;
    EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// An icon's pixels as 0xRRGGBB, row by row from the top, and which of them
// cover what lies below.
struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> colour;
    std::vector<DWORD> mask;  // 0: opaque
    DWORD At(int x, int y) const { return colour[y * width + x]; }
    bool Opaque(int x, int y) const { return (mask[y * width + x] & 0xFFFFFF) == 0; }
};

IconPixels ReadIcon(HICON icon) {
    IconPixels read;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return read;
    BITMAP bitmap{};
    GetObjectA(info.hbmMask, sizeof bitmap, &bitmap);
    read.width = bitmap.bmWidth;
    read.height = bitmap.bmHeight;
    if (info.hbmColor != nullptr) {
        read.colour = BitmapPixels(info.hbmColor, read.width, read.height);
        read.mask = BitmapPixels(info.hbmMask, read.width, read.height);
        DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
    return read;
}

constexpr DWORD kBlack = 0x000000;
constexpr DWORD kGreen = 0x00A800;
constexpr DWORD kWhite = 0xFFFFFF;

// The picture is the plain icon but for its five bottom rows: a black frame
// with filled cells green and the rest white, all of it opaque.
void ExpectBar(const IconPixels& plain, HICON icon, int filled) {
    IconPixels drawn = ReadIcon(icon);
    ASSERT_EQ(drawn.width, 16);
    ASSERT_EQ(drawn.height, 16);
    ASSERT_FALSE(drawn.colour.empty());
    for (int y = 0; y < 11; y++) {
        for (int x = 0; x < 16; x++) {
            ASSERT_EQ(drawn.At(x, y), plain.At(x, y)) << x << "," << y;
            ASSERT_EQ(drawn.Opaque(x, y), plain.Opaque(x, y)) << x << "," << y;
        }
    }
    for (int y = 11; y < 16; y++) {
        for (int x = 0; x < 16; x++) {
            const bool frame = y == 11 || y == 15 || x == 0 || x == 15;
            const DWORD expected = frame ? kBlack : x <= filled ? kGreen : kWhite;
            EXPECT_EQ(drawn.At(x, y), expected) << std::hex << drawn.At(x, y) << " at " << std::dec
                                                << x << "," << y << ", " << filled << " filled";
            EXPECT_TRUE(drawn.Opaque(x, y)) << x << "," << y;
        }
    }
}

TEST_F(BusyWindow, AShortRunShowsNothingThenTheCountAndTheBarAppear) {
    // The window counts its half second from its creation, after this.
    const DWORD before = GetTickCount();
    HWND window = CreateBusyWindow(Instance(), kBusyTip);
    ASSERT_NE(TrayRecord(window), nullptr);
    HICON plain = TrayRecord(window)->hIcon;
    const IconPixels plainPixels = ReadIcon(plain);
    ASSERT_FALSE(plainPixels.colour.empty());

    for (int done = 0; done <= 3; done++) {
        EXPECT_FALSE(UpdateBusyProgressAt(window, done, 3, before + 100 * done));
    }
    EXPECT_EQ(Tip(window), Cp932(PathFromWide(kBusyTip)));
    EXPECT_EQ(TrayRecord(window)->hIcon, plain);

    // Long after: a third done fills 4 of the 14 cells.
    const DWORD later = before + 10000;
    EXPECT_TRUE(UpdateBusyProgressAt(window, 1, 3, later));
    EXPECT_EQ(Tip(window), "TAVELINちゃんが文字コードを変換中ですわ (1 / 3)");
    EXPECT_NE(TrayRecord(window)->hIcon, plain);
    ExpectBar(plainPixels, TrayRecord(window)->hIcon, 4);
    // Too soon for the next count; the last one shows at once.
    EXPECT_FALSE(UpdateBusyProgressAt(window, 2, 3, later + 100));
    EXPECT_EQ(Tip(window), "TAVELINちゃんが文字コードを変換中ですわ (1 / 3)");
    EXPECT_TRUE(UpdateBusyProgressAt(window, 3, 3, later + 101));
    EXPECT_EQ(Tip(window), "TAVELINちゃんが文字コードを変換中ですわ (3 / 3)");
    ExpectBar(plainPixels, TrayRecord(window)->hIcon, 14);
    EXPECT_TRUE(DestroyBusyWindow(window));
}

TEST_F(BusyWindow, TheTipCountsUpToTheTotalAFewTimesASecond) {
    const DWORD start = GetTickCount() + 10000;
    HWND window = CreateBusyWindow(Instance(), kBusyTip);
    ASSERT_NE(TrayRecord(window), nullptr);
    const IconPixels plainPixels = ReadIcon(TrayRecord(window)->hIcon);
    // Gathering first: the tip tells how many were found, the icon stays.
    HICON plain = TrayRecord(window)->hIcon;
    EXPECT_TRUE(UpdateBusyGatheringAt(window, 2345, start));
    EXPECT_EQ(Tip(window), "TAVELINちゃんが文字コードを変換中ですわ (検索中 2,345 件)");
    EXPECT_EQ(TrayRecord(window)->hIcon, plain);
    EXPECT_FALSE(UpdateBusyGatheringAt(window, 3000, start + 249));

    // 3,000 files at 2 ms each: six seconds, four redraws a second.
    std::vector<std::string> tips;
    std::vector<int> filled;
    for (int done = 1; done <= 3000; done++) {
        if (!UpdateBusyProgressAt(window, done, 3000, start + 250 + 2 * done)) continue;
        tips.push_back(Tip(window));
        IconPixels drawn = ReadIcon(TrayRecord(window)->hIcon);
        int cells = 0;
        for (int x = 1; x < 15; x++) cells += drawn.At(x, 13) == kGreen ? 1 : 0;
        filled.push_back(cells);
    }
    EXPECT_GE(tips.size(), 24u);
    EXPECT_LE(tips.size(), 26u);
    ASSERT_FALSE(tips.empty());
    EXPECT_EQ(tips.front(), "TAVELINちゃんが文字コードを変換中ですわ (1 / 3,000)");
    EXPECT_EQ(tips[1], "TAVELINちゃんが文字コードを変換中ですわ (126 / 3,000)");
    EXPECT_EQ(tips.back(), "TAVELINちゃんが文字コードを変換中ですわ (3,000 / 3,000)");
    for (std::size_t i = 1; i < filled.size(); i++) EXPECT_GE(filled[i], filled[i - 1]) << i;
    EXPECT_EQ(filled.front(), 0);
    EXPECT_EQ(filled.back(), 14);
    ExpectBar(plainPixels, TrayRecord(window)->hIcon, 14);
    EXPECT_TRUE(DestroyBusyWindow(window));
}

TEST_F(BusyWindow, EachWindowKeepsItsOwnProgress) {
    const DWORD later = GetTickCount() + 10000;
    HWND first = CreateBusyWindow(Instance(), kBusyTip);
    HWND second = CreateBusyWindow(Instance(), L"second");
    ASSERT_NE(TrayRecord(first), nullptr);
    ASSERT_NE(TrayRecord(second), nullptr);
    EXPECT_TRUE(UpdateBusyProgressAt(first, 1, 10, later));
    EXPECT_TRUE(UpdateBusyProgressAt(second, 2, 20, later));
    EXPECT_TRUE(UpdateBusyProgressAt(first, 10, 10, later + 1));
    EXPECT_EQ(Tip(first), "TAVELINちゃんが文字コードを変換中ですわ (10 / 10)");
    EXPECT_EQ(Tip(second), "second (2 / 20)");
    EXPECT_TRUE(DestroyBusyWindow(first));
    // A window made after the first is gone, perhaps under its handle.
    HWND third = CreateBusyWindow(Instance(), L"third");
    EXPECT_TRUE(UpdateBusyGatheringAt(third, 5, later + 2));
    EXPECT_EQ(Tip(third), "third (検索中 5 件)");
    EXPECT_TRUE(DestroyBusyWindow(third));
    EXPECT_TRUE(DestroyBusyWindow(second));
    // Without a busy window there is nothing to update.
    EXPECT_FALSE(UpdateBusyProgress(nullptr, 1, 2));
    EXPECT_FALSE(UpdateBusyGathering(nullptr, 1));
    EXPECT_FALSE(UpdateBusyProgressAt(GetDesktopWindow(), 1, 2, later));
}

TEST(ExecutableIcon, LargeAndSmallFromTheShell) {
    HICON large = GetExecutableIcon(Instance(), 0);
    HICON small = GetExecutableIcon(Instance(), 1);
    ASSERT_NE(large, nullptr);
    ASSERT_NE(small, nullptr);
    SIZE l = IconSize(large);
    SIZE s = IconSize(small);
    EXPECT_EQ(l.cx, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(s.cx, GetSystemMetrics(SM_CXSMICON));
    DestroyIcon(large);
    DestroyIcon(small);
}

TEST(FileIcon, ExistingFileHasOneMissingFileNone) {
    ScratchFolder scratch;
    std::string file = scratch / "表.txt";
    ASSERT_TRUE(WriteBytes(file, "x"));
    HICON icon = GetFileIcon(P(file).c_str(), SHGFI_SMALLICON);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(icon);
    EXPECT_EQ(GetFileIcon(P(scratch / "missing.txt").c_str(), SHGFI_SMALLICON), nullptr);
}

}  // namespace
