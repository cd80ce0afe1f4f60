#include "ui/version_info_win.h"

#include <cstdlib>

#include "util/path_win.h"

void* OpenOwnVersionInfo(DWORD* translation) {
    // The whole path, however long: a cut name would read some other file's
    // version.
    const Path path = ModulePath();
    if (path.empty()) return nullptr;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(WidePath(path), &ignored);
    if (size == 0) return nullptr;
    void* block = std::malloc(size);
    if (block == nullptr) return nullptr;
    void* pairs = nullptr;
    UINT pairsSize = 0;
    if (!GetFileVersionInfoW(WidePath(path), 0, size, block) ||
        !VerQueryValueW(block, L"\\VarFileInfo\\Translation", &pairs, &pairsSize) ||
        pairsSize < sizeof(DWORD)) {
        std::free(block);
        return nullptr;
    }
    *translation = *static_cast<const DWORD*>(pairs);
    return block;
}

bool QueryVersionString(std::wstring* value, void* block, DWORD translation, const wchar_t* key) {
    static const wchar_t kHex[] = L"0123456789abcdef";
    // "\StringFileInfo\llllcccc\key": the language and code page in hex.
    std::wstring subBlock = L"\\StringFileInfo\\";
    const unsigned pair = (static_cast<unsigned>(LOWORD(translation)) << 16) | HIWORD(translation);
    for (int shift = 28; shift >= 0; shift -= 4) subBlock.push_back(kHex[(pair >> shift) & 0xF]);
    subBlock += L"\\";
    subBlock += key;
    void* found = nullptr;
    UINT length = 0;
    value->clear();
    if (!VerQueryValueW(block, subBlock.c_str(), &found, &length) || found == nullptr) return false;
    // The length counts characters, the terminator included where there is one.
    const auto* text = static_cast<const wchar_t*>(found);
    std::size_t units = 0;
    while (units < length && text[units] != L'\0') units++;
    value->assign(text, units);
    return true;
}
