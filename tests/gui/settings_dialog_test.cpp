// The settings dialog as a user meets it, opened for real on this thread
// while a helper thread reads and drives it: which controls show and where
// they sit in each form, the enabled state, the folder check and its
// message, the folder picker, dragging, and what OK and Cancel leave in the
// caller's record. Leaves pictures of the three forms in the demo folder.
#include "ui/settings_dialog_win.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/geometry_win.h"
#include "util/path.h"
#include "util/path_win.h"
#include "util/text.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";

// The folder picker needs COM on the dialog's thread, as the entry provides.
class ComEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};
const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

// Values of their own in the fields the dialog shows, and in those it must
// leave alone.
Settings MakeSettings(const std::string& folder) {
    Settings s = RunSettings(OutputMethod::IntoOutputFolder, folder);
    s.keepOverwrittenInRecycleBin = true;
    s.conversionMask = ConversionMask::IntoShiftJis;
    s.dialogBeforeRun = true;
    s.listDialogWidth = 480;
    s.listDialogHeight = 320;
    s.listSortColumn = 2;
    return s;
}

void ExpectSameSettings(const Settings& a, const Settings& b) {
    EXPECT_EQ(a.outputMethod, b.outputMethod);
    EXPECT_EQ(a.outputFolder, b.outputFolder);
    EXPECT_EQ(a.showSettingsAtStartup, b.showSettingsAtStartup);
    EXPECT_EQ(a.keepOverwrittenInRecycleBin, b.keepOverwrittenInRecycleBin);
    EXPECT_EQ(a.conversionMask, b.conversionMask);
    EXPECT_EQ(a.dialogBeforeRun, b.dialogBeforeRun);
    EXPECT_EQ(a.outputFolderWarning, b.outputFolderWarning);
    EXPECT_EQ(a.listDialogWidth, b.listDialogWidth);
    EXPECT_EQ(a.listDialogHeight, b.listDialogHeight);
    EXPECT_EQ(a.listSortColumn, b.listSortColumn);
    EXPECT_EQ(a.listSortAscending, b.listSortAscending);
    EXPECT_EQ(a.utf8ByteOrderMark, b.utf8ByteOrderMark);
}

// Opens the dialog on this thread with the record and runs drive on the
// helper thread; returns what ShowSettingsDialog returned.
bool RunDialog(Settings* settings, const std::function<void(HWND)>& drive) {
    bool result = false;
    bool appeared = DriveModal(
        kDialogClass, kSettingsDialogTitle, [&] { result = ShowSettingsDialog(nullptr, settings); },
        drive);
    EXPECT_TRUE(appeared) << "the settings dialog did not appear";
    return result;
}

HWND Item(HWND dialog, int id) { return GetDlgItem(dialog, id); }
bool Checked(HWND dialog, int id) {
    return SendMessageA(Item(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
bool Visible(HWND dialog, int id) { return IsWindowVisible(Item(dialog, id)) != FALSE; }
LONG Style(HWND dialog, int id) { return GetWindowLongA(Item(dialog, id), GWL_STYLE); }
// For clicks that return at once.
void Click(HWND dialog, int id) { SendMessageA(Item(dialog, id), BM_CLICK, 0, 0); }
// For clicks that open a modal window: the helper must not wait for it.
void PostClick(HWND dialog, int id) { PostMessageA(Item(dialog, id), BM_CLICK, 0, 0); }
void SetPathBox(HWND dialog, const Path& text) {
    SendMessageW(Item(dialog, IDC_OUTPUT_PATH), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(WidePath(text)));
}
void SetPathBox(HWND dialog, const std::string& text) { SetPathBox(dialog, P(text)); }

// A template rectangle in pixels, as the dialog font lays it out.
// Position and size are converted separately, as the dialog manager does
// when it creates the controls, so rounding never differs from it.
RECT Laid(HWND dialog, int x, int y, int width, int height) {
    RECT r{x, y, width, height};
    MapDialogRect(dialog, &r);
    return RECT{r.left, r.top, r.left + r.right, r.top + r.bottom};
}
LONG LaidY(HWND dialog, int y) { return Laid(dialog, 0, y, 0, 0).top; }

struct Placed {
    int id;
    int x, y, width, height;
    bool belowWarning;     // moves up when the warning line is hidden
    bool belowConversion;  // moves up when the conversion group is hidden
    int shownWhen;         // 0 always, 1 with the warning, 2 before a run
};

const Placed kLayout[] = {
    {IDC_OUTPUT_GROUP, 7, 27, 220, 40, true, false, 0},
    {IDC_OUTPUT_TO_FOLDER, 12, 38, 63, 10, true, false, 0},
    {IDC_OUTPUT_IN_PLACE, 12, 52, 86, 10, true, false, 0},
    {IDC_OUTPUT_PATH, 75, 36, 116, 14, true, false, 0},
    {IDC_BROWSE, 192, 36, 31, 14, true, false, 0},
    {IDC_CONVERSION_GROUP, 7, 69, 220, 39, true, false, 2},
    {IDC_CONVERT_BOTH_WAYS, 12, 80, 50, 10, true, false, 2},
    {IDC_CONVERT_TO_SJIS, 100, 80, 65, 10, true, false, 2},
    {IDC_CONVERT_TO_EUC, 12, 93, 72, 10, true, false, 2},
    {IDC_CONVERT_TO_UTF8, 100, 93, 56, 10, true, false, 2},
    {IDC_UTF8_BYTE_ORDER_MARK, 7, 111, 90, 10, true, false, 2},
    {IDC_KEEP_IN_RECYCLE_BIN, 7, 125, 120, 10, true, true, 0},
    {IDC_SHOW_AT_STARTUP, 7, 139, 119, 10, true, true, 0},
    {IDOK, 126, 139, 50, 14, true, true, 0},
    {IDCANCEL, 177, 139, 50, 14, true, true, 0},
    {IDC_FOLDER_WARNING, 7, 7, 220, 12, false, false, 1},
};

bool IsGroupBox(HWND control) { return (GetWindowLongA(control, GWL_STYLE) & 0xF) == BS_GROUPBOX; }

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

struct Form {
    bool beforeRun;
    bool warning;
    const char* screenshot;
};

void PrintTo(const Form& form, std::ostream* out) {
    *out << "dialogBeforeRun " << form.beforeRun << ", outputFolderWarning " << form.warning;
}

class Layout : public ::testing::TestWithParam<Form> {};

TEST_P(Layout, ControlsShowAndSitWhereTheFormPutsThem) {
    const Form form = GetParam();
    ScratchFolder scratch;
    Settings settings = MakeSettings(scratch.path());
    settings.dialogBeforeRun = form.beforeRun;
    settings.outputFolderWarning = form.warning;
    const Settings before = settings;
    const POINT cursor{640, 480};
    MoveCursorTo(cursor.x, cursor.y);

    bool result = RunDialog(&settings, [&](HWND dialog) {
        const LONG warningShift = form.warning ? 0 : LaidY(dialog, 7) - LaidY(dialog, 27);
        const LONG conversionShift = form.beforeRun ? 0 : LaidY(dialog, 69) - LaidY(dialog, 121);
        std::vector<RECT> shown;
        for (const Placed& p : kLayout) {
            SCOPED_TRACE(testing::Message() << "control " << p.id);
            bool visible = p.shownWhen == 0 || (p.shownWhen == 1 && form.warning) ||
                           (p.shownWhen == 2 && form.beforeRun);
            EXPECT_EQ(Visible(dialog, p.id), visible);
            RECT expected = Laid(dialog, p.x, p.y, p.width, p.height);
            OffsetRect(
                &expected, 0,
                (p.belowWarning ? warningShift : 0) + (p.belowConversion ? conversionShift : 0));
            RECT actual = RectInParent(Item(dialog, p.id));
            if (visible) {
                EXPECT_TRUE(EqualRect(&actual, &expected))
                    << actual.left << "," << actual.top << " " << actual.right << ","
                    << actual.bottom << " instead of " << expected.left << "," << expected.top
                    << " " << expected.right << "," << expected.bottom;
                shown.push_back(actual);
            }
        }
        // The two group boxes that only start groups never show.
        EXPECT_FALSE(Visible(dialog, IDC_OTHER_GROUP));
        HWND unnamedGroup = GetNextWindow(Item(dialog, IDC_OUTPUT_IN_PLACE), GW_HWNDNEXT);
        EXPECT_EQ(GetDlgCtrlID(unnamedGroup), 0xFFFF);
        EXPECT_FALSE(IsWindowVisible(unnamedGroup));

        // The dialog shrinks by what was taken out; nothing is cut off, and
        // visible controls overlap only where a group box frames its members.
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.bottom, LaidY(dialog, 160) + warningShift + conversionShift);
        for (std::size_t i = 0; i < shown.size(); i++) {
            EXPECT_TRUE(Contains(client, shown[i])) << "control " << i << " is cut off";
        }
        for (const Placed& a : kLayout) {
            for (const Placed& b : kLayout) {
                HWND ha = Item(dialog, a.id), hb = Item(dialog, b.id);
                if (a.id >= b.id || !IsWindowVisible(ha) || !IsWindowVisible(hb)) continue;
                RECT ra = RectInParent(ha), rb = RectInParent(hb), overlap;
                if (!IntersectRect(&overlap, &ra, &rb)) continue;
                // Controls that touch in dialog units may share a pixel after
                // rounding (the startup check box and OK).
                if (RectWidth(&overlap) <= 1 || RectHeight(&overlap) <= 1) continue;
                bool framed =
                    (IsGroupBox(ha) && Contains(ra, rb)) || (IsGroupBox(hb) && Contains(rb, ra));
                EXPECT_TRUE(framed) << a.id << " overlaps " << b.id;
            }
        }

        // Placed on the cursor at the template's full height, before the
        // bands were taken out (the dialog then shrinks from the bottom).
        RECT window;
        GetWindowRect(dialog, &window);
        LONG width = window.right - window.left;
        LONG fullHeight = window.bottom - window.top - warningShift - conversionShift;
        EXPECT_EQ(window.left, cursor.x + width / -2);
        EXPECT_EQ(window.top, cursor.y + fullHeight / -2);

        // What the record said, shown.
        char text[MAX_PATH + 1] = "";
        GetDlgItemTextA(dialog, IDC_OUTPUT_PATH, text, sizeof text);
        EXPECT_STREQ(text, scratch.path().c_str());
        EXPECT_TRUE(Checked(dialog, IDC_OUTPUT_TO_FOLDER));
        EXPECT_FALSE(Checked(dialog, IDC_OUTPUT_IN_PLACE));
        EXPECT_FALSE(Checked(dialog, IDC_CONVERT_BOTH_WAYS));
        EXPECT_TRUE(Checked(dialog, IDC_CONVERT_TO_SJIS));
        EXPECT_FALSE(Checked(dialog, IDC_CONVERT_TO_EUC));
        EXPECT_FALSE(Checked(dialog, IDC_CONVERT_TO_UTF8));
        EXPECT_TRUE(Checked(dialog, IDC_KEEP_IN_RECYCLE_BIN));
        EXPECT_FALSE(Checked(dialog, IDC_SHOW_AT_STARTUP));
        EXPECT_EQ(GetPropW(dialog, kPropSettingsRecord), &settings);

        if (form.screenshot != nullptr) SaveScreenshot(dialog, form.screenshot);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(result);
    ExpectSameSettings(settings, before);
}

INSTANTIATE_TEST_SUITE_P(Forms, Layout,
                         ::testing::Values(Form{false, false, "settings-no-files"},
                                           Form{true, false, "settings-before-run"},
                                           Form{true, true, "settings-before-run-warning"},
                                           Form{false, true, nullptr}),
                         [](const ::testing::TestParamInfo<Form>& info) {
                             return std::string(info.param.beforeRun ? "BeforeRun" : "NoFiles") +
                                    (info.param.warning ? "WithWarning" : "");
                         });

TEST(Placement, KeptInsideTheWorkArea) {
    RECT work;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    Settings settings = MakeSettings("");
    for (POINT cursor : {POINT{work.left, work.top}, POINT{work.right - 1, work.bottom - 1}}) {
        MoveCursorTo(cursor.x, cursor.y);
        RunDialog(&settings, [&](HWND dialog) {
            RECT window;
            GetWindowRect(dialog, &window);
            if (cursor.x == work.left) {
                EXPECT_EQ(window.left, work.left);
                EXPECT_EQ(window.top, work.top);
            } else {
                // Placed at full height: only the right edge is known to touch.
                EXPECT_EQ(window.right, work.right);
                EXPECT_LE(window.bottom, work.bottom);
            }
            Click(dialog, IDCANCEL);
        });
    }
}

TEST(EnabledState, RewritingInPlaceLocksThePathBox) {
    ScratchFolder scratch;
    Settings settings = MakeSettings(scratch.path());
    RunDialog(&settings, [&](HWND dialog) {
        HWND pathBox = Item(dialog, IDC_OUTPUT_PATH);
        HWND inPlace = Item(dialog, IDC_OUTPUT_IN_PLACE);
        for (int round = 0; round < 2; round++) {
            Click(dialog, IDC_OUTPUT_IN_PLACE);
            EXPECT_TRUE(Checked(dialog, IDC_OUTPUT_IN_PLACE));
            EXPECT_FALSE(Checked(dialog, IDC_OUTPUT_TO_FOLDER));
            EXPECT_TRUE(Style(dialog, IDC_OUTPUT_PATH) & ES_READONLY);
            EXPECT_FALSE(Style(dialog, IDC_OUTPUT_PATH) & WS_TABSTOP);
            EXPECT_TRUE(IsWindowEnabled(pathBox));  // its text can still be copied
            EXPECT_FALSE(IsWindowEnabled(Item(dialog, IDC_BROWSE)));
            // Tab from the radio buttons skips the box (and the disabled Browse).
            // (Of a radio group only the checked button is a tab stop.)
            EXPECT_EQ(GetNextDlgTabItem(dialog, inPlace, FALSE), Item(dialog, IDC_CONVERT_TO_SJIS));

            Click(dialog, IDC_OUTPUT_TO_FOLDER);
            EXPECT_FALSE(Style(dialog, IDC_OUTPUT_PATH) & ES_READONLY);
            EXPECT_TRUE(Style(dialog, IDC_OUTPUT_PATH) & WS_TABSTOP);
            EXPECT_TRUE(IsWindowEnabled(Item(dialog, IDC_BROWSE)));
            EXPECT_EQ(GetNextDlgTabItem(dialog, inPlace, FALSE), pathBox);
        }
        // Typing stops one character past the longest path Windows can
        // name, so that a longer one is refused rather than kept cut.
        SetPathBox(dialog, std::string(kLongestPath - 5, 'a'));
        for (int i = 0; i < 10; i++) SendMessageW(pathBox, WM_CHAR, 'a', 1);
        EXPECT_EQ(GetWindowTextLengthW(pathBox), static_cast<int>(kLongestPath + 1));
        Click(dialog, IDCANCEL);
    });
}

TEST(Ok, WritesEveryEditedValue) {
    ScratchFolder scratch;
    std::string chosen = scratch / "出力";
    ASSERT_TRUE(MakeFolder(chosen));
    Settings settings = MakeSettings("C:\\");
    settings.outputMethod = OutputMethod::RewriteInPlace;
    Settings expected = settings;
    bool result = RunDialog(&settings, [&](HWND dialog) {
        Click(dialog, IDC_OUTPUT_TO_FOLDER);
        SetPathBox(dialog, chosen);
        Click(dialog, IDC_CONVERT_TO_EUC);
        Click(dialog, IDC_KEEP_IN_RECYCLE_BIN);
        Click(dialog, IDC_SHOW_AT_STARTUP);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(result);
    expected.outputMethod = OutputMethod::IntoOutputFolder;
    expected.outputFolder = P(chosen);
    expected.conversionMask = ConversionMask::IntoEucJp;
    expected.keepOverwrittenInRecycleBin = false;
    expected.showSettingsAtStartup = true;
    ExpectSameSettings(settings, expected);
}

TEST(Ok, TheUtf8ButtonIsReadAndWritten) {
    ScratchFolder scratch;
    // Shown checked for a record that says into UTF-8, alone in its group.
    Settings settings = MakeSettings(scratch.path());
    settings.conversionMask = ConversionMask::IntoUtf8;
    EXPECT_TRUE(RunDialog(&settings, [&](HWND dialog) {
        EXPECT_TRUE(Visible(dialog, IDC_CONVERT_TO_UTF8));
        EXPECT_TRUE(Checked(dialog, IDC_CONVERT_TO_UTF8));
        for (int other : {IDC_CONVERT_BOTH_WAYS, IDC_CONVERT_TO_SJIS, IDC_CONVERT_TO_EUC}) {
            EXPECT_FALSE(Checked(dialog, other)) << other;
        }
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(settings.conversionMask, ConversionMask::IntoUtf8);
    // Chosen by a click, it replaces the other choice; another click takes it back.
    settings.conversionMask = ConversionMask::IntoShiftJis;
    EXPECT_TRUE(RunDialog(&settings, [&](HWND dialog) {
        EXPECT_EQ(WindowTextOf(Item(dialog, IDC_CONVERT_TO_UTF8)), "UTF-8 に統一");
        Click(dialog, IDC_CONVERT_TO_UTF8);
        EXPECT_TRUE(Checked(dialog, IDC_CONVERT_TO_UTF8));
        EXPECT_FALSE(Checked(dialog, IDC_CONVERT_TO_SJIS));
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(settings.conversionMask, ConversionMask::IntoUtf8);
    EXPECT_TRUE(RunDialog(&settings, [&](HWND dialog) {
        Click(dialog, IDC_CONVERT_TO_EUC);
        EXPECT_FALSE(Checked(dialog, IDC_CONVERT_TO_UTF8));
        Click(dialog, IDOK);
    }));
    EXPECT_EQ(settings.conversionMask, ConversionMask::IntoEucJp);
}

// The byte-order mark's box shows the saved setting and OK stores it; /bom's
// mark for this run stays in the mask beside the direction chosen.
TEST(Ok, TheByteOrderMarkBoxIsReadAndWritten) {
    ScratchFolder scratch;
    for (bool saved : {false, true}) {
        Settings settings = MakeSettings(scratch.path());
        settings.utf8ByteOrderMark = saved;
        settings.conversionMask = ConversionMask::IntoUtf8 | ConversionMask::WithByteOrderMark;
        EXPECT_TRUE(RunDialog(&settings, [&](HWND dialog) {
            EXPECT_EQ(WindowTextOf(Item(dialog, IDC_UTF8_BYTE_ORDER_MARK)),
                      "UTF-8 に BOM を付ける");
            EXPECT_EQ(Checked(dialog, IDC_UTF8_BYTE_ORDER_MARK), saved);
            Click(dialog, IDC_UTF8_BYTE_ORDER_MARK);
            Click(dialog, IDC_CONVERT_TO_SJIS);
            Click(dialog, IDOK);
        }));
        EXPECT_EQ(settings.utf8ByteOrderMark, !saved);
        EXPECT_EQ(settings.conversionMask,
                  ConversionMask::IntoShiftJis | ConversionMask::WithByteOrderMark);
    }
}

TEST(Ok, InPlaceNeverChecksOrTakesTheFolder) {
    Settings settings = MakeSettings("C:\\before");
    settings.outputMethod = OutputMethod::RewriteInPlace;
    Settings expected = settings;
    bool result = RunDialog(&settings, [&](HWND dialog) {
        // Opened locked, as the record says.
        EXPECT_TRUE(Checked(dialog, IDC_OUTPUT_IN_PLACE));
        EXPECT_FALSE(Checked(dialog, IDC_OUTPUT_TO_FOLDER));
        EXPECT_TRUE(Style(dialog, IDC_OUTPUT_PATH) & ES_READONLY);
        EXPECT_FALSE(Style(dialog, IDC_OUTPUT_PATH) & WS_TABSTOP);
        EXPECT_FALSE(IsWindowEnabled(Item(dialog, IDC_BROWSE)));
        SetPathBox(dialog, "C:\\no such folder");
        Click(dialog, IDC_CONVERT_BOTH_WAYS);
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(result);
    expected.outputMethod = OutputMethod::RewriteInPlace;
    expected.conversionMask = ConversionMask::BothWays;
    ExpectSameSettings(settings, expected);
}

TEST(Ok, HiddenConversionGroupKeepsTheMask) {
    ScratchFolder scratch;
    struct Case {
        ConversionMask given, returned;
    };
    for (Case c : {Case{ConversionMask::IntoShiftJis, ConversionMask::IntoShiftJis},
                   Case{ConversionMask::IntoEucJp, ConversionMask::IntoEucJp},
                   Case{ConversionMask::BothWays, ConversionMask::BothWays},
                   Case{ConversionMask::IntoUtf8, ConversionMask::IntoUtf8},
                   Case{ConversionMask{3}, ConversionMask::BothWays}}) {
        Settings settings = MakeSettings(scratch.path());
        settings.dialogBeforeRun = false;
        settings.conversionMask = c.given;
        EXPECT_TRUE(RunDialog(&settings, [&](HWND dialog) { Click(dialog, IDOK); }));
        EXPECT_EQ(settings.conversionMask, c.returned) << static_cast<int>(c.given);
    }
}

TEST(Cancel, LeavesTheRecordAlone) {
    ScratchFolder scratch;
    Settings settings = MakeSettings(scratch.path());
    const Settings before = settings;
    bool result = RunDialog(&settings, [&](HWND dialog) {
        Click(dialog, IDC_OUTPUT_IN_PLACE);
        Click(dialog, IDC_CONVERT_TO_EUC);
        Click(dialog, IDC_SHOW_AT_STARTUP);
        Click(dialog, IDC_UTF8_BYTE_ORDER_MARK);
        SetPathBox(dialog, "C:\\elsewhere");
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(result);
    ExpectSameSettings(settings, before);
    EXPECT_FALSE(RunDialog(&settings,
                           [](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }));
    ExpectSameSettings(settings, before);
}

// Presses OK with the text in the path box, expects the message about the
// folder, closes it, and returns with the dialog still open.
void ExpectFolderRejected(HWND dialog, const Path& text) {
    SetPathBox(dialog, text);
    PostClick(dialog, IDOK);
    HWND box = WaitForWindow(kDialogClass, kSettingsDialogTitle, dialog, 30000);
    ASSERT_NE(box, nullptr) << "no message for " << Cp932(text);
    const std::wstring expected =
        L"出力先に指定されたパス\n　" + std::wstring(WidePath(text)) + L"\nにアクセスできません。";
    EXPECT_NE(StaticTexts(box).find(expected), std::wstring::npos) << StaticTexts(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitForWindowGone(box));
    EXPECT_TRUE(IsWindow(dialog));
    // Give the dialog a moment to take the focus back into the path box.
    for (int i = 0; i < 50 && FocusOfThreadOf(dialog) != Item(dialog, IDC_OUTPUT_PATH); i++) {
        Sleep(20);
    }
    EXPECT_EQ(FocusOfThreadOf(dialog), Item(dialog, IDC_OUTPUT_PATH));
}

TEST(Ok, UnusableFolderIsRejectedWithAMessage) {
    ScratchFolder scratch;
    std::string file = scratch / "表.txt";
    ASSERT_TRUE(WriteBytes(file, "x"));
    Settings settings = MakeSettings(scratch.path());
    settings.outputMethod = OutputMethod::RewriteInPlace;
    const Settings before = settings;
    bool result = RunDialog(&settings, [&](HWND dialog) {
        Click(dialog, IDC_OUTPUT_TO_FOLDER);
        Click(dialog, IDC_CONVERT_TO_EUC);
        ExpectFolderRejected(dialog, P(file));
        ExpectFolderRejected(dialog, P(scratch / "missing"));
        ExpectFolderRejected(dialog, Path());
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(result);
    // A rejected OK followed by Cancel leaves nothing behind.
    ExpectSameSettings(settings, before);
}

TEST(Ok, FoldersOfAnyLengthAndNameAreTakenWholeLongerOnesRefused) {
    ScratchFolder scratch;
    // Past 260 characters, and named with characters code page 932 has no
    // cell for: kept exactly as typed.
    const Path deep = JoinedPath(JoinedPath(P(scratch.path()), Path(150, u'd')), Path(150, u'e'));
    const Path named = JoinedPath(P(scratch.path()), u"José_김민수_😀");
    for (const Path& folder : {deep, named}) {
        ASSERT_TRUE(MakeFolder(FolderPart(folder)) || IsDirectory(FolderPart(folder)));
        ASSERT_TRUE(MakeFolder(folder)) << Cp932(folder);
    }
    ASSERT_GT(deep.size(), 300u);
    Settings settings = MakeSettings(scratch.path());
    for (const Path& folder : {deep, named}) {
        bool result = RunDialog(&settings, [&](HWND dialog) {
            // One character more than Windows can name: refused, never cut.
            ExpectFolderRejected(dialog, folder + Path(kLongestPath + 1 - folder.size(), u'x'));
            SetPathBox(dialog, folder);
            Click(dialog, IDOK);
        });
        EXPECT_TRUE(result);
        EXPECT_EQ(settings.outputFolder, folder);
    }
}

// The folder picker the user opens with Browse: its title is unknown here,
// so it is found as the dialog-class window that the settings dialog owns.
HWND WaitForPicker(HWND dialog) {
    for (int waited = 0; waited < 10000; waited += 50) {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExW(nullptr, candidate, kDialogClass, nullptr)) != nullptr) {
            if (IsWindowVisible(candidate) && GetWindow(candidate, GW_OWNER) == dialog) {
                return candidate;
            }
        }
        Sleep(50);
    }
    return nullptr;
}

std::wstring PathBoxText(HWND dialog) { return WideTextOf(Item(dialog, IDC_OUTPUT_PATH)); }

TEST(Browse, PickerStartsAtTheFolderAndReturnsTheChoice) {
    ScratchFolder scratch;
    std::string folder = scratch / "表の出力";
    ASSERT_TRUE(MakeFolder(folder));
    Settings settings = MakeSettings(folder);
    const Settings before = settings;
    bool result = RunDialog(&settings, [&](HWND dialog) {
        // Cancel in the picker changes nothing.
        SetPathBox(dialog, folder);
        PostClick(dialog, IDC_BROWSE);
        HWND picker = WaitForPicker(dialog);
        ASSERT_NE(picker, nullptr);
        Sleep(300);  // the picker selects the folder once it has initialised
        PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
        ASSERT_TRUE(WaitForWindowGone(picker));
        EXPECT_EQ(PathBoxText(dialog), WidePath(P(folder)));

        // OK returns the preselected folder: the path box gets the picker's
        // answer, so it is replaced even by an equal path; mark it first.
        SetPathBox(dialog, folder);
        PostClick(dialog, IDC_BROWSE);
        picker = WaitForPicker(dialog);
        ASSERT_NE(picker, nullptr);
        Sleep(300);
        SetPathBox(dialog, "marker");
        PostMessageA(picker, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitForWindowGone(picker));
        for (int i = 0; i < 50 && PathBoxText(dialog) == L"marker"; i++) Sleep(20);
        EXPECT_EQ(lstrcmpiW(PathBoxText(dialog).c_str(), WidePath(P(folder))), 0)
            << PathBoxText(dialog);
        Click(dialog, IDCANCEL);
    });
    EXPECT_FALSE(result);
    ExpectSameSettings(settings, before);
}

// An icon as a user sees it: drawn on a white square of its size.
std::vector<COLORREF> Drawn(HICON icon, int size) {
    std::vector<COLORREF> pixels;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PatBlt(dc, 0, 0, size, size, WHITENESS);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    for (int y = 0; y < size; y++) {
        for (int x = 0; x < size; x++) pixels.push_back(GetPixel(dc, x, y));
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

TEST(TitleBar, ShowsTheProgramsOwnIcon) {
    // The shell's icon for the program file is the program's first icon,
    // not a generic one for files of no known type.
    Settings settings = MakeSettings("C:\\");
    RunDialog(&settings, [&](HWND dialog) {
        struct Kind {
            WPARAM which;
            int size;
        };
        const Kind kinds[] = {{ICON_SMALL, GetSystemMetrics(SM_CXSMICON)},
                              {ICON_BIG, GetSystemMetrics(SM_CXICON)}};
        for (const Kind& kind : kinds) {
            SCOPED_TRACE(testing::Message() << "icon size " << kind.size);
            auto shown = reinterpret_cast<HICON>(SendMessageA(dialog, WM_GETICON, kind.which, 0));
            ASSERT_NE(shown, nullptr);
            auto own = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(IDI_APPLICATION_ICON),
                                                     IMAGE_ICON, kind.size, kind.size, 0));
            ASSERT_NE(own, nullptr);
            EXPECT_TRUE(Drawn(shown, kind.size) == Drawn(own, kind.size));
            DestroyIcon(own);
        }
        Click(dialog, IDCANCEL);
    });
}

// A point of the dialog's background in screen coordinates: the left margin,
// beside the first group box.
POINT BackgroundPoint(HWND dialog) {
    RECT r = Laid(dialog, 3, 40, 0, 0);
    POINT p{r.left, r.top};
    ClientToScreen(dialog, &p);
    return p;
}

TEST(Drag, BackgroundAnswersAsCaption) {
    Settings settings = MakeSettings("C:\\");
    RunDialog(&settings, [&](HWND dialog) {
        POINT p = BackgroundPoint(dialog);
        EXPECT_EQ(SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)), HTCAPTION);
        // The frame keeps its own answers.
        RECT window;
        GetWindowRect(dialog, &window);
        LONG closeX = window.right - GetSystemMetrics(SM_CXFRAME) - GetSystemMetrics(SM_CXSIZE) / 2;
        LONG captionY =
            window.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
        EXPECT_EQ(SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(closeX, captionY)), HTCLOSE);
        Click(dialog, IDCANCEL);
    });
}

TEST(Drag, DraggingTheBackgroundMovesTheDialog) {
    if (WindowManagerDrags()) GTEST_SKIP() << "a window manager moves the windows here";
    Settings settings = MakeSettings("C:\\");
    MoveCursorTo(600, 400);
    RunDialog(&settings, [&](HWND dialog) {
        // A click on a control still reaches the control.
        RECT box;
        GetWindowRect(Item(dialog, IDC_OUTPUT_PATH), &box);
        POINT inBox{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        SendMouse(0, inBox);
        SendMouse(MOUSEEVENTF_LEFTDOWN, inBox);
        SendMouse(MOUSEEVENTF_LEFTUP, inBox);
        for (int i = 0; i < 50 && FocusOfThreadOf(dialog) != Item(dialog, IDC_OUTPUT_PATH); i++) {
            Sleep(20);
        }
        EXPECT_EQ(FocusOfThreadOf(dialog), Item(dialog, IDC_OUTPUT_PATH));

        RECT before;
        GetWindowRect(dialog, &before);
        POINT p = BackgroundPoint(dialog);
        SendMouse(0, p);
        SendMouse(MOUSEEVENTF_LEFTDOWN, p);
        for (int step = 1; step <= 10; step++) {
            SendMouse(0, POINT{p.x + 6 * step, p.y + 4 * step});
        }
        SendMouse(MOUSEEVENTF_LEFTUP, POINT{p.x + 60, p.y + 40});
        RECT after;
        for (int i = 0; i < 50; i++) {
            GetWindowRect(dialog, &after);
            if (after.left != before.left) break;
            Sleep(20);
        }
        EXPECT_EQ(after.left - before.left, 60);
        EXPECT_EQ(after.top - before.top, 40);
        EXPECT_EQ(after.right - after.left, before.right - before.left);
        Click(dialog, IDCANCEL);
    });
}

}  // namespace
