// UTF-8 as RFC 3629 defines it, strictly: decoding refuses overlong forms,
// surrogates (U+D800-U+DFFF), anything above U+10FFFF and sequences cut
// short, as the detection's UTF-8 check does; encoding writes the shortest
// form. The transcoders and the review's preview share these rules, so that
// what one calls a character the other does too.
#pragma once

#include <cstdint>
#include <string>

#include "util/path.h"

// What DecodeUtf8 returns in place of a code point.
// (Both below -1, which stands for the end of the input in the readers.)
constexpr std::int32_t kMalformedUtf8 = -2;  // bytes that no well-formed text holds here
constexpr std::int32_t kCutUtf8 = -3;        // a well-formed start that the bytes end before

// The byte-order mark, EF BB BF: dropped at the start of a text read as UTF-8.
constexpr unsigned char kUtf8ByteOrderMark[3] = {0xEF, 0xBB, 0xBF};

// How a byte starts a character (RFC 3629's table of well-formed sequences):
// the continuation bytes that follow it (0 for ASCII, -1 when no character
// starts with the byte: 0x80-0xC1, 0xF5-0xFF), and the range the first of
// them must fall in. The range is 0x80-0xBF except after E0 (A0-BF: below is
// overlong), ED (80-9F: above are surrogates), F0 (90-BF: below is overlong)
// and F4 (80-8F: above is beyond U+10FFFF); later ones are always 0x80-0xBF.
struct Utf8Lead {
    std::int8_t continuations;
    std::uint8_t low;
    std::uint8_t high;
};

namespace utf8_detail {

constexpr Utf8Lead LeadOf(unsigned byte) {
    if (byte < 0x80) return {0, 0x80, 0xBF};
    if (byte < 0xC2) return {-1, 0, 0};  // a stray continuation byte, or overlong C0 and C1
    if (byte < 0xE0) return {1, 0x80, 0xBF};
    if (byte == 0xE0) return {2, 0xA0, 0xBF};
    if (byte == 0xED) return {2, 0x80, 0x9F};
    if (byte < 0xF0) return {2, 0x80, 0xBF};
    if (byte == 0xF0) return {3, 0x90, 0xBF};
    if (byte < 0xF4) return {3, 0x80, 0xBF};
    if (byte == 0xF4) return {3, 0x80, 0x8F};
    return {-1, 0, 0};
}

struct LeadTable {
    Utf8Lead leads[256];
};

constexpr LeadTable BuildLeadTable() {
    LeadTable table{};
    for (unsigned b = 0; b < 256; b++) table.leads[b] = LeadOf(b);
    return table;
}

inline constexpr LeadTable kLeads = BuildLeadTable();

}  // namespace utf8_detail

inline const Utf8Lead& Utf8LeadOf(unsigned char byte) { return utf8_detail::kLeads.leads[byte]; }

// The bits a lead byte gives to the code point, by its number of continuations.
inline std::uint32_t Utf8LeadBits(unsigned char byte, int continuations) {
    static constexpr unsigned char kMask[4] = {0x7F, 0x1F, 0x0F, 0x07};
    return byte & kMask[continuations];
}

struct Utf8Char {
    // The code point, or kMalformedUtf8 or kCutUtf8.
    std::int32_t codePoint;
    // The bytes it takes: a character's whole form; for malformed bytes the
    // longest start that could still have become a character (at least one
    // byte), so that each break counts once, as Unicode recommends; for a cut
    // character every byte up to the end.
    int length;
};

// The character at p, which must be before end.
Utf8Char DecodeUtf8(const unsigned char* p, const unsigned char* end);

// Writes the shortest form of the code point (1 to 4 bytes) and returns its
// length; writes nothing and returns 0 for a surrogate or beyond U+10FFFF.
int EncodeUtf8(std::uint32_t codePoint, unsigned char* out);

// A code point of the Basic Multilingual Plane (every one that code page 932
// maps) as up to three UTF-8 bytes in one word: the first byte in bits 0-7,
// the number of bytes in bits 24-31; 0 for a surrogate or beyond U+FFFF.
// Written out by storing the low three bytes and moving on by the count.
std::uint32_t PackUtf8(std::uint32_t codePoint);
inline int PackedUtf8Length(std::uint32_t packed) { return static_cast<int>(packed >> 24); }

// Paths for the places that meet UTF-8 (the native tests, traces): each
// malformed or cut piece becomes U+FFFD, and an unpaired surrogate too.
Path PathFromUtf8(const std::string& text);
std::string Utf8FromPath(const Path& path);
