// Opening what the user points at with the shell.
#pragma once

#include <windows.h>

#include "util/path.h"

// Opens the folder that holds the path (the path cut at its last backslash)
// in the shell's folder window. True when the shell started it.
bool OpenFolderOf(HWND owner, const PathChar* path, int showCommand);
// Opens the file with the program the shell has for it. True when the shell
// started something.
bool OpenWithShell(HWND owner, const PathChar* path, int showCommand);
