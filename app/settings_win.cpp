#include "app/settings_win.h"

#include <windows.h>
#include <shlobj.h>

#include "app/ini_text.h"
#include "app/profile_integer.h"
#include "engine/staged_name.h"
#include "util/holders_win.h"
#include "util/path_win.h"

namespace {

const char16_t kSection[] = u"TAVELIN";
const char16_t kKeepInRecycleBinKey[] = u"上書きされるファイルをゴミ箱に残す";
const char16_t kShowAtStartupKey[] = u"起動時に設定ダイアログを表示する";
const char16_t kOutputMethodKey[] = u"出力先決定方法";
const char16_t kOutputFolderKey[] = u"出力先パス";
const char16_t kDialogWidthKey[] = u"ダイアログの幅";
const char16_t kDialogHeightKey[] = u"ダイアログの高さ";
const char16_t kFailedDialogWidthKey[] = u"失敗一覧の幅";
const char16_t kFailedDialogHeightKey[] = u"失敗一覧の高さ";

// The list dialogs' outer size when the file says nothing.
constexpr std::int32_t kListDialogWidth = 640;
constexpr std::int32_t kListDialogHeight = 400;

// A settings file holds a few hundred bytes; a larger one is not read into
// memory, and is never overwritten.
constexpr LONGLONG kLargestSettingsFile = 16 << 20;

// The file's text; an empty text when there is no file. False when a file is
// there but cannot be read: it is then not to be overwritten either.
bool ReadSettingsText(const Path& path, IniText* text) {
    *text = IniText();
    HandleHolder file(CreateFileW(FileApiPath(path), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestSettingsFile) return false;
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), &bytes[got], static_cast<DWORD>(bytes.size() - got), &read,
                      nullptr) ||
            read == 0) {
            return false;
        }
        got += read;
    }
    *text = IniText(bytes);
    return true;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                       nullptr) ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

// Writes the text into a staged file beside the settings file and renames it
// over the old one: the file holds either its old text or the new one,
// whenever the program or the machine stops. A file the user made read-only
// is left as it is; its hidden and system marks stay.
bool WriteSettingsText(const Path& path, const IniText& text) {
    DWORD attributes = GetFileAttributesW(FileApiPath(path));
    DWORD kept = FILE_ATTRIBUTE_NORMAL;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if ((attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) return false;
        DWORD marks = attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        if (marks != 0) kept = marks;
    }
    Path staged;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kStagedCandidates && file == INVALID_HANDLE_VALUE; attempt++) {
        staged = StagedPath(path, GetCurrentProcessId(), attempt);
        file =
            CreateFileW(FileApiPath(staged), GENERIC_WRITE, 0, nullptr, CREATE_NEW, kept, nullptr);
        // Another name is tried only where this one is taken: any other
        // failure (a folder that is not writable) would be the same for all.
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS &&
            GetLastError() != ERROR_ALREADY_EXISTS) {
            return false;
        }
    }
    if (file == INVALID_HANDLE_VALUE) return false;
    bool written = WriteAll(file, text.Bytes()) && FlushFileBuffers(file) != FALSE;
    CloseHandle(file);
    written = written && MoveFileExW(FileApiPath(staged), FileApiPath(path),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    if (!written) DeleteFileW(FileApiPath(staged));
    return written;
}

// A value's number, or the default when the key is missing or its value does
// not start with one.
std::int32_t NumberIn(const IniText& text, const std::u16string& section, const std::u16string& key,
                      std::int32_t defaultValue) {
    std::u16string value;
    std::int32_t number = defaultValue;
    if (text.Find(section, key, &value)) ParseProfileInteger(value, &number);
    return number;
}

// The stored output folder, exactly as stored; the default when the key is
// missing. A stored path longer than Windows can name is not cut down to a
// shorter path, which could name another folder: it reads as empty, an
// unusable folder that the user is asked to choose again.
Path OutputFolderIn(const IniText& text, const Path& defaultFolder) {
    Path folder;
    if (!text.Find(kSection, kOutputFolderKey, &folder)) return defaultFolder;
    return FitsWindowsPath(folder) ? folder : Path();
}

// The number the settings file stores for an output method.
std::int32_t Stored(OutputMethod method) { return static_cast<std::int32_t>(method); }

// The output method a stored number stands for: anything but the two known
// numbers is the output folder.
OutputMethod OutputMethodOf(std::int32_t stored) {
    return stored == Stored(OutputMethod::RewriteInPlace) ? OutputMethod::RewriteInPlace
                                                          : OutputMethod::IntoOutputFolder;
}

std::u16string FlagText(bool value) { return value ? u"1" : u"0"; }

}  // namespace

bool SettingsFilePath(Path* path) { return ModulePathWithExtension(path, u".ini"); }

bool ReadFlag(const Path& path, const std::u16string& section, const std::u16string& key,
              bool defaultValue) {
    return ReadInteger(path, section, key, defaultValue ? 1 : 0) != 0;
}

std::int32_t ReadInteger(const Path& path, const std::u16string& section, const std::u16string& key,
                         std::int32_t defaultValue) {
    IniText text;
    ReadSettingsText(path, &text);
    return NumberIn(text, section, key, defaultValue);
}

bool WriteInteger(const Path& path, const std::u16string& section, const std::u16string& key,
                  std::int32_t value) {
    IniText text;
    if (!ReadSettingsText(path, &text)) return false;
    text.Set(section, key, ProfileIntegerText(value));
    return WriteSettingsText(path, text);
}

bool WriteFlag(const Path& path, const std::u16string& section, const std::u16string& key,
               bool value) {
    return WriteInteger(path, section, key, value ? 1 : 0);
}

void LoadSettings(Settings* settings) {
    Path desktop;
    if (!GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, &desktop)) desktop.clear();
    // Without a settings file that can be read, every option keeps its default.
    Path path;
    IniText text;
    if (SettingsFilePath(&path)) ReadSettingsText(path, &text);

    settings->keepOverwrittenInRecycleBin = NumberIn(text, kSection, kKeepInRecycleBinKey, 0) != 0;
    settings->showSettingsAtStartup = NumberIn(text, kSection, kShowAtStartupKey, 1) != 0;
    settings->outputMethod = OutputMethodOf(
        NumberIn(text, kSection, kOutputMethodKey, Stored(OutputMethod::IntoOutputFolder)));
    settings->outputFolder = OutputFolderIn(text, desktop);
    settings->listDialogWidth = NumberIn(text, kSection, kDialogWidthKey, kListDialogWidth);
    settings->listDialogHeight = NumberIn(text, kSection, kDialogHeightKey, kListDialogHeight);
    settings->failedDialogWidth = NumberIn(text, kSection, kFailedDialogWidthKey, kListDialogWidth);
    settings->failedDialogHeight =
        NumberIn(text, kSection, kFailedDialogHeightKey, kListDialogHeight);
    settings->listSortAscending = true;
    settings->listSortColumn = 0;
}

bool SaveSettings(const Settings* settings) {
    Path path;
    IniText text;
    if (!SettingsFilePath(&path) || !ReadSettingsText(path, &text)) return false;
    text.Set(kSection, kKeepInRecycleBinKey, FlagText(settings->keepOverwrittenInRecycleBin));
    text.Set(kSection, kShowAtStartupKey, FlagText(settings->showSettingsAtStartup));
    text.Set(kSection, kOutputMethodKey, ProfileIntegerText(Stored(settings->outputMethod)));
    text.Set(kSection, kOutputFolderKey, settings->outputFolder);
    text.Set(kSection, kDialogWidthKey, ProfileIntegerText(settings->listDialogWidth));
    text.Set(kSection, kDialogHeightKey, ProfileIntegerText(settings->listDialogHeight));
    text.Set(kSection, kFailedDialogWidthKey, ProfileIntegerText(settings->failedDialogWidth));
    text.Set(kSection, kFailedDialogHeightKey, ProfileIntegerText(settings->failedDialogHeight));
    return WriteSettingsText(path, text);
}
