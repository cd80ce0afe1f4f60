#include "engine/recycle_bin_win.h"

#include <windows.h>
#include <shellapi.h>

#include "util/path_win.h"
#include "util/text.h"

namespace {

// The shell's delete with undo for a list of names (each terminated, the list
// ended by an empty name). Always true.
bool ShellDeleteWithUndo(HWND owner, const Path& names, FILEOP_FLAGS flags) {
    SHFILEOPSTRUCTW operation;
    ZeroFill(&operation, sizeof operation);
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = WidePath(names);
    operation.pTo = nullptr;
    operation.fFlags = static_cast<FILEOP_FLAGS>(flags | FOF_ALLOWUNDO);
    SHFileOperationW(&operation);
    return true;
}

}  // namespace

bool FitsRecycleBin(const Path& path) { return path.size() < MAX_PATH; }

bool MoveToRecycleBin(const Path& path) {
    if (!FitsRecycleBin(path) || !IsFile(path)) return true;
    // A list of one name, ended by an empty name (the string's own terminator).
    Path names = path;
    names.push_back(u'\0');
    ShellDeleteWithUndo(nullptr, names, FOF_SILENT | FOF_NOCONFIRMATION);
    return true;
}
