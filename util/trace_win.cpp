#include "util/trace_win.h"

#include <windows.h>

#include <cstdarg>

#include "util/text.h"

int DebugTrace(const char* format, ...) {
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    int result = FormatBoundedV(line, sizeof line, format, arguments);
    va_end(arguments);
    OutputDebugStringA(line);
    return result;
}
