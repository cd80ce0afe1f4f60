#include "app/run_win.h"

#include "app/command_line.h"
#include "app/gather_win.h"
#include "app/settings_win.h"
#include "engine/convert_item_win.h"
#include "ui/busy_window_win.h"
#include "ui/settings_dialog_win.h"
#include "ui/undetermined_dialog_win.h"
#include "util/path_win.h"

bool DecideSettingsDialog(Settings* settings, std::int32_t argc, char* const* argv) {
    bool suppressStartupDialog = false;
    settings->conversionMask = ParseSwitches(argc, argv, &suppressStartupDialog);

    if (argc < 2) {
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

struct ProcessContext {
    ConversionMask mask;
    bool keepOverwrittenInRecycleBin;
};

static std::int32_t ProcessOne(void* element, std::int32_t, void* context) {
    auto* c = static_cast<ProcessContext*>(context);
    auto* item = static_cast<WorkItem*>(element);
    // A file with a character the target cannot hold is offered in the review.
    MarkForReview(item, ProcessWorkItem(item, c->mask, c->keepOverwrittenInRecycleBin));
    return 1;
}

bool ProcessWorkList(WorkList* list, ConversionMask mask, const Settings* settings) {
    // One pass along the list: a folder's item comes before its contents, so
    // every destination folder exists before anything is written into it.
    ProcessContext context{mask, settings->keepOverwrittenInRecycleBin};
    PtrListForEach(list, true, ProcessOne, &context);
    return true;
}

int RunConversion(HINSTANCE instance, std::int32_t argc, char* const* argv) {
    Settings settings{};
    LoadSettings(&settings);
    if (!DecideSettingsDialog(&settings, argc, argv)) return 0;

    RegisterBusyWindowClass(instance);
    HWND busy = CreateBusyWindow(instance, kBusyTip);
    WorkList* list = BuildWorkList(argc, argv, &settings);
    if (list != nullptr) ProcessWorkList(list, settings.conversionMask, &settings);
    DestroyBusyWindow(busy);

    // The files that stayed undecided are offered for review once the tray
    // icon is gone; the dialog shows nothing when there are none.
    if (list != nullptr) {
        ShowUndeterminedFilesDialog(nullptr, &settings, list);
        PtrListDestroy(list);
    }
    SaveSettings(&settings);
    return 0;
}
