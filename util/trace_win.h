// Diagnostics: lines on the debugger output, in UTF-16 whatever the system's
// code page.
#pragma once

#include "util/path.h"

// Sends "path: " and the formatted text (at most 1023 characters, ASCII) to
// the debugger.
void DebugTracePath(const Path& path, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
// Sends a line of text to the debugger as it is.
void DebugTraceText(const Path& line);
