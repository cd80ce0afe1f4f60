// The shell's folder picker, limited to file-system folders.
#pragma once

#include <windows.h>

#include "util/path.h"

// Shows the picker with the desktop as its root and initialPath (when not
// empty and an existing folder) selected. On OK writes the chosen folder's
// whole path, however long, into result and returns true. Returns false,
// leaving result alone, when the picker is cancelled, the chosen item has no
// file-system path, or the shell's allocator is not available. extraFlags
// are added to BIF_RETURNONLYFSDIRS and BIF_NEWDIALOGSTYLE. COM must be
// initialised on the calling thread.
bool BrowseForFolder(HWND owner, UINT extraFlags, const wchar_t* title, const Path& initialPath,
                     Path* result);
