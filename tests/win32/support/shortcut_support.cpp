#include "tests/win32/support/shortcut_support.h"

#include <windows.h>
#include <shlobj.h>

bool MakeShortcut(const std::string& linkPath, const std::string& targetPath) {
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link)))) {
        return false;
    }
    bool saved = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->SetPath(targetPath.c_str())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        WCHAR wide[MAX_PATH * 2];
        if (MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH * 2) > 0) {
            saved = SUCCEEDED(file->Save(wide, TRUE));
        }
        file->Release();
    }
    link->Release();
    return saved;
}
