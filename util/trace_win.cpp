#include "util/trace_win.h"

#include <windows.h>

#include <cstdarg>

#include "util/text.h"

static TraceRoutine traceHook = DebugTrace;

TraceRoutine GetTraceRoutine() { return traceHook != nullptr ? traceHook : DebugTrace; }

int DebugTrace(const char* format, ...) {
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    int result = FormatBoundedV(line, sizeof line, format, arguments);
    va_end(arguments);
    OutputDebugStringA(line);
    return result;
}
