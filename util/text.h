// Zero-terminated byte text in code page 932 (Shift-JIS): single bytes mixed
// with double-byte characters. Nothing here may split a double-byte character
// or take its second byte (often 0x5C, the backslash) for a character of its own.
// The classification uses the fixed Shift-JIS ranges, not the system's tables.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

enum ByteKind : int { SingleByte = 0, LeadByte = 1, TrailByte = 2 };

// Shift-JIS lead byte: 0x81 to 0x9F or 0xE0 to 0xFC.
constexpr bool IsShiftJisLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
// Second byte of a double-byte character: 0x40 to 0xFC except 0x7F.
constexpr bool IsShiftJisTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// C-style formatting into a buffer that always ends terminated within its
// capacity. Returns the length, or -1 when the text was cut (or capacity is 0).
int FormatBounded(char* buffer, int capacity, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
int FormatBoundedV(char* buffer, int capacity, const char* format, va_list arguments);

// Copies at most capacity - 1 bytes, never ending in a lone lead byte; the rest
// of those bytes is zero-filled. Capacity must be at least 1.
char* CopyBounded(char* destination, const char* source, int capacity);

// The kind of the byte at a position, classified from the start of the text.
// Positions at or beyond the terminator, or negative, are single bytes.
int ByteKindAt(const char* text, int position);

// Zeroes length bytes; returns pointer + length.
void* ZeroFill(void* pointer, std::size_t length);
