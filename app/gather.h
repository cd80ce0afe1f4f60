// The path questions of gathering the work list, decided on the text alone.
#pragma once

#include "util/path.h"

// True when path lies strictly below folder, decided by whole path components
// with ASCII letters compared without case (every other character compared
// as it is). No path lies inside itself; C:\data2\x is not inside C:\data.
bool IsInsideFolder(const Path& folder, const Path& path);
// True when both name the same path in that comparison (a trailing separator
// does not count).
bool IsSamePath(const Path& a, const Path& b);

// Splits a path at its last separator: parent gets the path before it, name
// the text after it (C:\data\texts gives C:\data and texts; C:\ gives C: and
// an empty name). A path without a separator is all name.
void SplitPath(const Path& path, Path* parent, Path* name);
