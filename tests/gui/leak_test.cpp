// The settings dialog opened and closed many times, as a user would, and the
// folder picker opened from it: afterwards the process must hold no more
// kernel handles, GDI objects (the dialog's font), USER objects (the dialog,
// its title-bar icons) or heap blocks (the picker's item lists) than before.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "res/resource.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/resource_counts.h"
#include "tests/win32/support/test_support.h"
#include "ui/settings_dialog_win.h"
#include "util/text.h"

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr int kWarmUp = 3;

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

Settings MakeSettings(const std::string& folder) {
    Settings settings{};
    settings.outputMethod = IntoOutputFolder;
    CopyBounded(settings.outputFolder, folder.c_str(), sizeof settings.outputFolder);
    settings.conversionMask = BothWays;
    settings.dialogBeforeRun = true;
    settings.outputFolderWarning = true;
    return settings;
}

// Opens the dialog on this thread while drive acts on it from a helper
// thread; false when it did not appear.
bool RunDialog(Settings* settings, bool* result, const std::function<void(HWND)>& drive) {
    return DriveModal(
        kDialogClass, kSettingsDialogTitle, [&] { *result = ShowSettingsDialog(nullptr, settings); },
        drive);
}

// The picker is the dialog-class window that the settings dialog owns.
HWND WaitForPicker(HWND dialog) {
    for (int waited = 0; waited < 10000; waited += 20) {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExA(nullptr, candidate, kDialogClass, nullptr)) != nullptr) {
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
