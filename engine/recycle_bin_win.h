// The Recycle Bin: an overwritten file is sent there through the shell's
// delete with undo, so that the user can take it back.
#pragma once

#include "util/path.h"

// Whether the shell's delete with undo takes the path at all: it takes no
// path of MAX_PATH characters or more, long form or not.
bool FitsRecycleBin(const Path& path);
// Sends an existing file to the Recycle Bin; does nothing for a folder, a
// missing path or a path the bin does not take (the caller asks FitsRecycleBin
// first). Always true: the caller overwrites the file in any case.
bool MoveToRecycleBin(const Path& path);
