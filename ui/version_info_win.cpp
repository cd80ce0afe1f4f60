#include "ui/version_info_win.h"

#include <cstdlib>

#include "util/text.h"

void* OpenOwnVersionInfo(DWORD* translation) {
    char path[kPathCapacity];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // A cut name would read some other file's version.
    if (length == 0 || length >= sizeof path) return nullptr;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return nullptr;
    void* block = std::malloc(size);
    if (block == nullptr) return nullptr;
    void* pairs = nullptr;
    UINT pairsSize = 0;
    if (!GetFileVersionInfoA(path, 0, size, block) ||
        !VerQueryValueA(block, "\\VarFileInfo\\Translation", &pairs, &pairsSize) ||
        pairsSize < sizeof(DWORD)) {
        std::free(block);
        return nullptr;
    }
    *translation = *static_cast<const DWORD*>(pairs);
    return block;
}

bool QueryVersionString(char* destination, int capacity, void* block, DWORD translation,
                        const char* key) {
    char subBlock[260];
    void* value = nullptr;
    UINT valueSize = 0;
    if (FormatBounded(subBlock, sizeof subBlock, "\\StringFileInfo\\%04x%04x\\%s",
                      static_cast<unsigned>(LOWORD(translation)),
                      static_cast<unsigned>(HIWORD(translation)), key) < 0 ||
        !VerQueryValueA(block, subBlock, &value, &valueSize) || value == nullptr) {
        destination[0] = '\0';
        return false;
    }
    CopyBounded(destination, static_cast<const char*>(value), capacity);
    return true;
}
