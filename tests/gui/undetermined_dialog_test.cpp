// The undetermined-files dialog as a user meets it, opened for real on this
// thread while a helper thread reads and drives it: what the rows show, how
// they sort, marking rows from the menus, what Execute and Close leave in the
// files, the layout when the dialog is resized, and the size it remembers.
// Leaves a picture of the dialog in the demo folder.
#include "ui/undetermined_dialog_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/run_win.h"
#include "engine/work_item_win.h"
#include "res/resource.h"
#include "ui/about_dialog_win.h"
#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/file_list_support.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/geometry_win.h"
#include "util/ptr_list.h"
#include "util/text.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

// "あい" then a line end, in each encoding; "漢字" in Shift-JIS and EUC-JP.
const std::string kSjisCrLf = "\x82\xA0\x82\xA2\r\n";
const std::string kEucLf = "\xA4\xA2\xA4\xA4\n";
const std::string kKanjiSjis = "\x8A\xBF\x8E\x9A\r\n";
const std::string kKanjiEuc = "\xB4\xC1\xBB\xFA\n";
// Bytes that read as EUC-JP (亜亜) and as Shift-JIS (half-width ｰ｡ｰ｡) alike,
// with no line end to tell the two apart: left for the user to decide, and
// shown by the list as they are.
const std::string kUndecided = "\xB0\xA1\xB0\xA1";
// "あ", an emoji and "い" in UTF-8: decided as UTF-8, but the emoji has no
// cell in Shift-JIS or EUC-JP.
const std::string kEmojiUtf8 = "\xE3\x81\x82\xF0\x9F\x98\x80\xE3\x81\x84\n";

// The run's own conversion choice is one direction: the review converts
// both ways whatever the run asked for.
Settings MakeSettings() {
    Settings s = RunSettings(OutputMethod::IntoOutputFolder);
    s.conversionMask = ConversionMask::IntoEucJp;
    return s;
}

// A work list made as the run makes it: sources in one scratch folder,
// destinations of the same names in another.
class Files {
  public:
    Files() : list_(PtrListCreate()) {}
    ~Files() { PtrListDestroy(list_); }
    Files(const Files&) = delete;
    Files& operator=(const Files&) = delete;

    // Writes the file and adds its item; forceUndetermined stands for text
    // the detection could not tell apart. In place, the item's destination
    // is its source.
    WorkItem* Add(const std::string& relative, const std::string& bytes,
                  bool forceUndetermined = false, bool inPlace = false) {
        std::string source = in / relative;
        std::size_t cut = relative.rfind('\\');
        if (cut != std::string::npos) {
            MakeFolder(in / relative.substr(0, cut));
            MakeFolder(out / relative.substr(0, cut));
        }
        WriteBytes(source, bytes);
        WorkItem* item = MakeWorkItem(P(source), P(inPlace ? source : out / relative));
        if (item == nullptr) return nullptr;
        if (forceUndetermined) item->code = DetectionCode::Undetermined;
        PtrListAppend(list_, item);
        return item;
    }
    WorkList* list() { return list_; }

    ScratchFolder in;
    ScratchFolder out;

  private:
    WorkList* list_;
};

// Opens the dialog on this thread and runs drive on the helper thread;
// returns what the review returned. The run's review is what the user
// meets: the dialog, then the files converted as marked.
bool RunDialog(Settings* settings, WorkList* list, const std::function<void(HWND)>& drive) {
    bool result = false;
    bool appeared = DriveModal(
        kDialogClass, kUndeterminedFilesTitle,
        [&] { result = ReviewUndecidedFiles(settings, list); }, drive);
    EXPECT_TRUE(appeared) << "the dialog did not appear";
    return result;
}

TEST(Listing, UndecidedFilesOnlySortedByNameAllIgnored) {
    Files files;
    files.Add("b.txt", kUndecided);
    files.Add("sub\\a.txt", kUndecided);
    files.Add("decided.txt", kEucLf);
    files.Add("c.bin", std::string("PNG\x1A\x01\x02", 6));
    Settings settings = MakeSettings();
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FILE_COUNT)), "3 個のﾌｧｲﾙ");
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"a.txt", "b.txt", "c.bin"}));
        EXPECT_EQ(Column(dialog, 1),
                  (std::vector<std::string>{"無視する", "無視する", "無視する"}));
        EXPECT_EQ(Column(dialog, 2),
                  (std::vector<std::string>{files.in / "sub", files.in.path(), files.in.path()}));
        EXPECT_EQ(CellText(dialog, 0, 3), kUndecided);
        EXPECT_NE(GetPropW(dialog, kPropUndeterminedFilesHistoricName), nullptr);
        // At the remembered size.
        EXPECT_EQ(GetWindowWidth(dialog), 640);
        EXPECT_EQ(GetWindowHeight(dialog), 400);
        // Every row has an icon of its own in the image list.
        auto images = reinterpret_cast<HIMAGELIST>(
            SendMessageA(List(dialog), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
        ASSERT_NE(images, nullptr);
        EXPECT_EQ(ImageList_GetImageCount(images), 3);
        SaveScreenshot(dialog, "undetermined-files");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(Sorting, HeaderClicksSortAndReverse) {
    Files files;
    files.Add("z\\m.txt", kUndecided);
    files.Add("x\\k.txt", kUndecided);
    files.Add("y\\L.txt", kUndecided);
    Settings settings = MakeSettings();
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        // Case is ignored: L sorts between k and m.
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"k.txt", "L.txt", "m.txt"}));
        ClickHeader(dialog, 2);
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"k.txt", "L.txt", "m.txt"}));
        EXPECT_EQ(Column(dialog, 2),
                  (std::vector<std::string>{files.in / "x", files.in / "y", files.in / "z"}));
        EXPECT_EQ(settings.listSortColumn, 2);
        EXPECT_TRUE(settings.listSortAscending);
        ClickHeader(dialog, 2);
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"m.txt", "L.txt", "k.txt"}));
        EXPECT_FALSE(settings.listSortAscending);
        ClickHeader(dialog, 0);
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"k.txt", "L.txt", "m.txt"}));
        EXPECT_EQ(settings.listSortColumn, 0);
        EXPECT_TRUE(settings.listSortAscending);
        // A new action text sorts by what the row now shows.
        ClickHeader(dialog, 1);
        Select(dialog, {RowOf(dialog, "m.txt")});
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_COPY, 0);
        Select(dialog, {RowOf(dialog, "k.txt")});
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_EUC_JP, 0);
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_IGNORE, 0);
        // Marking does not re-sort; the next click on the column, descending, does.
        ClickHeader(dialog, 1);
        std::vector<std::string> actions = Column(dialog, 1);
        ASSERT_EQ(actions.size(), 3u);
        EXPECT_GT(lstrcmpiA(actions[0].c_str(), actions[2].c_str()), 0) << actions[0];
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    // The last sort stays in the record for the rest of the run.
    EXPECT_EQ(settings.listSortColumn, 1);
    EXPECT_FALSE(settings.listSortAscending);
}

TEST(Sorting, StartsFromTheRecordsOrder) {
    Files files;
    files.Add("a.txt", kUndecided);
    files.Add("c.txt", kUndecided);
    files.Add("b.txt", kUndecided);
    Settings settings = MakeSettings();
    settings.listSortAscending = false;
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"c.txt", "b.txt", "a.txt"}));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(Marking, CopyFromTheEditMenuThenExecute) {
    Files files;
    files.Add("one.txt", kUndecided);
    files.Add("two.bin", std::string("\x01\x02\x00\x03", 4));
    files.Add("three.txt", kUndecided);
    Settings settings = MakeSettings();
    bool result = RunDialog(&settings, files.list(), [&](HWND dialog) {
        Select(dialog, {RowOf(dialog, "one.txt"), RowOf(dialog, "two.bin")});
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_COPY, 0);
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "one.txt"), 1), "コピーする");
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "two.bin"), 1), "コピーする");
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "three.txt"), 1), "無視する");
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(ReadBytes(files.out / "one.txt"), kUndecided);
    EXPECT_EQ(ReadBytes(files.out / "two.bin"), std::string("\x01\x02\x00\x03", 4));
    EXPECT_EQ(ReadBytes(files.out / "three.txt"), "<missing>");
}

TEST(Marking, ConversionsGoTheMarkedWayWhateverTheRunsDirection) {
    Files files;
    files.Add("euc.txt", kEucLf, true);
    files.Add("sjis.txt", kKanjiSjis, true);
    Settings settings = MakeSettings();
    settings.conversionMask = ConversionMask::IntoEucJp;  // the run's own switch plays no part
    bool result = RunDialog(&settings, files.list(), [&](HWND dialog) {
        Select(dialog, {RowOf(dialog, "euc.txt")});
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_EUC_JP, 0);
        Select(dialog, {RowOf(dialog, "sjis.txt")});
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_SHIFT_JIS, 0);
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "euc.txt"), 1), "Shift-JIS へ変換する");
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "sjis.txt"), 1), "日本語EUC へ変換する");
        // Enter in the list presses the default button.
        SetForegroundWindow(dialog);
        SetFocus(List(dialog));
        PostMessageA(List(dialog), WM_KEYDOWN, VK_RETURN, 0);
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(ReadBytes(files.out / "euc.txt"), kSjisCrLf);
    EXPECT_EQ(ReadBytes(files.out / "sjis.txt"), kKanjiEuc);
}

TEST(Marking, ExecuteTwiceInARowConvertsOnce) {
    // Rewriting in place: a second Execute would take the converted file
    // for EUC-JP again and garble it.
    Files files;
    ASSERT_NE(files.Add("memo.txt", kKanjiEuc, true, true), nullptr);
    Settings settings = MakeSettings();
    bool result = RunDialog(&settings, files.list(), [&](HWND dialog) {
        Select(dialog, {0});
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_EUC_JP, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(ReadBytes(files.in / "memo.txt"), kKanjiSjis);
}

TEST(Closing, CloseEscAndTheCloseBoxProcessNothing) {
    Files files;
    files.Add("a.txt", kUndecided);
    files.Add("b.txt", kEucLf, true);
    std::vector<std::function<void(HWND)>> closers = UserClosers();
    // "閉じる(&C)" in the menu bar.
    closers.push_back([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    int closer = 0;
    for (const auto& close : closers) {
        SCOPED_TRACE(testing::Message() << "closer " << closer++);
        Settings settings = MakeSettings();
        bool result = RunDialog(&settings, files.list(), [&](HWND dialog) {
            Select(dialog, {0, 1});
            SendMessageA(dialog, WM_COMMAND, IDM_MARK_COPY, 0);
            close(dialog);
        });
        EXPECT_FALSE(result);
        EXPECT_EQ(ReadBytes(files.out / "a.txt"), "<missing>");
        EXPECT_EQ(ReadBytes(files.out / "b.txt"), "<missing>");
        // The marks stay on the items, which the caller frees.
        for (int i = 0; i < 2; i++) {
            auto* marked = static_cast<WorkItem*>(PtrListAt(files.list(), i));
            marked->code = DetectionCode::Undetermined;
        }
    }
}

TEST(Closing, ExecuteWithEverythingIgnoredWritesNothing) {
    Files files;
    files.Add("a.txt", kUndecided);
    files.Add("b.txt", kEucLf, true);
    Settings settings = MakeSettings();
    bool result = RunDialog(&settings, files.list(),
                            [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); });
    EXPECT_TRUE(result);
    EXPECT_EQ(ReadBytes(files.out / "a.txt"), "<missing>");
    EXPECT_EQ(ReadBytes(files.out / "b.txt"), "<missing>");
}

TEST(NoDialog, NothingUndecidedShowsNothing) {
    Files files;
    Settings settings = MakeSettings();
    EXPECT_TRUE(ShowUndeterminedFilesDialog(nullptr, &settings, files.list()));
    files.Add("a.txt", kEucLf);
    MakeFolder(files.in / "folder");
    WorkItem* folder = MakeWorkItem(P(files.in / "folder"), P(files.out / "folder"));
    ASSERT_NE(folder, nullptr);
    PtrListAppend(files.list(), folder);
    ASSERT_EQ(folder->code, DetectionCode::Directory);
    // Returns at once, without a window to close.
    EXPECT_TRUE(ShowUndeterminedFilesDialog(nullptr, &settings, files.list()));
    EXPECT_EQ(ReadBytes(files.out / "a.txt"), "<missing>");
}

TEST(Contents, ZeroBytesShowAsFFAndOnly1023BytesShow) {
    Files files;
    files.Add("zeros.bin", std::string("ab\0cd\0", 6));
    files.Add("long.txt", std::string(2000, 'x') + "\xE9");
    Settings settings = MakeSettings();
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "zeros.bin"), 3),
                  "ab\xFF"
                  "cd\xFF");
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "long.txt"), 3), std::string(1023, 'x'));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(Contents, AUtf8FileThatDidNotFitReadsAsTextAndConvertsWithGetaMarks) {
    Files files;
    WorkItem* item = files.Add("emoji.txt", kEmojiUtf8);
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item->code, DetectionCode::Utf8);
    // As the run hands it over when the conversion into Shift-JIS found the emoji.
    MarkForReview(item, ItemResult{ItemOutcome::NoCell, 0, 0x1F600});
    // The same text in UTF-16, which reads and converts the same.
    const std::string utf16 = std::string("\xFF\xFE\x42\x30\x3D\xD8\x00\xDE\x44\x30\n\0", 12);
    WorkItem* item16 = files.Add("emoji16.txt", utf16);
    ASSERT_EQ(item16->code, DetectionCode::Utf16Le);
    MarkForReview(item16, ItemResult{ItemOutcome::NoCell, 0, 0x1F600});
    // The text as a person reads it, the emoji as 〓 and named in front.
    const std::string shown = "[U+1F600] \x82\xA0\x81\xAC\x82\xA2\n";
    Settings settings = MakeSettings();
    bool result = RunDialog(&settings, files.list(), [&](HWND dialog) {
        int row = RowOf(dialog, "emoji.txt");
        EXPECT_EQ(CellText(dialog, row, 1), "無視する");
        EXPECT_EQ(CellText(dialog, row, 3), shown);
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "emoji16.txt"), 3), shown);
        Select(dialog, {row, RowOf(dialog, "emoji16.txt")});
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_EUC_JP, 0);
        row = RowOf(dialog, "emoji.txt");
        EXPECT_EQ(CellText(dialog, row, 1), "Shift-JIS へ変換する");
        EXPECT_EQ(CellText(dialog, row, 3), shown);  // still read as UTF-8
        // The contents column in view, for the picture.
        SendMessageA(List(dialog), LVM_SCROLL, 400, 0);
        SaveScreenshot(dialog, "undetermined-files-utf8");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(result);
    // Converted from UTF-8, 〓 where the emoji was, CR LF as in all Shift-JIS output.
    EXPECT_EQ(ReadBytes(files.out / "emoji.txt"), "\x82\xA0\x81\xAC\x82\xA2\r\n");
    EXPECT_EQ(ReadBytes(files.out / "emoji16.txt"), "\x82\xA0\x81\xAC\x82\xA2\r\n");
    EXPECT_EQ(ReadBytes(files.in / "emoji.txt"), kEmojiUtf8);
}

TEST(Contents, ThePreviewFollowsTheChosenAction) {
    Files files;
    files.Add("memo.txt", kUndecided);
    Settings settings = MakeSettings();
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        // Ignored: the bytes as they are (half-width katakana in code page 932).
        EXPECT_EQ(CellText(dialog, 0, 3), kUndecided);
        // Taken as EUC-JP: read as EUC-JP, shown as 亜亜.
        Select(dialog, {0});
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_EUC_JP, 0);
        EXPECT_EQ(CellText(dialog, 0, 3), "\x88\x9F\x88\x9F");
        // Taken as Shift-JIS, or copied: the bytes again.
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_SHIFT_JIS, 0);
        EXPECT_EQ(CellText(dialog, 0, 3), kUndecided);
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_COPY, 0);
        EXPECT_EQ(CellText(dialog, 0, 3), kUndecided);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

// Where a control sits in the dialog's client area.
RECT ItemRect(HWND dialog, int id) { return RectInParent(GetDlgItem(dialog, id)); }

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

void ExpectMoved(const RECT& before, const RECT& after, int dx, int dy, int dw, int dh) {
    RECT expected{before.left + dx, before.top + dy, before.right + dx + dw,
                  before.bottom + dy + dh};
    EXPECT_TRUE(EqualRect(&after, &expected))
        << Describe(after) << " instead of " << Describe(expected);
}

TEST(Layout, ControlsFollowTheFrame) {
    Files files;
    files.Add("a.txt", kUndecided);
    Settings settings = MakeSettings();
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        const int ids[] = {IDC_FILE_LIST, IDOK, IDCANCEL, IDC_FILE_COUNT};
        RECT before[4];
        for (int i = 0; i < 4; i++) before[i] = ItemRect(dialog, ids[i]);
        HWND topText = GetWindow(GetDlgItem(dialog, IDC_FILE_LIST), GW_HWNDPREV);
        RECT topBefore = RectInParent(topText);

        ResizeWindowBy(dialog, 100, 50);
        ExpectMoved(before[0], ItemRect(dialog, IDC_FILE_LIST), 0, 0, 100, 50);
        ExpectMoved(before[1], ItemRect(dialog, IDOK), 100, 50, 0, 0);
        ExpectMoved(before[2], ItemRect(dialog, IDCANCEL), 100, 50, 0, 0);
        ExpectMoved(before[3], ItemRect(dialog, IDC_FILE_COUNT), 0, 50, 100, 0);
        ExpectMoved(topBefore, RectInParent(topText), 0, 0, 0, 0);

        // Minimising and restoring changes nothing.
        for (int i = 0; i < 4; i++) before[i] = ItemRect(dialog, ids[i]);
        ShowWindow(dialog, SW_MINIMIZE);
        ShowWindow(dialog, SW_RESTORE);
        for (int i = 0; i < 4; i++) ExpectMoved(before[i], ItemRect(dialog, ids[i]), 0, 0, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    // The restored size, remembered for the settings file.
    EXPECT_EQ(settings.listDialogWidth, 740);
    EXPECT_EQ(settings.listDialogHeight, 450);
}

TEST(Layout, NeverSmallerThanTheTemplate) {
    Files files;
    files.Add("a.txt", kUndecided);
    Settings settings = MakeSettings();
    // A remembered size below the template's opens at the template's.
    settings.listDialogWidth = 50;
    settings.listDialogHeight = -5;
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        RECT client;
        GetClientRect(dialog, &client);
        RECT templateRect{0, 0, 190, 142};
        MapDialogRect(dialog, &templateRect);
        EXPECT_EQ(client.right, templateRect.right);
        LONG width = GetWindowWidth(dialog), height = GetWindowHeight(dialog);
        MINMAXINFO info{};
        SendMessageA(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(info.ptMinTrackSize.x, width);
        EXPECT_EQ(info.ptMinTrackSize.y, height);
        ResizeWindowTo(dialog, 600, 400);
        ResizeWindowTo(dialog, 100, 100);
        EXPECT_EQ(GetWindowWidth(dialog), width);
        EXPECT_EQ(GetWindowHeight(dialog), height);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(Layout, ClosingMaximisedStoresTheRestoredSize) {
    Files files;
    files.Add("a.txt", kUndecided);
    Settings settings = MakeSettings();
    settings.listDialogWidth = 700;
    settings.listDialogHeight = 450;
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        ShowWindow(dialog, SW_MAXIMIZE);
        EXPECT_GT(GetWindowWidth(dialog), 700);
        // The list fills the maximised dialog.
        RECT list = ItemRect(dialog, IDC_FILE_LIST);
        EXPECT_GT(list.right - list.left, 700 - 100);
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(settings.listDialogWidth, 700);
    EXPECT_EQ(settings.listDialogHeight, 450);
}

TEST(ContextMenu, RightClickOffersOpenFirstAndMarksTheRows) {
    Files files;
    files.Add("a.txt", kUndecided);
    files.Add("b.txt", kUndecided);
    Settings settings = MakeSettings();
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        RightClickRow(dialog, 1);
        HWND popup = WaitForPopupMenu();
        ASSERT_NE(popup, nullptr) << "no context menu";
        auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(IDM_OPEN));
        EXPECT_EQ(GetMenuItemCount(menu), 7);
        // "コピーする(&C)" by its mnemonic, for the row that was clicked.
        SendKey('C');
        ASSERT_TRUE(WaitForWindowGone(popup, 3000));
        SendMessageA(dialog, WM_NULL, 0, 0);
        EXPECT_EQ(CellText(dialog, 1, 1), "コピーする");
        EXPECT_EQ(CellText(dialog, 0, 1), "無視する");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

TEST(About, OpensTheAboutBoxOwnedByTheDialogOnce) {
    Files files;
    files.Add("a.txt", kUndecided);
    Settings settings = MakeSettings();
    RunDialog(&settings, files.list(), [&](HWND dialog) {
        // Posted: the box runs its own modal loop on the dialog's thread.
        PostMessageA(dialog, WM_COMMAND, IDM_ABOUT, 0);
        HWND box = WaitForWindow(kDialogClass, L"TAVELIN について", dialog);
        ASSERT_NE(box, nullptr) << "no about box owned by the dialog";
        EXPECT_FALSE(IsWindowEnabled(dialog));
        // Chosen again while it is open: the same box, no second one.
        PostMessageA(dialog, WM_COMMAND, IDM_ABOUT, 0);
        Sleep(300);
        SendMessageA(box, WM_NULL, 0, 0);
        int boxes = 0;
        HWND candidate = nullptr;
        while ((candidate = FindWindowExW(nullptr, candidate, kDialogClass, L"TAVELIN について")) !=
               nullptr) {
            if (IsWindowVisible(candidate)) boxes++;
        }
        EXPECT_EQ(boxes, 1);
        EXPECT_TRUE(IsWindow(box));
        PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(WaitForWindowGone(box));
        EXPECT_TRUE(IsWindowEnabled(dialog));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

}  // namespace
