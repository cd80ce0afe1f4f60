// The Recycle Bin: an overwritten file is sent there through the shell's
// delete with undo, so that the user can take it back.
#pragma once

// Sends an existing file to the Recycle Bin; does nothing for a folder or a
// missing path. Always true: the caller overwrites the file in any case.
bool MoveToRecycleBin(const char* path);
