// The shell's small icons by file type: an index into the system's small
// image list, found from the name's extension alone, so that no file is
// opened or read for its icon (a list of many files would otherwise touch
// each one). Files of one type share one icon.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <unordered_map>

#include "util/path.h"

// The index found for each extension (lower case) so far.
using TypeIconCache = std::unordered_map<Path, int>;

// The system's image list of small icons, which the shell owns: a list view
// shows it with LVS_SHAREIMAGELISTS and never destroys it. Null on failure.
HIMAGELIST SystemSmallIcons();
// The small icon of files of the path's type; -1 when the shell has none.
int TypeIconIndex(const PathChar* path, TypeIconCache* cache);
