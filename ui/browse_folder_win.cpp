#include "ui/browse_folder_win.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "util/holders_win.h"
#include "util/path_win.h"
#include "util/text.h"

namespace {

// The item's file-system path. The shell's plain answer stops at MAX_PATH;
// a longer path is asked of the folder that holds the item, which names it
// whole, once that folder says the item lives in the file system.
bool FileSystemPathOf(LPCITEMIDLIST item, Path* path) {
    wchar_t shortPath[MAX_PATH + 4] = L"";
    if (SHGetPathFromIDListW(item, shortPath)) {
        *path = PathFromWide(shortPath);
        return true;
    }
    ComHolder<IShellFolder> parent;
    LPCITEMIDLIST child = nullptr;
    if (FAILED(SHBindToParent(item, IID_IShellFolder, parent.out(), &child))) return false;
    SFGAOF attributes = SFGAO_FILESYSTEM;
    if (FAILED(parent->GetAttributesOf(1, &child, &attributes)) ||
        (attributes & SFGAO_FILESYSTEM) == 0) {
        return false;
    }
    STRRET name;
    ZeroFill(&name, sizeof name);
    if (FAILED(parent->GetDisplayNameOf(child, SHGDN_FORPARSING, &name))) return false;
    wchar_t* text = nullptr;
    if (FAILED(StrRetToStrW(&name, child, &text)) || text == nullptr) return false;
    *path = PathFromWide(text);
    CoTaskMemFree(text);
    return !path->empty();
}

// Preselects the initial folder, and offers OK only while the selection is a
// file-system folder (not, say, the control panel).
int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM parameter, LPARAM data) {
    switch (message) {
        case BFFM_INITIALIZED:
            if (data != 0) SendMessageW(picker, BFFM_SETSELECTIONW, TRUE, data);
            break;
        case BFFM_SELCHANGED:
            if (parameter != 0) {
                Path scratch;
                bool isFolder =
                    FileSystemPathOf(reinterpret_cast<LPCITEMIDLIST>(parameter), &scratch);
                SendMessageW(picker, BFFM_ENABLEOK, 0, isFolder ? 1 : 0);
            }
            break;
        default:
            break;
    }
    return 0;
}

}  // namespace

bool BrowseForFolder(HWND owner, UINT extraFlags, const wchar_t* title, const Path& initialPath,
                     Path* result) {
    BROWSEINFOW info;
    ZeroFill(&info, sizeof info);
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | extraFlags;
    info.lpfn = BrowseCallback;
    info.lParam = initialPath.empty() ? 0 : reinterpret_cast<LPARAM>(WidePath(initialPath));
    ItemListHolder list(SHBrowseForFolderW(&info));
    if (list.get() == nullptr) return false;
    // Through a scratch path: a failed conversion leaves result as it was.
    Path chosen;
    if (!FileSystemPathOf(list.get(), &chosen)) return false;
    *result = chosen;
    return true;
}
