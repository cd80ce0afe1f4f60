#include "util/path_win.h"

#include <shlobj.h>

#include <cstring>

#include "util/path.h"
#include "util/text.h"

bool PathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const char* path) {
    if (!PathExists(path)) return false;
    return (GetFileAttributesA(path) & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ModulePathWithExtension(char* buffer, int capacity, const char* extension) {
    if (capacity < 1) return false;
    DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), buffer, static_cast<DWORD>(capacity));
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
    IMalloc* allocator = nullptr;
    if (SHGetMalloc(&allocator) != S_OK) return false;
    LPITEMIDLIST list = nullptr;
    if (SHGetSpecialFolderLocation(owner, csidl, &list) != S_OK) {
        allocator->Release();
        return false;
    }
    bool found = SHGetPathFromIDListA(list, buffer) != FALSE;
    allocator->Free(list);
    allocator->Release();
    return found;
}
