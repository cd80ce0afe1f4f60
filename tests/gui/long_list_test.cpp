// The file lists with far more rows than a screen shows, where the list view
// asks the program only for the rows it draws: rows far below the first
// screen read right after a sort and after marking them all, the selection
// follows its files through a sort, a file that went away before its row was
// shown, Ctrl+A, and the count line after a retry took rows away.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/work_item_win.h"
#include "res/resource.h"
#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/file_list_support.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/busy_window_win.h"
#include "ui/failed_files_dialog_win.h"
#include "ui/undetermined_dialog_win.h"
#include "util/ptr_list.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kFiles = 300;
constexpr int kGone = 150;

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);
const bool g_busyClass = RegisterBusyWindowClass(GetModuleHandleW(nullptr)) != 0;

std::string Name(const char* stem, int i) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%03d.txt", stem, i);
    return name;
}

// Numbers in another order than the names; B0 A1 reads as half-width ｰ｡ in
// Shift-JIS and as 亜 (88 9F in code page 932) in EUC-JP.
int Number(int i) { return i * 7 % kFiles; }
std::string Bytes(int i) { return "memo " + std::to_string(1000 + Number(i)) + " \xB0\xA1"; }
std::string ReadAsEucJp(int i) { return "memo " + std::to_string(1000 + Number(i)) + " \x88\x9F"; }

int RowImage(HWND dialog, int row) {
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = -2;
    SendMessageW(List(dialog), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

struct Cell {
    int row;
    int column;
    std::string text;
};

// One thing a user does, and what the list then shows.
struct Step {
    const char* doing;
    std::function<void(HWND)> act;
    std::vector<Cell> cells;
    std::vector<int> selected;  // when not empty
};

void Check(HWND dialog, const Step& step) {
    SCOPED_TRACE(step.doing);
    step.act(dialog);
    for (const Cell& cell : step.cells) {
        EXPECT_EQ(CellText(dialog, cell.row, cell.column), cell.text)
            << "row " << cell.row << ", column " << cell.column;
    }
    if (!step.selected.empty()) {
        EXPECT_EQ(SelectedRows(dialog), step.selected);
    }
}

// Opens the list on this thread and takes the steps in it from a helper
// thread, then closes it.
void TakeSteps(const wchar_t* title, const std::function<void()>& open,
               const std::vector<Step>& steps) {
    EXPECT_TRUE(DriveModal(kDialogClass, title, open, [&](HWND dialog) {
        for (const Step& step : steps) Check(dialog, step);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }));
}

std::vector<int> Rows(int from, int count) {
    std::vector<int> rows;
    for (int row = from; row < from + count; row++) rows.push_back(row);
    return rows;
}

TEST(LongReview, RowsFarBelowReadRightAfterSortingAndMarking) {
    ScratchFolder in;
    WorkList* list = PtrListCreate();
    int last = 0;  // the file whose text sorts last
    for (int i = 0; i < kFiles; i++) {
        ASSERT_TRUE(WriteBytes(in / Name("file", i), Bytes(i)));
        WorkItem* item = NewWorkItem(P(in / Name("file", i)), P(in / Name("file", i)));
        ASSERT_NE(item, nullptr);
        item->code = DetectionCode::Undetermined;
        PtrListAppend(list, item);
        if (Number(i) > Number(last)) last = i;
    }
    const std::string ignored = "無視する";
    const std::string asEucJp = "Shift-JIS へ変換する";
    Settings settings = RunSettings(OutputMethod::RewriteInPlace);
    TakeSteps(kUndeterminedFilesTitle,
              [&] { ShowUndeterminedFilesDialog(nullptr, &settings, list); },
              {
                  {"opened, then a file far below went away before its row was shown",
                   [&](HWND dialog) {
                       EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FILE_COUNT)), "300 個のﾌｧｲﾙ");
                       EXPECT_EQ(RowCount(dialog), kFiles);
                       EXPECT_TRUE(DeleteFileA((in / Name("file", kGone)).c_str()));
                       // Icons go by the file's type: the same for a file that is gone.
                       EXPECT_GE(RowImage(dialog, kGone), 0);
                       EXPECT_EQ(RowImage(dialog, kGone), RowImage(dialog, kFiles - 1));
                   },
                   {{kGone, 0, Name("file", kGone)},
                    {kGone, 1, ignored},
                    {kGone, 2, in.path()},
                    {kGone, 3, ""},
                    {kFiles - 1, 0, Name("file", kFiles - 1)},
                    {kFiles - 1, 3, Bytes(kFiles - 1)}},
                   {}},
                  {"two rows selected, sorted by name descending",
                   [](HWND dialog) {
                       Select(dialog, {0, 5});
                       ClickHeader(dialog, 0);
                   },
                   {{0, 0, Name("file", kFiles - 1)},
                    {kFiles - 1, 0, Name("file", 0)},
                    {kFiles - 6, 0, Name("file", 5)},
                    {kFiles - 6, 3, Bytes(5)}},
                   {kFiles - 6, kFiles - 1}},
                  {"sorted by contents",
                   [](HWND dialog) { NotifyColumnClick(dialog, 3); },
                   {{0, 0, Name("file", kGone)}, {kFiles - 1, 0, Name("file", last)}},
                   {}},
                  {"every row selected with Ctrl+A and taken as EUC-JP",
                   [](HWND dialog) {
                       PressCtrlA(dialog);
                       SendMessageA(dialog, WM_COMMAND, IDM_MARK_EUC_JP, 0);
                   },
                   {{kFiles - 1, 1, asEucJp},
                    {kFiles - 1, 3, ReadAsEucJp(last)},
                    {kFiles / 2, 1, asEucJp},
                    {0, 3, ""}},
                   Rows(0, kFiles)},
              });
    PtrListDestroy(list);
}

// Writes the files whose number is even; the others are still in use.
bool WriteEven(FailedFile* file, void* context) {
    const int number = std::atoi(Cp932(FileNamePart(file->item->sourcePath)).c_str() + 1);
    const bool written = number % 2 == 0;
    file->result = written ? ItemResult{ItemOutcome::Copied, 0}
                           : ItemResult{ItemOutcome::NotWritten, ERROR_SHARING_VIOLATION};
    ++*static_cast<int*>(context);
    return written;
}

TEST(LongFailures, CtrlASelectsEveryRowAndRetriedRowsLeave) {
    ScratchFolder in;
    ScratchFolder out;
    std::vector<FailedFile> files;
    for (int i = 0; i < 120; i++) {
        WorkItem* item = NewWorkItem(P(in / Name("f", i)), P(out / Name("f", i)));
        ASSERT_NE(item, nullptr);
        files.push_back(FailedFile{item, ItemResult{ItemOutcome::NotWritten, ERROR_DISK_FULL}});
    }
    const std::string inUse = "他のプログラムが使用中です";
    int tries = 0;
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, out.path());
    TakeSteps(kFailedFilesTitle,
              [&] {
                  ShowFailedFilesDialog(nullptr, &settings, files.data(),
                                        static_cast<int>(files.size()), WriteEven, &tries);
              },
              {
                  {"every row selected with Ctrl+A",
                   PressCtrlA,
                   {{119, 0, Name("f", 119)}},
                   Rows(0, 120)},
                  {"retried, the even ones written",
                   [&](HWND dialog) {
                       PostMessageA(GetDlgItem(dialog, IDC_RETRY), BM_CLICK, 0, 0);
                       // The dialog is disabled until the round is over.
                       for (int waited = 0;
                            waited < 20000 && (tries < 120 || !IsWindowEnabled(dialog));
                            waited += 20) {
                           Sleep(20);
                       }
                       SendMessageA(dialog, WM_NULL, 0, 0);
                       EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FILE_COUNT)), "60 個のﾌｧｲﾙ");
                       EXPECT_EQ(RowCount(dialog), 60);
                   },
                   {{59, 0, Name("f", 119)}, {59, 2, inUse}, {30, 0, Name("f", 61)}},
                   {}},
              });
    for (FailedFile& file : files) std::free(file.item);
}

}  // namespace
