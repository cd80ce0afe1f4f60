// Reading the program file's own version resource.
#pragma once

#include <windows.h>

// The program file's version block, and the address of its first
// (language, code page) pair in translation; null when the file has no
// version resource or no translation. Free the block with std::free.
void* OpenOwnVersionInfo(DWORD* translation);
// The string value of key for that translation, cut to capacity; an empty
// string and false when it is missing.
bool QueryVersionString(char* destination, int capacity, void* block, DWORD translation,
                        const char* key);
