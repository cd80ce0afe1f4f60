#include "ui/shell_open_win.h"

#include <shellapi.h>

#include "util/path_win.h"

namespace {

bool ShellOpen(HWND owner, const wchar_t* verb, const wchar_t* file, int showCommand) {
    HINSTANCE result = ShellExecuteW(owner, verb, file, nullptr, nullptr, showCommand);
    // The shell answers a number above 32 when it started something.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool OpenFolderOf(HWND owner, const PathChar* path, int showCommand) {
    const Path folder = FolderPart(path);
    return ShellOpen(owner, L"open", WidePath(folder), showCommand);
}

bool OpenWithShell(HWND owner, const PathChar* path, int showCommand) {
    return ShellOpen(owner, nullptr, WideText(path), showCommand);
}
