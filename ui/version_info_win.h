// Reading the program file's own version resource.
#pragma once

#include <windows.h>

#include <string>

// The program file's version block, and the address of its first
// (language, code page) pair in translation; null when the file has no
// version resource or no translation. Free the block with std::free.
void* OpenOwnVersionInfo(DWORD* translation);
// The string value of key for that translation, as the resource holds it
// (UTF-16, whatever the system's code page); an empty string and false when
// it is missing.
bool QueryVersionString(std::wstring* value, void* block, DWORD translation, const wchar_t* key);
