// Diagnostics: lines on the debugger output.
#pragma once

// Formats at most 1023 characters and sends them to the debugger. Returns the
// length, or a negative number when the text was cut.
int DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
