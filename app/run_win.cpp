#include "app/run_win.h"

#include "app/command_line.h"
#include "app/gather_win.h"
#include "app/settings_win.h"
#include "engine/convert_item_win.h"
#include "engine/work_item_win.h"
#include "ui/busy_window_win.h"
#include "ui/failed_files_dialog_win.h"
#include "ui/settings_dialog_win.h"
#include "ui/undetermined_dialog_win.h"
#include "util/path_win.h"

bool DecideSettingsDialog(Settings* settings, const Arguments& arguments) {
    bool suppressStartupDialog = false;
    settings->conversionMask = ParseSwitches(arguments, &suppressStartupDialog);

    if (arguments.size() < 2) {
        // Started without anything to convert: the settings are the whole program.
        settings->dialogBeforeRun = false;
        settings->outputFolderWarning = false;
        if (ShowSettingsDialog(nullptr, settings)) SaveSettings(settings);
        return false;
    }

    bool shiftDown = GetKeyState(VK_SHIFT) < 0;
    bool wanted = shiftDown || (!suppressStartupDialog && settings->showSettingsAtStartup);
    // An output folder that is not there forces the dialog, even under /noui.
    bool unusable = settings->outputMethod == OutputMethod::IntoOutputFolder &&
                    !IsDirectory(settings->outputFolder);
    if (wanted || unusable) {
        settings->dialogBeforeRun = true;
        settings->outputFolderWarning = unusable;
        if (!ShowSettingsDialog(nullptr, settings)) return false;
    }
    SaveSettings(settings);
    return true;
}

namespace {

// What the pass over the work list needs, and what it gathers.
struct RunPass {
    ConversionMask mask;
    bool keepOverwrittenInRecycleBin;
    HWND busy;  // the tray icon showing how far the pass is; may be null
    std::int32_t total;
    std::vector<FailedFile>* failures;  // the files that could not be written; may be null
};

std::int32_t ProcessOne(void* element, std::int32_t index, void* context) {
    auto* pass = static_cast<RunPass*>(context);
    auto* item = static_cast<WorkItem*>(element);
    ItemResult result = ProcessWorkItem(item, pass->mask, pass->keepOverwrittenInRecycleBin);
    // A file with a character the target cannot hold is offered in the
    // review; one that could not be written is told once the run is over.
    MarkForReview(item, result);
    if (IsFailure(result.outcome) && pass->failures != nullptr) {
        pass->failures->push_back(FailedFile{item, result, pass->mask});
    }
    UpdateBusyProgress(pass->busy, index + 1, pass->total);
    return 1;
}

// "再試行" in the list of failures: the item once more, as it was handed over
// the first time. The context is the run's Settings.
bool RetryOne(FailedFile* file, void* context) {
    const auto* settings = static_cast<const Settings*>(context);
    WorkItem* item = file->item;
    if (item->openError != 0) {
        // Not classified yet: the file may be readable now.
        ClassifyWorkItem(item);
    }
    file->result = ProcessWorkItem(file->item, file->mask, settings->keepOverwrittenInRecycleBin);
    return !IsFailure(file->result.outcome);
}

}  // namespace

bool ProcessWorkList(WorkList* list, ConversionMask mask, const Settings* settings, HWND busy,
                     std::vector<FailedFile>* failures) {
    // One pass along the list: a folder's item comes before its contents, so
    // every destination folder exists before anything is written into it.
    RunPass pass{mask, settings->keepOverwrittenInRecycleBin, busy, PtrListCount(list), failures};
    PtrListForEach(list, true, ProcessOne, &pass);
    return failures == nullptr || failures->empty();
}

bool ReviewUndecidedFiles(Settings* settings, WorkList* list, std::vector<FailedFile>* failures) {
    std::vector<WorkItem*> chosen;
    if (!ShowUndeterminedFilesDialog(nullptr, settings, list, &chosen)) return false;
    if (chosen.empty()) return true;
    // The marks name the source's encoding: each file goes the other way,
    // whatever the run's direction was.
    HWND busy = CreateBusyWindow(GetModuleHandleW(nullptr), kBusyTip);
    RunPass pass{ConversionMask::BothWays, settings->keepOverwrittenInRecycleBin, busy,
                 static_cast<std::int32_t>(chosen.size()), failures};
    for (std::size_t i = 0; i < chosen.size(); i++) {
        ProcessOne(chosen[i], static_cast<std::int32_t>(i), &pass);
    }
    DestroyBusyWindow(busy);
    return true;
}

int RunConversion(HINSTANCE instance, const Arguments& arguments) {
    Settings settings{};
    LoadSettings(&settings);
    if (!DecideSettingsDialog(&settings, arguments)) return kExitDone;

    RegisterBusyWindowClass(instance);
    HWND busy = CreateBusyWindow(instance, kBusyTip);
    WorkList* list = BuildWorkList(arguments, &settings, busy);
    std::vector<FailedFile> failures;
    if (list != nullptr) ProcessWorkList(list, RunMask(settings), &settings, busy, &failures);
    DestroyBusyWindow(busy);

    // The files that stayed undecided are offered for review once the tray
    // icon is gone; the dialog shows nothing when there are none. Then the
    // files that could not be written, in the run or after the review, are
    // told, and can be tried again.
    bool everyFileWritten = true;
    if (list != nullptr) {
        ReviewUndecidedFiles(&settings, list, &failures);
        everyFileWritten =
            ShowFailedFilesDialog(nullptr, &settings, failures.data(),
                                  static_cast<int>(failures.size()), RetryOne, &settings);
        PtrListDestroy(list);
    }
    SaveSettings(&settings);
    return everyFileWritten ? kExitDone : kExitNotEveryFileWritten;
}
