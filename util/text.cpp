#include "util/text.h"

#include <cstdio>
#include <cstring>

int FormatBoundedV(char* buffer, int capacity, const char* format, va_list arguments) {
    if (capacity <= 0) return -1;
    int length = std::vsnprintf(buffer, static_cast<std::size_t>(capacity), format, arguments);
    if (length < 0) {
        buffer[0] = '\0';
        return -1;
    }
    if (length >= capacity) {
        buffer[capacity - 1] = '\0';
        return -1;
    }
    return length;
}

int FormatBounded(char* buffer, int capacity, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int result = FormatBoundedV(buffer, capacity, format, arguments);
    va_end(arguments);
    return result;
}

char* CopyBounded(char* destination, const char* source, int capacity) {
    if (capacity < 1) return destination;
    int n = capacity;
    // The first byte that no longer fits is the trail of the last byte copied:
    // drop that lead byte too.
    if (ByteKindAt(source, capacity - 1) == TrailByte) n = capacity - 1;
    int i = 0;
    for (; i < n - 1 && source[i] != '\0'; i++) destination[i] = source[i];
    for (; i < n - 1; i++) destination[i] = '\0';
    destination[n - 1] = '\0';
    return destination;
}

int ByteKindAt(const char* text, int position) {
    if (position < 0) return SingleByte;
    int kind = SingleByte;
    for (int i = 0; i <= position; i++) {
        auto b = static_cast<unsigned char>(text[i]);
        if (b == 0) return SingleByte;
        if (kind == LeadByte) {
            kind = IsShiftJisTrailByte(b) ? TrailByte : SingleByte;
        } else {
            kind = IsShiftJisLeadByte(b) ? LeadByte : SingleByte;
        }
    }
    return kind;
}

void* ZeroFill(void* pointer, std::size_t length) {
    std::memset(pointer, 0, length);
    return static_cast<char*>(pointer) + length;
}
