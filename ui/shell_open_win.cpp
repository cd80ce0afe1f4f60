#include "ui/shell_open_win.h"

#include <shellapi.h>

#include "util/path.h"
#include "util/text.h"

bool OpenFolderOf(HWND owner, const char* path, int showCommand) {
    char folder[kPathCapacity];
    CopyBounded(folder, path, sizeof folder);
    CutLastComponent(folder);
    HINSTANCE result = ShellExecuteA(owner, "open", folder, nullptr, nullptr, showCommand);
    // The shell answers a number above 32 when it started something.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
