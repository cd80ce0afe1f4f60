// Backslash-only path operations on code page 932 text. A forward slash is an
// ordinary character; a 0x5C that is the second byte of a double-byte
// character is never a separator.
#pragma once

// True when the byte at the position is a backslash standing on its own.
bool IsSeparatorAt(const char* text, int position);

// Whether a path keeps within Windows' limit for the A functions' paths: 259
// bytes and the terminator (MAX_PATH). A longer path is refused, never cut:
// a cut path could name another file.
bool FitsPathBuffer(const char* path);

// Joins folder and name into destination (capacity bytes, terminator
// included). The name "." gives the folder, ".." its parent. Never writes
// beyond the capacity; returns false when the result had to be cut or the
// join could not be made, so that a cut path is never taken for a real one.
bool JoinPath(char* destination, int capacity, const char* folder, const char* name);

// Cuts the path at its last separator and returns the text after it; returns
// the start of the path, unchanged, when there is no separator.
char* CutLastComponent(char* path);
// The text after the last separator (the whole path when there is none).
const char* FileNamePart(const char* path);
char* FileNamePart(char* path);
// The last "." after the last separator, or the terminator.
const char* FindExtension(const char* path);
char* FindExtension(char* path);
// Cuts the extension off at its dot and returns the extension text; returns
// the terminator and changes nothing when there is none.
char* RemoveExtension(char* path);
