#include "util/trace_win.h"

#include <windows.h>

#include <cstdarg>

#include "util/text.h"

void DebugTracePath(const Path& path, const char* format, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    FormatBoundedV(text, sizeof text, format, arguments);
    va_end(arguments);
    Path line = path + u": ";
    for (const char* p = text; *p != '\0'; p++) line.push_back(static_cast<unsigned char>(*p));
    DebugTraceText(line);
}

void DebugTraceText(const Path& line) {
    OutputDebugStringW(reinterpret_cast<const wchar_t*>(line.c_str()));
}
