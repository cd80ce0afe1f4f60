#include "util/path_win.h"

#include <shlobj.h>

#include <cstring>

#include "util/holders_win.h"
#include "util/path.h"
#include "util/text.h"

bool PathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const char* path) {
    // One look: attributes that cannot be read have every bit set.
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FindExists(const char* path, WIN32_FIND_DATAA* found) {
    HANDLE search = FindFirstFileA(path, found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

bool ModulePathWithExtension(char* buffer, int capacity, const char* extension) {
    if (capacity < 1) return false;
    DWORD length =
        GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, static_cast<DWORD>(capacity));
    // A result that fills the whole buffer was cut by the system.
    if (length == 0 || length >= static_cast<DWORD>(capacity)) {
        buffer[0] = '\0';
        return false;
    }
    RemoveExtension(buffer);
    char* end = StringEnd(buffer);
    int room = capacity - static_cast<int>(end - buffer);
    if (static_cast<int>(std::strlen(extension)) > room - 1) {
        buffer[0] = '\0';
        return false;
    }
    CopyBounded(end, extension, room);
    FoldToLowerCase(buffer);
    return true;
}

bool GetSpecialFolderPath(HWND owner, int csidl, char* buffer) {
    ItemListHolder list;
    if (SHGetSpecialFolderLocation(owner, csidl, list.put()) != S_OK) return false;
    return SHGetPathFromIDListA(list.get(), buffer) != FALSE;
}
