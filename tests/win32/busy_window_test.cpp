// The hidden busy window, its tray-icon record, and the drain of the queue
// when it goes; the program's icons and window class.
#include "ui/busy_window_win.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <string>

#include "tests/win32/support/test_support.h"
#include "ui/app_window_win.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

NOTIFYICONDATAA* TrayRecord(HWND window) {
    return static_cast<NOTIFYICONDATAA*>(GetPropA(window, kPropTrayIconData));
}

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
    ASSERT_TRUE(GetClassInfoExA(Instance(), kBusyWindowClass, &found));
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

    NOTIFYICONDATAA* record = TrayRecord(window);
    ASSERT_NE(record, nullptr);
    // The first version of the record: 88 bytes in the 32-bit program.
#ifndef _WIN64
    static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "tray record of the first version");
#endif
    EXPECT_EQ(record->cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
    EXPECT_EQ(record->hWnd, window);
    EXPECT_EQ(record->uID, 1u);
    EXPECT_EQ(record->uFlags, 7u);
    EXPECT_EQ(record->uCallbackMessage, 0x8000u);
    EXPECT_STREQ(record->szTip, "TAVELINちゃんが文字コードを変換中ですわ");
    ASSERT_NE(record->hIcon, nullptr);
    SIZE size = IconSize(record->hIcon);
    EXPECT_EQ(size.cx, 16);
    EXPECT_EQ(size.cy, 16);

    EXPECT_TRUE(DestroyBusyWindow(window));
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(BusyWindow, LongTipsAreCutWithoutSplittingACharacter) {
    struct Case {
        std::string tip;
        std::string shown;
    };
    const std::string a62(62, 'a');
    const Case cases[] = {
        {std::string(100, 'a'), std::string(63, 'a')},
        // "表" would take bytes 62 and 63: only the first 62 bytes fit.
        {a62 + "表" + "xyz", a62},
        // One byte earlier it fits whole.
        {std::string(61, 'a') + "表" + "xyz", std::string(61, 'a') + "表"},
    };
    for (const Case& c : cases) {
        HWND window = CreateBusyWindow(Instance(), c.tip.c_str());
        ASSERT_NE(window, nullptr);
        ASSERT_NE(TrayRecord(window), nullptr);
        EXPECT_EQ(std::string(TrayRecord(window)->szTip), c.shown) << c.tip;
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
    if (message == WM_DESTROY) g_propertyAtDestroy = GetPropA(window, kPropTrayIconData) != nullptr;
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
    HICON icon = GetFileIcon(file.c_str(), SHGFI_SMALLICON);
    EXPECT_NE(icon, nullptr);
    if (icon != nullptr) DestroyIcon(icon);
    EXPECT_EQ(GetFileIcon((scratch / "missing.txt").c_str(), SHGFI_SMALLICON), nullptr);
}

}  // namespace
