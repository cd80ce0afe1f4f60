// UTF-16 as Windows writes its Unicode text files (PowerShell's Out-File,
// Excel's "Unicode テキスト", registry exports): a byte-order mark first, FF FE
// for little-endian or FE FF for big-endian, then 16-bit code units in that
// order, a character beyond U+FFFF as a surrogate pair. Only a file with the
// mark is read as UTF-16: without one, nothing tells its byte order, nor that
// it is UTF-16 at all. The detection, the transcoder and the review's preview
// share these rules, so that what one calls a character the others do too.
#pragma once

#include <cstdint>

#include "engine/utf8.h"

enum class ByteOrder { LittleEndian, BigEndian };

// What DecodeUtf16 returns in place of a code point, as DecodeUtf8 does: a
// lone surrogate, or a unit or a pair cut by the end of the bytes.
constexpr std::int32_t kMalformedUtf16 = kMalformedUtf8;
constexpr std::int32_t kCutUtf16 = kCutUtf8;

// The end of a text file, as the byte 0x1A is in the older encodings: the
// text ends there, and anything after it but further end marks makes the
// file a binary one.
constexpr std::uint32_t kUtf16EndMark = 0x001A;

// The byte order that a file's first two bytes name as a UTF-16 byte-order
// mark; false when they are none.
inline bool Utf16MarkOrder(unsigned char first, unsigned char second, ByteOrder* order) {
    if (first == 0xFF && second == 0xFE) {
        *order = ByteOrder::LittleEndian;
        return true;
    }
    if (first == 0xFE && second == 0xFF) {
        *order = ByteOrder::BigEndian;
        return true;
    }
    return false;
}

// The code unit in the two bytes at p.
inline std::uint32_t Utf16Unit(const unsigned char* p, ByteOrder order) {
    return order == ByteOrder::LittleEndian ? p[0] | (p[1] << 8u) : (p[0] << 8u) | p[1];
}

inline bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
inline std::uint32_t SurrogatePair(std::uint32_t high, std::uint32_t low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// A character and the bytes it takes, as for UTF-8.
using Utf16Char = Utf8Char;

// The character at p, which must be before end (the mark already taken):
// its code point and its bytes, 2 or 4; a lone surrogate is kMalformedUtf16
// of 2 bytes, and a unit or a pair cut by end kCutUtf16 of the bytes left.
Utf16Char DecodeUtf16(const unsigned char* p, const unsigned char* end, ByteOrder order);

// Judges a UTF-16 text piece by piece, its byte-order mark already taken:
// well-formed when every unit is whole (an even length), every surrogate is
// paired, no unit is U+0000 (which no text holds), and nothing but further
// end marks follows a U+001A. Pieces may end anywhere, within a unit or
// between the two halves of a pair.
class Utf16Check {
  public:
    explicit Utf16Check(ByteOrder order) : order_(order) {}

    // Takes the next bytes; false once the text can no longer be
    // well-formed, whatever follows.
    bool Feed(const unsigned char* p, const unsigned char* end);
    // At the end of the text: whether all of it was well-formed.
    bool Finish() const;

  private:
    ByteOrder order_;
    bool broken_ = false;
    bool ended_ = false;        // a U+001A was seen
    bool highPending_ = false;  // the last whole unit was a high surrogate
    bool bytePending_ = false;  // the last piece ended within a unit
    unsigned char pendingByte_ = 0;

    bool TakeUnit(std::uint32_t unit);
};
