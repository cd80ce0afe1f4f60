// The path questions of gathering the work list, decided on the text alone.
#pragma once

// True when path lies strictly below folder, decided by whole path components
// with ASCII letters compared without case (double-byte characters compared
// as they are). No path lies inside itself; C:\data2\x is not inside C:\data.
bool IsInsideFolder(const char* folder, const char* path);
// True when both name the same path in that comparison (a trailing separator
// does not count).
bool IsSamePath(const char* a, const char* b);

// Splits a path at its last separator: parent gets the path before it, name
// the text after it (C:\data\texts gives C:\data and texts; C:\ gives C: and
// an empty name). A path without a separator is all name. Both buffers hold
// 261 bytes; the path holds at most 259 characters.
void SplitPath(const char* path, char* parent, char* name);
