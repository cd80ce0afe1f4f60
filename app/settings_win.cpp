#include "app/settings_win.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

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
const char16_t kUtf8ByteOrderMarkKey[] = u"UTF-8 に BOM を付ける";

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

// The folder under the user's application data that holds the settings file.
const char16_t kUserFolder[] = u"TAVELIN";

// %APPDATA%: the environment's, as the user (and a batch file) sees it, else
// the shell's own folder where the environment names no full path.
Path ApplicationDataFolder() {
    // The length asked first: the value may be as long as a path can be.
    DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    std::vector<wchar_t> buffer(size + 1);
    DWORD length = size == 0 ? 0 : GetEnvironmentVariableW(L"APPDATA", buffer.data(), size + 1);
    if (length > 0 && length <= size) {
        Path folder = PathFromWide(buffer.data());
        bool absolute = (folder.size() >= 3 && folder[1] == u':' && IsSeparator(folder[2])) ||
                        (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1]));
        if (absolute) return folder;
    }
    Path folder;
    if (!GetSpecialFolderPath(nullptr, CSIDL_APPDATA, &folder)) folder.clear();
    return folder;
}

// The nine persistent fields written into the file at path, every other
// line of it kept. False when the file could not be read (it is then not
// overwritten) or written.
bool SaveInto(const Path& path, const Settings* settings) {
    IniText text;
    if (!ReadSettingsText(path, &text)) return false;
    text.Set(kSection, kKeepInRecycleBinKey, FlagText(settings->keepOverwrittenInRecycleBin));
    text.Set(kSection, kShowAtStartupKey, FlagText(settings->showSettingsAtStartup));
    text.Set(kSection, kOutputMethodKey, ProfileIntegerText(Stored(settings->outputMethod)));
    text.Set(kSection, kOutputFolderKey, settings->outputFolder);
    text.Set(kSection, kDialogWidthKey, ProfileIntegerText(settings->listDialogWidth));
    text.Set(kSection, kDialogHeightKey, ProfileIntegerText(settings->listDialogHeight));
    text.Set(kSection, kFailedDialogWidthKey, ProfileIntegerText(settings->failedDialogWidth));
    text.Set(kSection, kFailedDialogHeightKey, ProfileIntegerText(settings->failedDialogHeight));
    text.Set(kSection, kUtf8ByteOrderMarkKey, FlagText(settings->utf8ByteOrderMark));
    return WriteSettingsText(path, text);
}

}  // namespace

bool SettingsFilePath(Path* path) { return ModulePathWithExtension(path, u".ini"); }

bool UserSettingsFilePath(Path* path) {
    path->clear();
    Path besideProgram;
    Path applicationData = ApplicationDataFolder();
    if (applicationData.empty() || !SettingsFilePath(&besideProgram)) return false;
    // The same name as beside the program, which a renamed copy changes too.
    Path folder;
    if (!JoinPath(&folder, applicationData, kUserFolder)) return false;
    return JoinPath(path, folder, FileNamePart(besideProgram));
}

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
    if (SettingsFilePath(&path) && PathExists(path)) {
        ReadSettingsText(path, &text);
    } else if (UserSettingsFilePath(&path)) {
        ReadSettingsText(path, &text);
    }

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
    settings->utf8ByteOrderMark = NumberIn(text, kSection, kUtf8ByteOrderMarkKey, 0) != 0;
    settings->listSortAscending = true;
    settings->listSortColumn = 0;
}

bool SaveSettings(const Settings* settings) {
    Path path;
    if (SettingsFilePath(&path)) {
        if (PathExists(path)) return SaveInto(path, settings);
        // Writing the file is the test of the folder: a failed write leaves
        // nothing behind.
        if (SaveInto(path, settings)) return true;
    }
    if (!UserSettingsFilePath(&path)) return false;
    // Made where missing; one that exists already is as good.
    CreateDirectoryW(FileApiPath(FolderPart(path)), nullptr);
    return SaveInto(path, settings);
}
