// Opening what the user points at with the shell.
#pragma once

#include <windows.h>

// Opens the folder that holds the path (the path cut at its last backslash)
// in the shell's folder window. True when the shell started it.
bool OpenFolderOf(HWND owner, const char* path, int showCommand);
