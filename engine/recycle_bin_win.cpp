#include "engine/recycle_bin_win.h"

#include <windows.h>
#include <shellapi.h>

#include "util/path_win.h"
#include "util/text.h"

namespace {

// The shell's delete with undo for a list of names (each terminated, the list
// ended by an empty name). Always true.
bool ShellDeleteWithUndo(HWND owner, const char* names, FILEOP_FLAGS flags) {
    SHFILEOPSTRUCTA operation;
    ZeroFill(&operation, sizeof operation);
    operation.hwnd = owner;
    operation.wFunc = FO_DELETE;
    operation.pFrom = names;
    operation.pTo = nullptr;
    operation.fFlags = static_cast<FILEOP_FLAGS>(flags | FOF_ALLOWUNDO);
    SHFileOperationA(&operation);
    return true;
}

}  // namespace

bool MoveToRecycleBin(const char* path) {
    if (!IsFile(path)) return true;
    // A list of one name, ended by an empty name. A path too long to be
    // listed whole is not handed to the shell cut.
    char names[kPathCapacity + 1];
    if (FormatBounded(names, sizeof names, "%s%c%c", path, 0, 0) < 0) return true;
    ShellDeleteWithUndo(nullptr, names, FOF_SILENT | FOF_NOCONFIRMATION);
    return true;
}
