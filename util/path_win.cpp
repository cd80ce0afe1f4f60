#include "util/path_win.h"

#include <shlobj.h>

#include <vector>

#include "util/holders_win.h"

namespace {

bool StartsWith(const Path& path, const char16_t* prefix) {
    return path.compare(0, std::char_traits<char16_t>::length(prefix), prefix) == 0;
}

bool IsDriveLetter(PathChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

}  // namespace

Path LongFormOf(const Path& path) {
    if (StartsWith(path, u"\\\\?\\") || StartsWith(path, u"\\\\.\\")) return path;
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == u':' && IsSeparator(path[2])) {
        return u"\\\\?\\" + path;
    }
    if (StartsWith(path, u"\\\\") && path.size() > 2) return u"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

Path WithoutLongFormPrefix(const Path& path) {
    if (StartsWith(path, u"\\\\?\\UNC\\")) return u"\\\\" + path.substr(8);
    if (StartsWith(path, u"\\\\?\\")) return path.substr(4);
    return path;
}

FileApiPath::FileApiPath(const PathChar* path) : text_(WideText(path)) {
    std::size_t length = std::char_traits<PathChar>::length(path);
    if (length < kLongFormFrom) return;
    Path longForm = LongFormOf(Path(path, length));
    if (longForm.size() == length) return;
    long_.assign(longForm.begin(), longForm.end());
    text_ = long_.c_str();
}

bool PathExists(const Path& path) {
    return GetFileAttributesW(FileApiPath(path)) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const Path& path) {
    // One look: attributes that cannot be read have every bit set.
    DWORD attributes = GetFileAttributesW(FileApiPath(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const Path& path) {
    DWORD attributes = GetFileAttributesW(FileApiPath(path));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

HANDLE FindFirstEntry(const Path& pattern, WIN32_FIND_DATAW* found, bool largeFetch) {
    static bool basicRefused = false;
    FileApiPath name(pattern);
    if (!basicRefused) {
        DWORD flags = largeFetch ? FIND_FIRST_EX_LARGE_FETCH : 0;
        HANDLE search =
            FindFirstFileExW(name, FindExInfoBasic, found, FindExSearchNameMatch, nullptr, flags);
        if (search != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) {
            return search;
        }
        // An older system knows neither: it is asked the standard way from now on.
        basicRefused = true;
    }
    return FindFirstFileExW(name, FindExInfoStandard, found, FindExSearchNameMatch, nullptr, 0);
}

bool FindExists(const Path& path, WIN32_FIND_DATAW* found) {
    HANDLE search = FindFirstEntry(path, found, false);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

Path ModulePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD capacity = static_cast<DWORD>(buffer.size());
        DWORD length = GetModuleFileNameW(GetModuleHandleW(nullptr), buffer.data(), capacity);
        if (length == 0) return Path();
        // A result that fills the whole buffer was cut by the system.
        if (length < capacity) return WithoutLongFormPrefix(PathFromWide(buffer.data()));
        if (buffer.size() > kLongestPath) return Path();
        buffer.resize(buffer.size() * 2);
    }
}

bool ModulePathWithExtension(Path* result, const Path& extension) {
    Path path = ModulePath();
    if (path.empty()) {
        result->clear();
        return false;
    }
    path.erase(ExtensionOffset(path));
    path += extension;
    FoldAsciiToLowerCase(&path);
    *result = path;
    return FitsWindowsPath(path);
}

bool GetSpecialFolderPath(HWND owner, int csidl, Path* result) {
    result->clear();
    ItemListHolder list;
    if (SHGetSpecialFolderLocation(owner, csidl, list.put()) != S_OK) return false;
    wchar_t buffer[MAX_PATH];
    if (SHGetPathFromIDListW(list.get(), buffer) == FALSE) return false;
    *result = PathFromWide(buffer);
    return true;
}
