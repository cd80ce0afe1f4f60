#include "tests/win32/support/settings_support.h"

#include "util/text.h"

Settings RunSettings(OutputMethod method, const std::string& outputFolder) {
    Settings settings{};
    settings.outputMethod = method;
    CopyBounded(settings.outputFolder, outputFolder.c_str(), sizeof settings.outputFolder);
    settings.showSettingsAtStartup = false;
    settings.keepOverwrittenInRecycleBin = false;
    settings.conversionMask = ConversionMask::BothWays;
    settings.dialogBeforeRun = false;
    settings.outputFolderWarning = false;
    settings.listDialogWidth = 640;
    settings.listDialogHeight = 400;
    settings.listSortColumn = 0;
    settings.listSortAscending = true;
    return settings;
}
