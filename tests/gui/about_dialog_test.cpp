// The about box opened for real on this thread while a helper thread reads it
// and drives it with real mouse input: texts and widths, the link (colours,
// hand cursor, press and release, the address handed to the shell), one box
// at a time, dragging, and what the link leaves when the box goes. Leaves
// pictures of the box and of the hovered link in the demo folder.
#include "ui/about_dialog_win.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>

#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/about_layout_win.h"
#include "ui/about_template.h"
#include "ui/dialog_template.h"
#include "ui/link_label_win.h"
#include "util/path_win.h"

namespace {

constexpr wchar_t kCaption[] = L"TAVELIN について";
const SupportSiteInfo kSite{kSupportSiteAddress};

// The shell needs COM and the tooltip its class, as the entry provides.
class AboutEnvironment : public ComEnvironment {
  public:
    void SetUp() override {
        ComEnvironment::SetUp();
        InitCommonControls();
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new AboutEnvironment);

INT_PTR RunBox(const std::function<void(HWND)>& drive) {
    INT_PTR result = 0;
    MoveCursorTo(500, 400);
    EXPECT_TRUE(DriveModal(
        L"#32770", kCaption, [&] { result = RunAboutDialog(nullptr, &kSite); }, drive));
    return result;
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
RECT Outer(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}
LONG Width(HWND window) { return Outer(window).right - Outer(window).left; }
POINT Centre(HWND window) {
    RECT r = Outer(window);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
LONG ButtonOffset(HWND dialog) { return Outer(Item(dialog, kAboutOkId)).left - Outer(dialog).left; }
LONG LaidWidth(HWND dialog, int units) {
    RECT r{0, 0, units, 0};
    MapDialogRect(dialog, &r);
    return r.right;
}
LONG TextWidth(HWND control) {
    std::wstring text = WideTextOf(control);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}
bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 100 && !condition(); i++) Sleep(20);
    return condition();
}
// Pixels of exactly this colour in the window as it is drawn.
int PixelsOf(HWND window, COLORREF colour) {
    RECT r{};
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    int count = 0;
    for (int y = 0; y < r.bottom; y++) {
        for (int x = 0; x < r.right; x++) count += GetPixel(dc, x, y) == colour;
    }
    ReleaseDC(window, dc);
    return count;
}

// What the link leaves on itself as it goes, seen by a hook on this thread.
struct LinkRemains {
    HWND link = nullptr;
    int ownAfterDestroy = -1, anyAtTheEnd = -1;
} g_remains;

BOOL CALLBACK CountProperty(HWND, LPWSTR name, HANDLE, ULONG_PTR counts) {
    bool own = (reinterpret_cast<UINT_PTR>(name) >> 16) != 0 &&
               std::wstring(name).rfind(L"LLPROP_", 0) == 0;
    reinterpret_cast<int*>(counts)[0] += own;
    reinterpret_cast<int*>(counts)[1]++;
    return TRUE;
}

LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    auto* m = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && m->hwnd == g_remains.link &&
        (m->message == WM_DESTROY || m->message == WM_NCDESTROY)) {
        int counts[2] = {0, 0};
        EnumPropsExW(m->hwnd, CountProperty, reinterpret_cast<LPARAM>(counts));
        // At the very end the tooltip's subclass, still in the chain, has
        // taken its own property away too.
        (m->message == WM_DESTROY ? g_remains.ownAfterDestroy : g_remains.anyAtTheEnd) =
            m->message == WM_DESTROY ? counts[0] : counts[1];
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(AboutBox, TextsWidthsAndWhatTheLinkLeavesBehind) {
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    HFONT font = nullptr;
    HCURSOR cursor = nullptr;
    INT_PTR result = RunBox([&](HWND dialog) {
        EXPECT_EQ(WindowTextOf(Item(dialog, kAboutNameLineId)), "TAVELIN ver. " TAVELIN_VERSION);
        EXPECT_EQ(WideTextOf(Item(dialog, kAboutLinkId)), kSupportSiteAddress);
        // No resource-meter library under Wine: the line stays empty.
        EXPECT_EQ(WindowTextOf(Item(dialog, kAboutResourcesLineId)), "");
        EXPECT_NE(SendMessageA(Item(dialog, kAboutIconId), STM_GETICON, 0, 0), 0);

        // Lines as wide as their texts, never narrower than their one unit;
        // the box wider by the largest growth; the button centred.
        LONG oneUnit = LaidWidth(dialog, 1), largest = 0;
        for (int id : {kAboutNameLineId, kAboutLinkId, kAboutResourcesLineId}) {
            LONG expected = std::max(TextWidth(Item(dialog, id)), oneUnit);
            EXPECT_EQ(Width(Item(dialog, id)), expected) << "line " << id;
            largest = std::max(largest, expected - oneUnit);
        }
        RECT laid{0, 0, LaidWidth(dialog, 38), 10};
        AdjustWindowRectEx(&laid, GetWindowLongA(dialog, GWL_STYLE), FALSE,
                           GetWindowLongA(dialog, GWL_EXSTYLE));
        EXPECT_EQ(Width(dialog), laid.right - laid.left + largest);
        EXPECT_EQ(ButtonOffset(dialog), (Width(dialog) - Width(Item(dialog, kAboutOkId))) / 2);
        SaveScreenshot(dialog, "about-box");

        g_remains.link = Item(dialog, kAboutLinkId);
        font = static_cast<HFONT>(GetPropW(g_remains.link, kLinkPropFont));
        cursor = static_cast<HCURSOR>(GetPropW(g_remains.link, kLinkPropCursor));
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(g_remains.ownAfterDestroy, 0);
    EXPECT_EQ(g_remains.anyAtTheEnd, 0);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(GetObjectType(font), 0u) << "the underlined font was not deleted";
    ICONINFO info{};
    EXPECT_FALSE(GetIconInfo(cursor, &info)) << "the hand cursor was not destroyed";
}

// The fitting alone on the box's own template, with a name line of the
// test's choice, recorded around FitAboutLayout in WM_INITDIALOG.
struct Fit {
    std::string text;
    LONG boxBefore, boxAfter, buttonBefore, buttonAfter, buttonWidth;
};

INT_PTR CALLBACK FitProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* fit = reinterpret_cast<Fit*>(lParam);
    SetDlgItemTextA(dialog, kAboutNameLineId, fit->text.c_str());
    fit->boxBefore = Width(dialog);
    fit->buttonBefore = ButtonOffset(dialog);
    FitAboutLayout(dialog);
    fit->boxAfter = Width(dialog);
    fit->buttonAfter = ButtonOffset(dialog);
    fit->buttonWidth = Width(Item(dialog, kAboutOkId));
    EndDialog(dialog, 1);
    return TRUE;
}

Fit FitWith(const std::string& text) {
    Fit fit{text, 0, 0, 0, 0, 0};
    void* block = BuildAboutTemplate();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(block), nullptr,
                            FitProc, reinterpret_cast<LPARAM>(&fit));
    FreeDialogTemplate(block);
    return fit;
}

TEST(AboutBox, EmptyTextsGrowNothingAndOddRemaindersLeanLeft) {
    Fit empty = FitWith("");
    EXPECT_EQ(empty.boxAfter, empty.boxBefore);
    EXPECT_EQ(empty.buttonAfter, empty.buttonBefore);
    bool seen[2] = {false, false};
    std::string text;
    for (int i = 0; i < 40 && !(seen[0] && seen[1]); i++) {
        text += i % 3 == 0 ? "i" : "W";
        Fit fit = FitWith(text);
        LONG remainder = fit.boxAfter - fit.buttonWidth;
        // The odd pixel goes to the right of the button.
        EXPECT_EQ(fit.buttonAfter, remainder / 2) << text;
        seen[remainder % 2] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

// The second call comes from this thread's modal loop, as the owner's menu
// would make it, with another window placed over the box first.
struct SecondCall {
    bool done, returned, belowBefore, aboveAfter;
} g_second;

bool IsAbove(HWND upper, HWND lower) {
    HWND w = lower;
    while ((w = GetWindow(w, GW_HWNDPREV)) != nullptr && w != upper) {
    }
    return w == upper;
}

void CALLBACK CallAgain(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = openAboutDialog;
    HWND other = CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    g_second.belowBefore = IsAbove(other, box);
    g_second.returned = ShowAboutDialog(nullptr, &kSite);
    g_second.aboveAfter = IsAbove(box, other);
    DestroyWindow(other);
    g_second.done = true;
}

TEST(AboutBox, ASecondCallBringsTheSameBoxForward) {
    MoveCursorTo(500, 400);
    auto show = [] {
        SetTimer(nullptr, 0, 200, CallAgain);
        ShowAboutDialog(nullptr, &kSite);
    };
    EXPECT_TRUE(DriveModal(L"#32770", kCaption, show, [](HWND dialog) {
        EXPECT_TRUE(WaitFor([] { return g_second.done; }));
        EXPECT_TRUE(g_second.returned && g_second.belowBefore && g_second.aboveAfter);
        EXPECT_EQ(FindWindowExW(nullptr, dialog, L"#32770", kCaption), nullptr) << "a second box";
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
    EXPECT_EQ(openAboutDialog, nullptr);
}

// The shell's handler of https addresses, replaced for the test by one that
// writes the address it is given into the registry: no browser starts.
constexpr char kHandlerKey[] = "https\\shell\\open\\command";
constexpr char kRecordKey[] = "Software\\TAVELIN tests";
constexpr char kRecorder[] =
    "C:\\windows\\system32\\reg.exe add \"HKCU\\Software\\TAVELIN tests\" /v handed /d \"%1\" /f";

std::string ReadValue(HKEY root, const char* key, const char* name) {
    char value[512] = "";
    DWORD size = sizeof value;
    RegGetValueA(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}
void SetHandler(const std::string& command) {
    RegSetValueA(HKEY_CLASSES_ROOT, kHandlerKey, REG_SZ, command.c_str(),
                 static_cast<DWORD>(command.size()));
}

TEST(AboutBox, TheLinkUnderThePointer) {
    std::string previous = ReadValue(HKEY_CLASSES_ROOT, kHandlerKey, nullptr);
    RegDeleteKeyA(HKEY_CURRENT_USER, kRecordKey);
    SetHandler(kRecorder);
    ASSERT_EQ(ReadValue(HKEY_CLASSES_ROOT, kHandlerKey, nullptr), kRecorder)
        << "no click without the recorder: a browser could start";
    auto handed = [] { return ReadValue(HKEY_CURRENT_USER, kRecordKey, "handed"); };
    INT_PTR result = RunBox([&](HWND dialog) {
        HWND link = Item(dialog, kAboutLinkId);
        RECT r = Outer(link);
        auto state = [&] {
            return reinterpret_cast<UINT_PTR>(GetPropW(link, kLinkPropControlState));
        };
        auto capture = [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
            return info.hwndCapture;
        };
        EXPECT_TRUE(WaitFor([&] { return PixelsOf(link, RGB(0, 0, 255)) > 0; })) << "blue at rest";
        EXPECT_EQ(PixelsOf(link, RGB(255, 0, 0)), 0);

        // The hand over the whole link, corners included; red there.
        auto hand = static_cast<HCURSOR>(GetPropW(link, kLinkPropCursor));
        for (POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.bottom - 1}, Centre(link)}) {
            SendMouse(0, p);
            EXPECT_TRUE(WaitFor([&] {
                CURSORINFO shown{sizeof shown, 0, nullptr, {}};
                return GetCursorInfo(&shown) && shown.hCursor == hand;
            })) << "at "
                << p.x << "," << p.y;
        }
        EXPECT_TRUE(WaitFor([&] { return state() == 1; }));
        EXPECT_TRUE(WaitFor([&] { return PixelsOf(link, RGB(255, 0, 0)) > 0; })) << "red";
        SaveScreenshot(dialog, "about-link-hover");

        // Off in one jump: blue again through the leave timer.
        POINT away{r.left - 20, r.bottom + 15};
        SendMouse(0, away);
        EXPECT_TRUE(WaitFor([&] { return state() == 0; }));

        // Pressed on the link, released off it: no click, no capture left.
        SendMouse(0, Centre(link));
        SendMouse(MOUSEEVENTF_LEFTDOWN, Centre(link));
        EXPECT_TRUE(WaitFor([&] { return capture() == link; }));
        SendMouse(0, away);
        SendMouse(MOUSEEVENTF_LEFTUP, away);
        EXPECT_TRUE(WaitFor([&] { return capture() == nullptr; }));
        Sleep(100);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(handed(), "");

        // Pressed and released on it, soon enough after the first press to
        // arrive as a double-click: the address goes to the shell.
        SendMouse(0, Centre(link));
        SendMouse(MOUSEEVENTF_LEFTDOWN, Centre(link));
        SendMouse(MOUSEEVENTF_LEFTUP, Centre(link));
        EXPECT_TRUE(WaitForWindowGone(dialog, 5000));
    });
    EXPECT_EQ(result, 1);
    for (int i = 0; i < 100 && handed().empty(); i++) Sleep(100);
    EXPECT_EQ(P(handed()), PathFromWide(kSupportSiteAddress));
    SetHandler(previous);
    RegDeleteKeyA(HKEY_CURRENT_USER, kRecordKey);
}

// The box is dragged by its background because the background answers as a
// caption; the link answers as a client area of its own, so a press on it
// reaches the link and moves nothing. (A real drag by a caption is driven in
// the settings dialog's tests; here it proved unreliable on a fresh server.)
TEST(AboutBox, DraggedByItsBackgroundNotByTheLink) {
    RunBox([](HWND dialog) {
        HWND link = Item(dialog, kAboutLinkId);
        // Below the last line: the box's own background.
        POINT background{Outer(link).left, Outer(Item(dialog, kAboutResourcesLineId)).bottom + 3};
        EXPECT_EQ(SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(background.x, background.y)),
                  HTCAPTION);
        // The link answers by where the pointer is: each move is waited for,
        // since a loaded display takes its time to report it.
        POINT centre = Centre(link);
        EXPECT_TRUE(MoveCursorTo(centre.x, centre.y));
        EXPECT_EQ(SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), HTCLIENT);
        EXPECT_TRUE(MoveCursorTo(background.x, background.y));
        EXPECT_NE(SendMessageA(link, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), HTCLIENT)
            << "off the link, the link lets the box answer";
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

}  // namespace
