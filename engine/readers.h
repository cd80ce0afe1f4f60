// Readers: each takes one character from a stream opened ReadText (one or two
// bytes, or for ISO-2022-JP a character after any escape sequences) and
// returns it as a CodeChar, or EndOfInput. Readers never reject a byte: a lead
// byte pairs with whatever follows it, anything else comes back alone.
// Inline, so that the transcoding loop runs without a call per byte.
#pragma once

#include "engine/byte_stream.h"
#include "engine/conversion.h"
#include "util/text.h"

// The ISO-2022-JP shift state (the kanjiMode byte); 0 before a file's first read.
enum KanjiMode : unsigned char {
    OneByteMode = 0,  // ASCII or JIS X 0201 Roman: ESC ( B, ESC ( J, ESC H
    TwoByteMode = 1,  // JIS X 0208: ESC $ B, ESC $ @, ESC K
};

// A lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it; any other byte alone.
inline CodeChar ReadShiftJisChar(ByteStream* input, unsigned char* /*kanjiMode*/) {
    int b = StreamReadByte(input);
    if (b < 0) return EndOfInput;
    if (IsShiftJisLeadByte(static_cast<unsigned char>(b))) {
        int c = StreamReadByte(input);
        if (c < 0) return b;  // the next call reports the end
        return b * 256 + c;
    }
    return b;
}

// The single shift 0x8E or a lead byte 0xA1-0xFE and the byte after it.
inline CodeChar ReadEucJpChar(ByteStream* input, unsigned char* /*kanjiMode*/) {
    int b = StreamReadByte(input);
    if (b < 0) return EndOfInput;
    if (b == 0x8E || (b >= 0xA1 && b <= 0xFE)) {
        int c = StreamReadByte(input);
        if (c < 0) return b;
        return b * 256 + c;
    }
    return b;
}

// The escape sequences that switch ISO-2022-JP's mode, the one place that
// knows them: ESC $ B, ESC $ @ and ESC K into two-byte mode; ESC ( B, ESC ( J
// and ESC H out of it. Returns the length of the one that the bytes from p
// (an ESC) up to end start with, and sets *kanjiMode to its mode; 0, leaving
// the mode alone, when they hold none whole. The reader below asks it of the
// bytes it reads one by one; the transcoding loops of the bytes in a block.
inline int ModeSwitchAt(const unsigned char* p, const unsigned char* end,
                        unsigned char* kanjiMode) {
    constexpr unsigned char kEscape = 0x1B;
    if (end - p < 2 || p[0] != kEscape) return 0;
    if (p[1] == 0x4B || p[1] == 0x48) {  // ESC K, ESC H
        *kanjiMode = p[1] == 0x4B ? TwoByteMode : OneByteMode;
        return 2;
    }
    if (end - p < 3) return 0;
    if (p[1] == 0x24 && (p[2] == 0x42 || p[2] == 0x40)) {  // ESC $ B, ESC $ @
        *kanjiMode = TwoByteMode;
        return 3;
    }
    if (p[1] == 0x28 && (p[2] == 0x42 || p[2] == 0x4A)) {  // ESC ( B, ESC ( J
        *kanjiMode = OneByteMode;
        return 3;
    }
    return 0;
}

// Escape sequences switch the shift state and never reach the output; one
// that is not recognised comes back as its first one or two bytes (ESC, or
// ESC $ / ESC ( as one two-byte value) and the byte that broke it is read
// again by the next call.
inline CodeChar ReadIso2022JpChar(ByteStream* input, unsigned char* kanjiMode) {
    constexpr int kEscape = 0x1B;
    for (;;) {
        int b = StreamReadByte(input);
        if (b < 0) return EndOfInput;
        if (b == kEscape) {
            // The sequence's bytes as far as a switch could reach: a third
            // only after ESC $ and ESC (.
            unsigned char sequence[3] = {kEscape, 0, 0};
            int length = 1;
            int c = StreamReadByte(input);
            if (c >= 0) sequence[length++] = static_cast<unsigned char>(c);
            const bool intermediate = c == 0x24 || c == 0x28;  // ESC $, ESC (
            int d = intermediate ? StreamReadByte(input) : -1;
            if (d >= 0) sequence[length++] = static_cast<unsigned char>(d);
            if (ModeSwitchAt(sequence, sequence + length, kanjiMode) == length) continue;
            if (intermediate) {
                StreamUnreadByte(input, d);  // the end marker is not pushed back
                return kEscape * 256 + c;    // 0x1B24, 0x1B28
            }
            StreamUnreadByte(input, c);
            return kEscape;
        }
        if (*kanjiMode == OneByteMode) return b;
        int c = StreamReadByte(input);
        if (c < 0) return b;
        if (c == kEscape) {
            // An escape sequence ends the character: the first byte goes alone.
            StreamUnreadByte(input, c);
            return b;
        }
        return b * 256 + c;
    }
}
