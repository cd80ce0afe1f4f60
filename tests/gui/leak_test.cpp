// The settings dialog opened and closed many times, as a user would, the
// folder picker opened from it, the about box with its link, the review of
// undecided files with its rows sorted and marked, and the list of files
// that could not be written with its retries: afterwards the process must
// hold no more kernel handles, GDI objects (the dialogs' fonts, the list's
// image list and the files' icons, the tray's pictures), USER objects (the
// dialogs, their title-bar icons, the menus, the busy window) or heap blocks
// (the picker's item lists, the rows' texts) than before.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "res/resource.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/resource_counts.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "app/run_win.h"
#include "engine/work_item_win.h"
#include "ui/about_dialog_win.h"
#include "ui/about_template.h"
#include "ui/busy_window_win.h"
#include "ui/failed_files_dialog_win.h"
#include "ui/settings_dialog_win.h"
#include "ui/undetermined_dialog_win.h"
#include "util/text.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kWarmUp = 3;

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

// The settings dialog with all it can show: the conversion choices and the
// warning about the folder.
Settings MakeSettings(const std::string& folder) {
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, folder);
    settings.dialogBeforeRun = true;
    settings.outputFolderWarning = true;
    return settings;
}

// Opens the dialog on this thread while drive acts on it from a helper
// thread; false when it did not appear.
bool RunDialog(Settings* settings, bool* result, const std::function<void(HWND)>& drive) {
    return DriveModal(
        kDialogClass, kSettingsDialogTitle,
        [&] { *result = ShowSettingsDialog(nullptr, settings); }, drive);
}

// The picker is the dialog-class window that the settings dialog owns.
HWND WaitForPicker(HWND dialog) {
    for (int waited = 0; waited < 10000; waited += 20) {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExW(nullptr, candidate, kDialogClass, nullptr)) != nullptr) {
            if (IsWindowVisible(candidate) && GetWindow(candidate, GW_OWNER) == dialog) {
                return candidate;
            }
        }
        Sleep(20);
    }
    return nullptr;
}

// Wine keeps a few GDI objects from each of the first dialogs of a process in
// caches of bounded size (about 30 objects over the first ten dialogs): they
// are filled once, before anything is counted.
void FillDialogCaches() {
    static bool filled = false;
    if (filled) return;
    filled = true;
    Settings settings = MakeSettings("C:\\");
    for (int i = 0; i < 20; i++) {
        bool result = false;
        RunDialog(&settings, &result,
                  [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
    }
}

}  // namespace

TEST(Leaks, SettingsDialogOpenedAndClosed) {
    FillDialogCaches();
    ScratchFolder scratch;
    Settings settings = MakeSettings(scratch.path());
    int appeared = 0;
    int confirmed = 0;
    int opened = 0;
    // OK and Cancel in turn, as both end the dialog.
    ResourceChange change = CountAround("settings dialog, OK or Cancel", kWarmUp, 100, [&] {
        bool result = false;
        bool ok = opened++ % 2 == 0;
        if (RunDialog(&settings, &result, [&](HWND dialog) {
                PostMessageA(dialog, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
            })) {
            appeared++;
        }
        if (result) confirmed++;
    });
    EXPECT_EQ(appeared, opened);
    EXPECT_EQ(confirmed, (opened + 1) / 2);
    EXPECT_EQ(GrowthOf(change), "");
}

TEST(Leaks, FolderPickerOpenedFromTheDialog) {
    FillDialogCaches();
    ScratchFolder scratch;
    std::string folder = scratch / "出力";
    ASSERT_TRUE(MakeFolder(folder));
    Settings settings = MakeSettings(folder);
    int picked = 0;
    int opened = 0;
    // The picker's OK (an item list to convert and free) and Cancel in turn.
    ResourceChange change = CountAround("folder picker, OK or Cancel", kWarmUp, 30, [&] {
        bool result = false;
        bool ok = opened++ % 2 == 0;
        RunDialog(&settings, &result, [&](HWND dialog) {
            // Posted: the picker runs its own modal loop on the dialog's thread.
            PostMessageA(dialog, WM_COMMAND, IDC_BROWSE, 0);
            HWND picker = WaitForPicker(dialog);
            if (picker == nullptr) return;
            // It selects the starting folder once it has initialised.
            Sleep(100);
            PostMessageA(picker, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
            if (!WaitForWindowGone(picker)) return;
            if (ok) picked++;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    });
    EXPECT_EQ(picked, (opened + 1) / 2);
    EXPECT_EQ(GrowthOf(change), "");
}

TEST(Leaks, UndeterminedFilesDialogOpenedAndClosed) {
    FillDialogCaches();
    ScratchFolder in;
    ScratchFolder out;
    WorkList* list = PtrListCreate();
    const char* names[] = {"a.txt", "b.png", "c.bin"};
    for (const char* name : names) {
        // EUC-JP and Shift-JIS alike, no line end: left for the user to decide.
        ASSERT_TRUE(WriteBytes(in / name, "\xB0\xA1\xB0\xA1"));
        WorkItem* item = MakeWorkItem(P(in / name), P(out / name));
        ASSERT_NE(item, nullptr);
        PtrListAppend(list, item);
    }
    Settings settings = MakeSettings(out.path());
    settings.listDialogWidth = 640;
    settings.listDialogHeight = 400;
    settings.listSortAscending = true;
    int appeared = 0;
    int opened = 0;
    // Closed and executed in turn (every row back on "ignore", so nothing is
    // written), after a sort and a mark that refills a row with a new icon.
    ResourceChange change = CountAround("undetermined-files dialog", kWarmUp, 50, [&] {
        bool execute = opened++ % 2 == 0;
        if (DriveModal(
                kDialogClass, kUndeterminedFilesTitle,
                [&] { ReviewUndecidedFiles(&settings, list); },
                [&](HWND dialog) {
                    HWND rows = GetDlgItem(dialog, IDC_FILE_LIST);
                    NMLISTVIEW click{};
                    click.hdr.hwndFrom = rows;
                    click.hdr.idFrom = IDC_FILE_LIST;
                    click.hdr.code = LVN_COLUMNCLICK;
                    click.iSubItem = 2;
                    SendMessageA(dialog, WM_NOTIFY, IDC_FILE_LIST,
                                 reinterpret_cast<LPARAM>(&click));
                    LVITEMA state{};
                    state.stateMask = state.state = LVIS_SELECTED;
                    SendMessageA(rows, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
                    SendMessageA(dialog, WM_COMMAND, IDM_MARK_COPY, 0);
                    SendMessageA(dialog, WM_COMMAND, IDM_MARK_IGNORE, 0);
                    PostMessageA(dialog, WM_COMMAND, execute ? IDOK : IDCANCEL, 0);
                })) {
            appeared++;
        }
    });
    PtrListDestroy(list);
    EXPECT_EQ(appeared, opened);
    EXPECT_EQ(ReadBytes(out / "a.txt"), "<missing>");
    EXPECT_EQ(GrowthOf(change), "");
}

TEST(Leaks, AboutBoxOpenedAndClosed) {
    FillDialogCaches();
    InitCommonControls();  // the link's tooltip, as the entry provides it
    const SupportSiteInfo site{kSupportSiteAddress};
    int appeared = 0;
    int opened = 0;
    // Each box makes two icons, an underlined font, a hand cursor, a
    // tooltip and a template block; the pointer crosses the link every other
    // time, so its leave timer runs too.
    ResourceChange change = CountAround("about box, pointer over the link", kWarmUp, 60, [&] {
        bool hover = opened++ % 2 == 0;
        if (DriveModal(
                kDialogClass, L"TAVELIN について", [&] { ShowAboutDialog(nullptr, &site); },
                [&](HWND dialog) {
                    if (hover) {
                        RECT link{};
                        GetWindowRect(GetDlgItem(dialog, kAboutLinkId), &link);
                        MoveCursorTo(link.left + 2, link.top + 2);
                        MoveCursorTo(link.left - 30, link.bottom + 20);
                    }
                    PostMessageA(dialog, WM_COMMAND, hover ? IDOK : IDCANCEL, 0);
                })) {
            appeared++;
        }
    });
    EXPECT_EQ(appeared, opened);
    EXPECT_EQ(GrowthOf(change), "");
}

namespace {

// Writes the files whose name is in the context's text, fails the others.
bool RetryNamed(FailedFile* file, void* context) {
    const char* names = static_cast<const char*>(context);
    const std::string name = Cp932(FileNamePart(file->item->sourcePath));
    const bool written = std::strstr(names, name.c_str()) != nullptr;
    file->result = written ? ItemResult{ItemOutcome::Copied, 0}
                           : ItemResult{ItemOutcome::NotWritten, ERROR_LOCK_VIOLATION};
    return written;
}

}  // namespace

TEST(Leaks, FailedFilesDialogRetriedAndClosed) {
    FillDialogCaches();
    RegisterBusyWindowClass(GetModuleHandleA(nullptr));
    ScratchFolder in;
    ScratchFolder out;
    FailedFile files[3];
    const char* names[] = {"a.txt", "b.txt", "c.txt"};
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(WriteBytes(in / names[i], "memo\r\n"));
        WorkItem* item = MakeWorkItem(P(in / names[i]), P(out / names[i]));
        ASSERT_NE(item, nullptr);
        files[i].item = item;
    }
    Settings settings = MakeSettings(out.path());
    settings.failedDialogWidth = 640;
    settings.failedDialogHeight = 400;
    int opened = 0;
    int appeared = 0;
    int allWritten = 0;
    // Each time: sorted, one round that writes one file (its row goes, the
    // others are refilled with their new reason and icon), then either
    // closed or a round that writes the rest, which ends the dialog.
    ResourceChange change = CountAround("failed-files dialog, retried", kWarmUp, 40, [&] {
        for (FailedFile& file : files) file.result = {ItemOutcome::NotWritten, ERROR_DISK_FULL};
        const bool finish = opened++ % 2 == 0;
        char written[32] = "b.txt";
        bool result = false;
        if (DriveModal(
                kDialogClass, kFailedFilesTitle,
                [&] {
                    result =
                        ShowFailedFilesDialog(nullptr, &settings, files, 3, RetryNamed, written);
                },
                [&](HWND dialog) {
                    NMLISTVIEW click{};
                    click.hdr.hwndFrom = GetDlgItem(dialog, IDC_FILE_LIST);
                    click.hdr.idFrom = IDC_FILE_LIST;
                    click.hdr.code = LVN_COLUMNCLICK;
                    click.iSubItem = 2;
                    SendMessageA(dialog, WM_NOTIFY, IDC_FILE_LIST,
                                 reinterpret_cast<LPARAM>(&click));
                    SendMessageA(dialog, WM_COMMAND, IDC_RETRY, 0);
                    if (finish) {
                        CopyBounded(written, "a.txt c.txt", sizeof written);
                        SendMessageA(dialog, WM_COMMAND, IDC_RETRY, 0);
                    } else {
                        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                    }
                })) {
            appeared++;
        }
        if (result) allWritten++;
    });
    for (FailedFile& file : files) std::free(file.item);
    EXPECT_EQ(appeared, opened);
    EXPECT_EQ(allWritten, (opened + 1) / 2);
    EXPECT_EQ(GrowthOf(change), "");
}
