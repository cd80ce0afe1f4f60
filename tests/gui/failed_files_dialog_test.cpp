// The list of files that could not be written, opened for real on this
// thread while a helper thread reads and drives it: the rows and their
// reasons, "再試行" through a scripted retry (the files it writes leave, the
// others show their new reason, the dialog ends when none remain), closing,
// sorting, the context menu and the size it remembers. Leaves a picture of
// the dialog in the demo folder.
#include "ui/failed_files_dialog_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/file_list_support.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/busy_window_win.h"
#include "ui/geometry_win.h"
#include "util/path.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kNameColumn = 0;
constexpr int kFolderColumn = 1;
constexpr int kReasonColumn = 2;
const std::string kInUse = "他のプログラムが使用中です";
const std::string kDiskFull = "ディスクの空き容量が足りません";
const std::string kForbidden = "書き込みが禁止されています";

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

// The tray icon shows while the files are tried again.
const bool g_busyClass = RegisterBusyWindowClass(GetModuleHandleW(nullptr)) != 0;

Settings MakeSettings() {
    Settings s{};
    s.outputMethod = OutputMethod::IntoOutputFolder;
    s.listDialogWidth = 500;
    s.listDialogHeight = 300;
    s.failedDialogWidth = 640;
    s.failedDialogHeight = 400;
    return s;
}

// Files as a run into an output folder leaves them: the sources exist in
// one scratch folder, the destinations are named in another.
class Failures {
  public:
    Failures() = default;
    ~Failures() {
        for (FailedFile& file : files_) std::free(file.item);
    }
    Failures(const Failures&) = delete;
    Failures& operator=(const Failures&) = delete;

    void Add(const std::string& name, ItemOutcome outcome, DWORD error) {
        WriteBytes(in / name, "memo\r\n");
        WorkItem* item = NewWorkItem(P(in / name), P(out / name));
        ASSERT_NE(item, nullptr);
        item->code = DetectionCode::ShiftJis;
        files_.push_back(FailedFile{item, ItemResult{outcome, error}});
    }
    FailedFile* files() { return files_.data(); }
    int count() const { return static_cast<int>(files_.size()); }
    const ItemResult& result(int i) const { return files_[i].result; }

    ScratchFolder in;
    ScratchFolder out;

  private:
    std::vector<FailedFile> files_;
};

// A retry whose answers the test writes: the named files are written, the
// others fail again with the given error. It notes what it was asked and
// whether the dialog could be used meanwhile.
struct RetryScript {
    std::set<std::string> written;
    DWORD error = ERROR_LOCK_VIOLATION;
    std::vector<std::string> tried;
    std::atomic<int> tries{0};  // read by the helper thread while tried grows
    HWND dialog = nullptr;
    bool enabledWhileTrying = false;
};

bool ScriptedRetry(FailedFile* file, void* context) {
    auto* script = static_cast<RetryScript*>(context);
    const std::string name = Cp932(FileNamePart(file->item->sourcePath));
    script->tried.push_back(name);
    script->tries++;
    if (script->dialog != nullptr && IsWindowEnabled(script->dialog)) {
        script->enabledWhileTrying = true;
    }
    if (script->written.count(name) != 0) {
        file->result = ItemResult{ItemOutcome::Converted, 0};
        return true;
    }
    file->result = ItemResult{ItemOutcome::NotWritten, script->error};
    return false;
}

// Opens the dialog on this thread and runs drive on the helper thread;
// returns what ShowFailedFilesDialog returned.
bool RunDialog(Settings* settings, Failures* failures, RetryScript* script,
               const std::function<void(HWND)>& drive) {
    bool result = false;
    bool appeared = DriveModal(
        kDialogClass, kFailedFilesTitle,
        [&] {
            result = ShowFailedFilesDialog(nullptr, settings, failures->files(), failures->count(),
                                           ScriptedRetry, script);
        },
        [&](HWND dialog) {
            script->dialog = dialog;
            drive(dialog);
        });
    EXPECT_TRUE(appeared) << "the dialog did not appear";
    return result;
}

// Clicks "再試行" and waits until the round of tries is over and the dialog
// serves its queue again (or is gone).
void RetryAndWait(HWND dialog, RetryScript* script, int triesBefore, int rows) {
    PostMessageA(GetDlgItem(dialog, IDC_RETRY), BM_CLICK, 0, 0);
    for (int waited = 0; waited < 20000; waited += 20) {
        if (!IsWindow(dialog)) return;
        if (script->tries == triesBefore + rows && IsWindowEnabled(dialog)) break;
        Sleep(20);
    }
    // Answered only once the dialog is back in its own loop.
    SendMessageA(dialog, WM_NULL, 0, 0);
}

// The system's message for the code as FormatMessage gives it, without the
// line end: what a user of this system reads for errors without words of ours.
std::string SystemMessage(DWORD error) {
    char text[1024] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, sizeof text, nullptr);
    std::string message = text;
    while (!message.empty() &&
           (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

TEST(FailedListing, RowsShowNameFolderAndTheReasonInWords) {
    Failures failures;
    failures.Add("a_in_use.txt", ItemOutcome::NotWritten, ERROR_SHARING_VIOLATION);
    failures.Add("b_locked.txt", ItemOutcome::NotWritten, ERROR_LOCK_VIOLATION);
    failures.Add("c_full.txt", ItemOutcome::NotWritten, ERROR_DISK_FULL);
    failures.Add("d_read_only.txt", ItemOutcome::NotWritten, ERROR_WRITE_PROTECT);
    failures.Add("e_held.txt", ItemOutcome::Unreadable, ERROR_SHARING_VIOLATION);
    failures.Add("f_too_long.txt", ItemOutcome::NotWritten, ERROR_FILENAME_EXCED_RANGE);
    failures.Add("g_no_rights.txt", ItemOutcome::Unreadable, ERROR_ACCESS_DENIED);
    Settings settings = MakeSettings();
    RetryScript script;
    bool result = RunDialog(&settings, &failures, &script, [&](HWND dialog) {
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FILE_COUNT)), "7 個のﾌｧｲﾙ");
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_RETRY)), "再試行(&R)");
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDCANCEL)), "閉じる");
        EXPECT_EQ(Column(dialog, kNameColumn),
                  (std::vector<std::string>{"a_in_use.txt", "b_locked.txt", "c_full.txt",
                                            "d_read_only.txt", "e_held.txt", "f_too_long.txt",
                                            "g_no_rights.txt"}));
        // A destination that could not be written is named in the output
        // folder; a source that could not be read, where it is.
        const std::string out = failures.out.path();
        const std::string in = failures.in.path();
        EXPECT_EQ(Column(dialog, kFolderColumn),
                  (std::vector<std::string>{out, out, out, out, in, out, in}));
        const std::string tooLong = SystemMessage(ERROR_FILENAME_EXCED_RANGE);
        const std::string noRights = SystemMessage(ERROR_ACCESS_DENIED);
        EXPECT_FALSE(tooLong.empty());
        EXPECT_FALSE(noRights.empty());
        EXPECT_EQ(Column(dialog, kReasonColumn),
                  (std::vector<std::string>{kInUse, kInUse, kDiskFull, kForbidden, kInUse, tooLong,
                                            noRights}));
        for (const std::string& reason : Column(dialog, kReasonColumn)) {
            EXPECT_EQ(reason.find_first_of("\r\n"), std::string::npos) << reason;
        }
        EXPECT_NE(GetPropW(dialog, kPropFailedFilesParam), nullptr);
        // At the remembered size, with the review's habits.
        EXPECT_EQ(GetWindowWidth(dialog), 640);
        EXPECT_EQ(GetWindowHeight(dialog), 400);
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_STYLE) & WS_THICKFRAME);
        SaveScreenshot(dialog, "failed-files");
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_FALSE(result);
    EXPECT_TRUE(script.tried.empty());
}

TEST(FailedRetry, WrittenFilesLeaveAndTheDialogEndsWhenNoneRemain) {
    Failures failures;
    failures.Add("a.txt", ItemOutcome::NotWritten, ERROR_DISK_FULL);
    failures.Add("b.txt", ItemOutcome::NotWritten, ERROR_SHARING_VIOLATION);
    failures.Add("c.txt", ItemOutcome::Unreadable, ERROR_SHARING_VIOLATION);
    failures.Add("d.txt", ItemOutcome::NotWritten, ERROR_WRITE_PROTECT);
    Settings settings = MakeSettings();
    RetryScript script;
    bool ended = false;
    bool result = RunDialog(&settings, &failures, &script, [&](HWND dialog) {
        // Nothing written: every row stays, each with its new reason.
        script.error = ERROR_LOCK_VIOLATION;
        RetryAndWait(dialog, &script, 0, 4);
        ASSERT_TRUE(IsWindow(dialog));
        EXPECT_EQ(Column(dialog, kReasonColumn),
                  (std::vector<std::string>{kInUse, kInUse, kInUse, kInUse}));
        // A destination is named now that the source was read.
        EXPECT_EQ(CellText(dialog, RowOf(dialog, "c.txt"), kFolderColumn), failures.out.path());

        // Two written: exactly their rows go, in the order shown.
        script.written = {"b.txt", "d.txt"};
        script.error = ERROR_HANDLE_DISK_FULL;
        RetryAndWait(dialog, &script, 4, 4);
        ASSERT_TRUE(IsWindow(dialog));
        EXPECT_EQ(Column(dialog, kNameColumn), (std::vector<std::string>{"a.txt", "c.txt"}));
        EXPECT_EQ(Column(dialog, kReasonColumn), (std::vector<std::string>{kDiskFull, kDiskFull}));
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FILE_COUNT)), "2 個のﾌｧｲﾙ");
        EXPECT_TRUE(IsWindowEnabled(dialog));

        // The last two written: the dialog ends by itself.
        script.written = {"a.txt", "c.txt"};
        RetryAndWait(dialog, &script, 8, 2);
        ended = WaitForWindowGone(dialog, 5000);
    });
    EXPECT_TRUE(ended);
    EXPECT_TRUE(result);
    EXPECT_EQ(script.tried,
              (std::vector<std::string>{"a.txt", "b.txt", "c.txt", "d.txt", "a.txt", "b.txt",
                                        "c.txt", "d.txt", "a.txt", "c.txt"}));
    // The dialog cannot be used while the files are tried.
    EXPECT_FALSE(script.enabledWhileTrying);
    for (int i = 0; i < failures.count(); i++) {
        EXPECT_EQ(failures.result(i).outcome, ItemOutcome::Converted) << i;
    }
}

TEST(FailedRetry, RetryingInTheOrderShownAndClosingWithFilesLeft) {
    Failures failures;
    failures.Add("b.txt", ItemOutcome::NotWritten, ERROR_DISK_FULL);
    failures.Add("a.txt", ItemOutcome::NotWritten, ERROR_SHARING_VIOLATION);
    failures.Add("c.txt", ItemOutcome::NotWritten, ERROR_SHARING_VIOLATION);
    Settings settings = MakeSettings();
    RetryScript script;
    script.written = {"c.txt"};
    bool result = RunDialog(&settings, &failures, &script, [&](HWND dialog) {
        ClickHeader(dialog, kNameColumn);  // by name, descending
        EXPECT_EQ(Column(dialog, kNameColumn),
                  (std::vector<std::string>{"c.txt", "b.txt", "a.txt"}));
        RetryAndWait(dialog, &script, 0, 3);
        ASSERT_TRUE(IsWindow(dialog));
        EXPECT_EQ(Column(dialog, kNameColumn), (std::vector<std::string>{"b.txt", "a.txt"}));
        PostMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_FALSE(result);
    EXPECT_EQ(script.tried, (std::vector<std::string>{"c.txt", "b.txt", "a.txt"}));
}

TEST(FailedClosing, CloseEscAndTheCloseBoxTryNothing) {
    Failures failures;
    failures.Add("a.txt", ItemOutcome::NotWritten, ERROR_SHARING_VIOLATION);
    int closer = 0;
    for (const auto& close : UserClosers()) {
        SCOPED_TRACE(testing::Message() << "closer " << closer++);
        Settings settings = MakeSettings();
        RetryScript script;
        script.written = {"a.txt"};
        EXPECT_FALSE(RunDialog(&settings, &failures, &script, close));
        EXPECT_TRUE(script.tried.empty());
        EXPECT_EQ(failures.result(0).outcome, ItemOutcome::NotWritten);
    }
}

TEST(FailedClosing, NothingToTellShowsNothing) {
    Settings settings = MakeSettings();
    RetryScript script;
    // Returns at once, without a window to close.
    EXPECT_TRUE(ShowFailedFilesDialog(nullptr, &settings, nullptr, 0, ScriptedRetry, &script));
    FailedFile none{};
    EXPECT_TRUE(ShowFailedFilesDialog(nullptr, &settings, &none, 0, ScriptedRetry, &script));
    EXPECT_TRUE(script.tried.empty());
}

TEST(FailedSorting, HeaderClicksSortAndReverse) {
    Failures failures;
    failures.Add("m.txt", ItemOutcome::NotWritten, ERROR_DISK_FULL);
    failures.Add("k.txt", ItemOutcome::NotWritten, ERROR_SHARING_VIOLATION);
    failures.Add("L.txt", ItemOutcome::NotWritten, ERROR_WRITE_PROTECT);
    Settings settings = MakeSettings();
    RetryScript script;
    RunDialog(&settings, &failures, &script, [&](HWND dialog) {
        // By name from the start; case is ignored.
        EXPECT_EQ(Column(dialog, kNameColumn),
                  (std::vector<std::string>{"k.txt", "L.txt", "m.txt"}));
        ClickHeader(dialog, kReasonColumn);
        std::vector<std::string> reasons = Column(dialog, kReasonColumn);
        ASSERT_EQ(reasons.size(), 3u);
        EXPECT_LT(lstrcmpiA(reasons[0].c_str(), reasons[1].c_str()), 0);
        EXPECT_LT(lstrcmpiA(reasons[1].c_str(), reasons[2].c_str()), 0);
        ClickHeader(dialog, kReasonColumn);
        std::vector<std::string> reversed(reasons.rbegin(), reasons.rend());
        EXPECT_EQ(Column(dialog, kReasonColumn), reversed);
        ClickHeader(dialog, kNameColumn);
        EXPECT_EQ(Column(dialog, kNameColumn),
                  (std::vector<std::string>{"k.txt", "L.txt", "m.txt"}));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    // The review's sort is its own.
    EXPECT_EQ(settings.listSortColumn, 0);
}

TEST(FailedLayout, ResizableNotBelowItsTemplateAndItsSizeRemembered) {
    Failures failures;
    failures.Add("a.txt", ItemOutcome::NotWritten, ERROR_DISK_FULL);
    Settings settings = MakeSettings();
    settings.failedDialogWidth = 700;
    settings.failedDialogHeight = 450;
    RetryScript script;
    RunDialog(&settings, &failures, &script, [&](HWND dialog) {
        EXPECT_EQ(GetWindowWidth(dialog), 700);
        EXPECT_EQ(GetWindowHeight(dialog), 450);
        const RECT list = RectInParent(List(dialog));
        const RECT retry = RectInParent(GetDlgItem(dialog, IDC_RETRY));
        ResizeWindowBy(dialog, 100, 50);
        // The list takes the room; the buttons keep to the corner.
        const RECT listAfter = RectInParent(List(dialog));
        const RECT retryAfter = RectInParent(GetDlgItem(dialog, IDC_RETRY));
        EXPECT_EQ(listAfter.right - list.right, 100);
        EXPECT_EQ(listAfter.bottom - list.bottom, 50);
        EXPECT_EQ(listAfter.left, list.left);
        EXPECT_EQ(retryAfter.left - retry.left, 100);
        EXPECT_EQ(retryAfter.top - retry.top, 50);
        EXPECT_EQ(retryAfter.right - retryAfter.left, retry.right - retry.left);

        // Never below the template's size.
        RECT templateRect{0, 0, 190, 142};
        MapDialogRect(dialog, &templateRect);
        ResizeWindowTo(dialog, 50, 50);
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, templateRect.right);
        EXPECT_EQ(client.bottom, templateRect.bottom);
        ResizeWindowTo(dialog, 810, 520);
        ShowWindow(dialog, SW_MAXIMIZE);
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    // The restored size, in fields of its own.
    EXPECT_EQ(settings.failedDialogWidth, 810);
    EXPECT_EQ(settings.failedDialogHeight, 520);
    EXPECT_EQ(settings.listDialogWidth, 500);
    EXPECT_EQ(settings.listDialogHeight, 300);
}

TEST(FailedContextMenu, RightClickOffersOpenFirstAndOpenFolder) {
    Failures failures;
    failures.Add("a.txt", ItemOutcome::NotWritten, ERROR_DISK_FULL);
    failures.Add("b.txt", ItemOutcome::NotWritten, ERROR_DISK_FULL);
    Settings settings = MakeSettings();
    RetryScript script;
    RunDialog(&settings, &failures, &script, [&](HWND dialog) {
        RightClickRow(dialog, 1);
        HWND popup = WaitForPopupMenu();
        ASSERT_NE(popup, nullptr) << "no context menu";
        auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(IDM_OPEN));
        ASSERT_EQ(GetMenuItemCount(menu), 2);
        EXPECT_EQ(GetMenuItemID(menu, 1), static_cast<UINT>(IDM_OPEN_FOLDER));
        SendKey(VK_ESCAPE);
        EXPECT_TRUE(WaitForWindowGone(popup, 3000) || !IsWindowVisible(popup));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
}

}  // namespace
