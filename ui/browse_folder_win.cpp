#include "ui/browse_folder_win.h"

#include <shlobj.h>

#include "util/holders_win.h"
#include "util/text.h"

// Preselects the initial folder, and offers OK only while the selection is a
// file-system folder (not, say, the control panel).
static int CALLBACK BrowseCallback(HWND picker, UINT message, LPARAM parameter, LPARAM data) {
    switch (message) {
        case BFFM_INITIALIZED:
            if (data != 0) SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, data);
            break;
        case BFFM_SELCHANGED:
            if (parameter != 0) {
                char scratch[MAX_PATH + 4];
                BOOL isFolder =
                    SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(parameter), scratch);
                SendMessageA(picker, BFFM_ENABLEOK, 0, isFolder ? 1 : 0);
            }
            break;
        default:
            break;
    }
    return 0;
}

bool BrowseForFolder(HWND owner, UINT extraFlags, const char* title, char* result,
                     const char* initialPath) {
    BROWSEINFOA info;
    ZeroFill(&info, sizeof info);
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = nullptr;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | extraFlags;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(initialPath);
    ItemListHolder list(SHBrowseForFolderA(&info));
    if (list.get() == nullptr) return false;
    // Through a scratch buffer: a failed conversion leaves result as it was.
    char path[MAX_PATH + 4] = "";
    bool chosen = SHGetPathFromIDListA(list.get(), path) != FALSE;
    if (chosen) CopyBounded(result, path, MAX_PATH);
    return chosen;
}
