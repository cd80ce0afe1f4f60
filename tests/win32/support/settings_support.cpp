#include "tests/win32/support/settings_support.h"

#include "tests/win32/support/test_support.h"

Settings RunSettings(OutputMethod method, const Path& outputFolder) {
    Settings settings{};
    settings.outputMethod = method;
    settings.outputFolder = outputFolder;
    settings.showSettingsAtStartup = false;
    settings.keepOverwrittenInRecycleBin = false;
    settings.conversionMask = ConversionMask::BothWays;
    settings.dialogBeforeRun = false;
    settings.outputFolderWarning = false;
    settings.listDialogWidth = 640;
    settings.listDialogHeight = 400;
    settings.listSortColumn = 0;
    settings.listSortAscending = true;
    settings.utf8ByteOrderMark = false;
    return settings;
}

Settings RunSettings(OutputMethod method, const std::string& outputFolder) {
    return RunSettings(method, P(outputFolder));
}

std::string SettingsFileBytes(const std::u16string& text) {
    std::string cp932 = Cp932(text);
    if (P(cp932) == text) return cp932;
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}
