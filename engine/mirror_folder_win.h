// A folder of the source tree mirrored at its destination.
#pragma once

#include <windows.h>

#include "util/path.h"

// Creates the folder (its parent must exist) and gives it the template's
// attributes; false when it already existed or could not be made.
bool CreateMirrorDirectory(const Path& templateFolder, const Path& newFolder,
                           SECURITY_ATTRIBUTES* security);
