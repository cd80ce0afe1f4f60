#include "app/settings_win.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

#include "app/profile_integer.h"
#include "util/path.h"
#include "util/path_win.h"
#include "util/text.h"

namespace {

const char kSection[] = "TAVELIN";
const char kKeepInRecycleBinKey[] = "上書きされるファイルをゴミ箱に残す";
const char kShowAtStartupKey[] = "起動時に設定ダイアログを表示する";
const char kOutputMethodKey[] = "出力先決定方法";
const char kOutputFolderKey[] = "出力先パス";
const char kDialogWidthKey[] = "ダイアログの幅";
const char kDialogHeightKey[] = "ダイアログの高さ";
const char kFailedDialogWidthKey[] = "失敗一覧の幅";
const char kFailedDialogHeightKey[] = "失敗一覧の高さ";

// The list dialogs' outer size when the file says nothing.
constexpr std::int32_t kListDialogWidth = 640;
constexpr std::int32_t kListDialogHeight = 400;

constexpr int kValueCapacity = 1024;

// A value's number, or the default when the value does not start with one.
std::int32_t ReadNumber(const char* path, const char* section, const char* key,
                        std::int32_t defaultValue) {
    char text[kValueCapacity];
    GetPrivateProfileStringA(section, key, "", text, kValueCapacity - 1, path);
    text[kValueCapacity - 1] = '\0';
    std::int32_t value = defaultValue;
    ParseProfileInteger(text, &value);
    return value;
}

// The stored output folder, the default when the key is missing. A stored path
// longer than the program's path buffers is not cut down to a shorter path,
// which could name another folder: it reads as empty, an unusable folder that
// the user is asked to choose again.
void ReadOutputFolder(const char* path, const char* defaultFolder, char* folder) {
    char text[kValueCapacity];
    GetPrivateProfileStringA(kSection, kOutputFolderKey, defaultFolder, text, kValueCapacity, path);
    if (!FitsPathBuffer(text)) text[0] = '\0';
    CopyBounded(folder, text, kPathCapacity - 1);
}

// The number the settings file stores for an output method.
std::int32_t Stored(OutputMethod method) { return static_cast<std::int32_t>(method); }

// The output method a stored number stands for: anything but the two known
// numbers is the output folder.
OutputMethod OutputMethodOf(std::int32_t stored) {
    return stored == Stored(OutputMethod::RewriteInPlace) ? OutputMethod::RewriteInPlace
                                                          : OutputMethod::IntoOutputFolder;
}

}  // namespace

bool SettingsFilePath(char* buffer, int capacity) {
    return ModulePathWithExtension(buffer, capacity, ".ini");
}

bool ReadFlag(const char* path, const char* section, const char* key, bool defaultValue) {
    return ReadNumber(path, section, key, defaultValue ? 1 : 0) != 0;
}

std::int32_t ReadInteger(const char* path, const char* section, const char* key,
                         std::int32_t defaultValue) {
    return ReadNumber(path, section, key, defaultValue);
}

bool WriteInteger(const char* path, const char* section, const char* key, std::int32_t value) {
    char text[256];
    FormatBounded(text, sizeof text, "%d", static_cast<int>(value));
    return WritePrivateProfileStringA(section, key, text, path) != FALSE;
}

bool WriteFlag(const char* path, const char* section, const char* key, bool value) {
    return WriteInteger(path, section, key, value ? 1 : 0);
}

void LoadSettings(Settings* settings) {
    char path[kPathCapacity];
    // Without a settings file of our own every option keeps its default; the
    // profile functions would otherwise fall back to a file of the system's.
    bool havePath = SettingsFilePath(path, sizeof path);

    char desktop[kPathCapacity] = "";
    if (!GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, desktop)) desktop[0] = '\0';
    desktop[kPathCapacity - 1] = '\0';

    if (havePath) {
        settings->keepOverwrittenInRecycleBin =
            ReadFlag(path, kSection, kKeepInRecycleBinKey, false);
        settings->showSettingsAtStartup = ReadFlag(path, kSection, kShowAtStartupKey, true);
        settings->outputMethod = OutputMethodOf(
            ReadInteger(path, kSection, kOutputMethodKey, Stored(OutputMethod::IntoOutputFolder)));
        ReadOutputFolder(path, desktop, settings->outputFolder);
        settings->listDialogWidth = ReadInteger(path, kSection, kDialogWidthKey, kListDialogWidth);
        settings->listDialogHeight =
            ReadInteger(path, kSection, kDialogHeightKey, kListDialogHeight);
        settings->failedDialogWidth =
            ReadInteger(path, kSection, kFailedDialogWidthKey, kListDialogWidth);
        settings->failedDialogHeight =
            ReadInteger(path, kSection, kFailedDialogHeightKey, kListDialogHeight);
    } else {
        settings->keepOverwrittenInRecycleBin = false;
        settings->showSettingsAtStartup = true;
        settings->outputMethod = OutputMethod::IntoOutputFolder;
        CopyBounded(settings->outputFolder, desktop, kPathCapacity - 1);
        settings->listDialogWidth = kListDialogWidth;
        settings->listDialogHeight = kListDialogHeight;
        settings->failedDialogWidth = kListDialogWidth;
        settings->failedDialogHeight = kListDialogHeight;
    }
    settings->listSortAscending = true;
    settings->listSortColumn = 0;
}

bool SaveSettings(const Settings* settings) {
    char path[kPathCapacity];
    if (!SettingsFilePath(path, sizeof path)) return false;
    // Makes the system drop its cached copy of the file before we write.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
    bool saved =
        WriteFlag(path, kSection, kKeepInRecycleBinKey, settings->keepOverwrittenInRecycleBin);
    saved &= WriteFlag(path, kSection, kShowAtStartupKey, settings->showSettingsAtStartup);
    saved &= WriteInteger(path, kSection, kOutputMethodKey, Stored(settings->outputMethod));
    saved &= WritePrivateProfileStringA(kSection, kOutputFolderKey, settings->outputFolder, path) !=
             FALSE;
    saved &= WriteInteger(path, kSection, kDialogWidthKey, settings->listDialogWidth);
    saved &= WriteInteger(path, kSection, kDialogHeightKey, settings->listDialogHeight);
    saved &= WriteInteger(path, kSection, kFailedDialogWidthKey, settings->failedDialogWidth);
    saved &= WriteInteger(path, kSection, kFailedDialogHeightKey, settings->failedDialogHeight);
    return saved;
}
