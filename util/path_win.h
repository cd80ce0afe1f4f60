// Path operations that ask the system.
#pragma once

#include <windows.h>

bool PathExists(const char* path);
bool IsDirectory(const char* path);
// The path's attributes can be read and do not mark a folder.
bool IsFile(const char* path);
// What the folder's listing holds for the path (FindFirstFileA, the search
// closed at once); false when it lists nothing under that name.
bool FindExists(const char* path, WIN32_FIND_DATAA* found);
// The program's own path with its extension replaced (the extension text
// includes its dot), folded to lower case. False when the program's path
// cannot be obtained or the result would not fit the buffer.
bool ModulePathWithExtension(char* buffer, int capacity, const char* extension);
// The file-system path of a special folder (CSIDL_*); the buffer holds 260 bytes.
bool GetSpecialFolderPath(HWND owner, int csidl, char* buffer);
