// The about box as a user meets it, opened for real on this thread while a
// helper thread reads it and drives it with real mouse input: its texts, its
// width fitted to them, the link (colours, hand cursor, press and release,
// the address handed to the shell), one box at a time, dragging, and what
// the link leaves behind when the box goes. Leaves pictures of the box and
// of the hovered link in the demo folder.
#include "ui/about_dialog_win.h"

#include <gtest/gtest.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>

#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/gui_support.h"
#include "ui/about_layout_win.h"
#include "ui/about_template.h"
#include "ui/dialog_template.h"
#include "ui/link_label_win.h"

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr char kCaption[] = "TAVELIN について";
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
    bool appeared = DriveModal(
        kDialogClass, kCaption, [&] { result = RunAboutDialog(nullptr, &kSite); }, drive);
    EXPECT_TRUE(appeared) << "the about box did not appear";
    return result;
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
LONG Width(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r.right - r.left;
}
// Dialog units of the box in pixels, as the dialog manager lays them out.
LONG LaidWidth(HWND dialog, int units) {
    RECT r{0, 0, units, 0};
    MapDialogRect(dialog, &r);
    return r.right;
}
// The text's width in the control's own font.
LONG TextWidth(HWND control) {
    std::string text = WindowTextOf(control);
    HDC dc = GetDC(control);
    HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}
// The OK button's distance from the box's outer left edge.
LONG ButtonOffset(HWND dialog) {
    RECT box{}, button{};
    GetWindowRect(dialog, &box);
    GetWindowRect(Item(dialog, kAboutOkId), &button);
    return button.left - box.left;
}
POINT Centre(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
UINT_PTR LinkState(HWND dialog) {
    return reinterpret_cast<UINT_PTR>(GetPropA(Item(dialog, kAboutLinkId), kLinkPropControlState));
}
bool WaitFor(const std::function<bool()>& condition) {
    for (int i = 0; i < 100; i++) {
        if (condition()) return true;
        Sleep(20);
    }
    return condition();
}
HWND CaptureOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndCapture;
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

TEST(AboutBox, TextsFromTheVersionResourceAndWidthsFittedToThem) {
    MoveCursorTo(500, 400);
    INT_PTR result = RunBox([](HWND dialog) {
        EXPECT_EQ(WindowTextOf(Item(dialog, kAboutNameLineId)), "TAVELIN ver. 0.1H");
        EXPECT_EQ(WindowTextOf(Item(dialog, kAboutLinkId)), kSupportSiteAddress);
        // No resource-meter library under Wine: the line stays empty.
        EXPECT_EQ(WindowTextOf(Item(dialog, kAboutResourcesLineId)), "");
        EXPECT_NE(SendMessageA(Item(dialog, kAboutIconId), STM_GETICON, 0, 0), 0);

        // Each line as wide as its text, never narrower than its one unit;
        // the box widened by the largest growth, the button centred.
        LONG oneUnit = LaidWidth(dialog, 1);
        LONG largest = 0;
        for (int id : {kAboutNameLineId, kAboutLinkId, kAboutResourcesLineId}) {
            LONG expected = std::max(TextWidth(Item(dialog, id)), oneUnit);
            EXPECT_EQ(Width(Item(dialog, id)), expected) << "line " << id;
            largest = std::max(largest, expected - oneUnit);
        }
        RECT templateRect{0, 0, LaidWidth(dialog, 38), 10};
        AdjustWindowRectEx(&templateRect, GetWindowLongA(dialog, GWL_STYLE), FALSE,
                           GetWindowLongA(dialog, GWL_EXSTYLE));
        EXPECT_GT(largest, 0);
        EXPECT_EQ(Width(dialog), templateRect.right - templateRect.left + largest);
        EXPECT_EQ(ButtonOffset(dialog), (Width(dialog) - Width(Item(dialog, kAboutOkId))) / 2);
        SaveScreenshot(dialog, "about-box");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, 1);
}

// The fitting alone, on the box's own template with texts of the test's
// choice: what FitAboutLayout did is recorded in WM_INITDIALOG.
struct FitCase {
    std::string text;  // for the name line; the others stay empty
    LONG boxBefore = 0, boxAfter = 0, buttonBefore = 0, buttonAfter = 0, buttonWidth = 0;
};

INT_PTR CALLBACK FitProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* fit = reinterpret_cast<FitCase*>(lParam);
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

FitCase Fit(const std::string& text) {
    FitCase fit;
    fit.text = text;
    void* block = BuildAboutTemplate();
    DialogBoxIndirectParamA(GetModuleHandleA(nullptr), static_cast<LPCDLGTEMPLATEA>(block), nullptr,
                            FitProc, reinterpret_cast<LPARAM>(&fit));
    FreeDialogTemplate(block);
    return fit;
}

TEST(AboutBox, EmptyTextsGrowNothingAndOddRemaindersLeanLeft) {
    FitCase empty = Fit("");
    EXPECT_EQ(empty.boxAfter, empty.boxBefore);
    EXPECT_EQ(empty.buttonAfter, empty.buttonBefore);

    // Growing texts until both parities of the remainder have been seen.
    bool seen[2] = {false, false};
    std::string text;
    for (int i = 0; i < 40 && !(seen[0] && seen[1]); i++) {
        text += i % 3 == 0 ? "i" : "W";
        FitCase fit = Fit(text);
        LONG remainder = fit.boxAfter - fit.buttonWidth;
        EXPECT_EQ(fit.buttonAfter, remainder / 2) << "text " << text;
        EXPECT_EQ(fit.buttonAfter + fit.buttonWidth + remainder % 2 + fit.buttonAfter,
                  fit.boxAfter);
        seen[remainder % 2] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1]);
}

// The second call comes from this thread's modal loop, as the menu of the
// box's owner would make it.
struct SecondCall {
    bool done = false;
    bool returned = false;
    bool belowBefore = false;
    bool aboveAfter = false;
} g_second;

bool IsAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(lower, GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV)) {
        if (w == upper) return true;
    }
    return false;
}

void CALLBACK CallAgain(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND box = openAboutDialog;
    HWND other = CreateWindowExA(0, "Static", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    g_second.belowBefore = IsAbove(other, box);
    g_second.returned = ShowAboutDialog(nullptr, &kSite);
    g_second.aboveAfter = IsAbove(box, other);
    DestroyWindow(other);
    g_second.done = true;
}

int CountBoxes() {
    int count = 0;
    for (HWND w = FindWindowExA(nullptr, nullptr, kDialogClass, kCaption); w != nullptr;
         w = FindWindowExA(nullptr, w, kDialogClass, kCaption)) {
        count++;
    }
    return count;
}

TEST(AboutBox, ASecondCallBringsTheSameBoxForward) {
    bool appeared = DriveModal(
        kDialogClass, kCaption,
        [] {
            SetTimer(nullptr, 0, 200, CallAgain);
            ShowAboutDialog(nullptr, &kSite);
        },
        [](HWND dialog) {
            EXPECT_TRUE(WaitFor([] { return g_second.done; }));
            EXPECT_TRUE(g_second.returned);
            EXPECT_TRUE(g_second.belowBefore);
            EXPECT_TRUE(g_second.aboveAfter);
            EXPECT_EQ(CountBoxes(), 1);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    EXPECT_TRUE(appeared);
    EXPECT_EQ(openAboutDialog, nullptr);
}

// The shell's handler for https addresses, replaced for the test by one
// that writes the address it is given into the registry: no browser starts.
class RecordingUrlHandler {
  public:
    RecordingUrlHandler() {
        DWORD size = sizeof previous_;
        hadPrevious_ = RegGetValueA(HKEY_CLASSES_ROOT, kCommandKey, nullptr, RRF_RT_REG_SZ, nullptr,
                                    previous_, &size) == ERROR_SUCCESS;
        RegDeleteKeyA(HKEY_CURRENT_USER, kRecordKey);
        Set(kRecorder);
    }
    ~RecordingUrlHandler() {
        if (hadPrevious_) Set(previous_);
        RegDeleteKeyA(HKEY_CURRENT_USER, kRecordKey);
    }
    // Whether the shell would now run the recorder, and nothing else.
    bool Installed() const { return Command() == kRecorder; }
    // The address the handler was given; empty until it has run.
    std::string Handed(int timeoutMs) const {
        char value[512] = "";
        for (int waited = 0; waited <= timeoutMs; waited += 100) {
            DWORD size = sizeof value;
            if (RegGetValueA(HKEY_CURRENT_USER, kRecordKey, "handed", RRF_RT_REG_SZ, nullptr, value,
                             &size) == ERROR_SUCCESS) {
                return value;
            }
            Sleep(100);
        }
        return "";
    }

  private:
    static constexpr char kCommandKey[] = "https\\shell\\open\\command";
    static constexpr char kRecordKey[] = "Software\\TAVELIN tests";
    static constexpr char kRecorder[] =
        "C:\\windows\\system32\\reg.exe add \"HKCU\\Software\\TAVELIN tests\" /v handed /d \"%1\" "
        "/f";
    static void Set(const char* command) {
        RegSetValueA(HKEY_CLASSES_ROOT, kCommandKey, REG_SZ, command, lstrlenA(command));
    }
    static std::string Command() {
        char value[512] = "";
        DWORD size = sizeof value;
        RegGetValueA(HKEY_CLASSES_ROOT, kCommandKey, nullptr, RRF_RT_REG_SZ, nullptr, value, &size);
        return value;
    }
    char previous_[512] = "";
    bool hadPrevious_ = false;
};

TEST(AboutBox, TheLinkUnderThePointer) {
    RecordingUrlHandler handler;
    ASSERT_TRUE(handler.Installed()) << "no click without the recorder: a browser could start";
    MoveCursorTo(500, 400);
    INT_PTR result = RunBox([&](HWND dialog) {
        HWND link = Item(dialog, kAboutLinkId);
        RECT r{};
        GetWindowRect(link, &r);
        auto cursor = static_cast<HCURSOR>(GetPropA(link, kLinkPropCursor));
        ASSERT_NE(cursor, nullptr);
        // (once it has painted)
        EXPECT_TRUE(WaitFor([&] { return PixelsOf(link, RGB(0, 0, 255)) > 0; })) << "blue at rest";
        EXPECT_EQ(PixelsOf(link, RGB(255, 0, 0)), 0);

        // The hand everywhere over the link, corners included; red there.
        for (POINT p : {POINT{r.left, r.top}, POINT{r.right - 1, r.bottom - 1}, Centre(link)}) {
            SendMouse(0, p);
            CURSORINFO shown{};
            shown.cbSize = sizeof shown;
            EXPECT_TRUE(WaitFor([&] {
                GetCursorInfo(&shown);
                return shown.hCursor == cursor;
            })) << "at "
                << p.x << "," << p.y;
        }
        EXPECT_TRUE(WaitFor([&] { return LinkState(dialog) == 1; }));
        RedrawWindow(link, nullptr, nullptr, RDW_UPDATENOW);
        EXPECT_GT(PixelsOf(link, RGB(255, 0, 0)), 0) << "red under the pointer";
        SaveScreenshot(dialog, "about-link-hover");

        // Off the link in one jump: blue again through the leave timer.
        POINT away{r.left - 20, r.bottom + 15};
        SendMouse(0, away);
        EXPECT_TRUE(WaitFor([&] { return LinkState(dialog) == 0; }));

        // Pressed on the link, released off it: no click, no capture left.
        SendMouse(0, Centre(link));
        SendMouse(MOUSEEVENTF_LEFTDOWN, Centre(link));
        EXPECT_TRUE(WaitFor([&] { return CaptureOf(dialog) == link; }));
        SendMouse(0, away);
        SendMouse(MOUSEEVENTF_LEFTUP, away);
        EXPECT_TRUE(WaitFor([&] { return CaptureOf(dialog) == nullptr; }));
        Sleep(300);
        EXPECT_TRUE(IsWindow(dialog));
        EXPECT_EQ(handler.Handed(0), "");

        // Pressed and released on it: the address goes to the shell.
        SendMouse(0, Centre(link));
        SendMouse(MOUSEEVENTF_LEFTDOWN, Centre(link));
        SendMouse(MOUSEEVENTF_LEFTUP, Centre(link));
        EXPECT_TRUE(WaitForWindowGone(dialog, 5000));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(handler.Handed(10000), kSupportSiteAddress);
}

TEST(AboutBox, DraggedByItsBackgroundNotByTheLink) {
    if (WindowManagerDrags()) GTEST_SKIP() << "a window manager moves the windows here";
    MoveCursorTo(500, 400);
    RunBox([](HWND dialog) {
        auto drag = [&](POINT from) {
            RECT before{}, after{};
            GetWindowRect(dialog, &before);
            SendMouse(0, from);
            SendMouse(MOUSEEVENTF_LEFTDOWN, from);
            for (int step = 1; step <= 10; step++) {
                SendMouse(0, POINT{from.x + 3 * step, from.y + 2 * step});
            }
            SendMouse(MOUSEEVENTF_LEFTUP, POINT{from.x + 30, from.y + 20});
            WaitFor([&] {
                GetWindowRect(dialog, &after);
                return after.left != before.left;
            });
            return POINT{after.left - before.left, after.top - before.top};
        };
        HWND link = Item(dialog, kAboutLinkId);
        RECT r{};
        GetWindowRect(link, &r);
        // Below the last line, left of the button: the box's own background.
        RECT line{};
        GetWindowRect(Item(dialog, kAboutResourcesLineId), &line);
        POINT moved = drag(POINT{r.left, line.bottom + 3});
        EXPECT_EQ(moved.x, 30);
        EXPECT_EQ(moved.y, 20);
        // The link keeps the mouse: the box stays, and the release off the
        // link is no click.
        moved = drag(Centre(link));
        EXPECT_EQ(moved.x, 0);
        EXPECT_EQ(moved.y, 0);
        EXPECT_TRUE(IsWindow(dialog));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

// What the link made, seen as the box goes: a hook on this thread looks at
// the link just before and just after its WM_DESTROY.
struct LinkRemains {
    HWND link = nullptr;
    HFONT font = nullptr;
    HCURSOR cursor = nullptr;
    int propertiesBefore = 0;
    int propertiesAfter = -1;
    int anyPropertiesAtTheEnd = -1;
} g_remains;

// Counts the link's own properties; comctl32 keeps one of its own on the
// link for the tooltip, which it removes later in the destruction.
BOOL CALLBACK CountProperty(HWND, LPSTR name, HANDLE, ULONG_PTR count) {
    bool named = (reinterpret_cast<UINT_PTR>(name) >> 16) != 0;
    if (named && std::string(name).rfind("LLPROP_", 0) == 0) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountAnyProperty(HWND, LPSTR, HANDLE, ULONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

LRESULT CALLBACK BeforeDestroy(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_DESTROY &&
        GetDlgCtrlID(message->hwnd) == kAboutLinkId) {
        g_remains.link = message->hwnd;
        g_remains.font = static_cast<HFONT>(GetPropA(message->hwnd, kLinkPropFont));
        g_remains.cursor = static_cast<HCURSOR>(GetPropA(message->hwnd, kLinkPropCursor));
        EnumPropsExA(message->hwnd, CountProperty,
                     reinterpret_cast<LPARAM>(&g_remains.propertiesBefore));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK AfterDestroy(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_DESTROY && message->hwnd == g_remains.link) {
        g_remains.propertiesAfter = 0;
        EnumPropsExA(message->hwnd, CountProperty,
                     reinterpret_cast<LPARAM>(&g_remains.propertiesAfter));
    }
    // The tooltip's subclass must still be in the chain at the very end,
    // to take its own property away.
    if (code == HC_ACTION && message->message == WM_NCDESTROY && message->hwnd == g_remains.link) {
        g_remains.anyPropertiesAtTheEnd = 0;
        EnumPropsExA(message->hwnd, CountAnyProperty,
                     reinterpret_cast<LPARAM>(&g_remains.anyPropertiesAtTheEnd));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(AboutBox, TheLinkFreesWhatItMadeWhenTheBoxGoes) {
    DWORD thread = GetCurrentThreadId();
    HHOOK before = SetWindowsHookExA(WH_CALLWNDPROC, BeforeDestroy, nullptr, thread);
    HHOOK after = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterDestroy, nullptr, thread);
    RunBox([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    UnhookWindowsHookEx(before);
    UnhookWindowsHookEx(after);
    ASSERT_NE(g_remains.font, nullptr);
    ASSERT_NE(g_remains.cursor, nullptr);
    EXPECT_EQ(g_remains.propertiesBefore, 4);
    EXPECT_EQ(g_remains.propertiesAfter, 0);
    EXPECT_EQ(g_remains.anyPropertiesAtTheEnd, 0);
    EXPECT_EQ(GetObjectType(g_remains.font), 0u) << "the underlined font was not deleted";
    ICONINFO info{};
    bool alive = GetIconInfo(g_remains.cursor, &info) != FALSE;
    EXPECT_FALSE(alive) << "the hand cursor was not destroyed";
    if (alive) {
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
}

}  // namespace
