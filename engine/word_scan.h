// Eight bytes at a time: the byte tests with which the engine's fast paths
// find where a run of plain 7-bit text ends.
//
// The contract the fast paths rely on:
// - A word is eight bytes read with LoadWord, the first byte the lowest
//   (little-endian, as on x86).
// - Each test returns flags: the top bit (0x80) of a byte's position is set
//   where that byte matches, and no other bit is set.
// - The flags are exact only up to the first byte of 0x80 or above: the tests
//   add 0x7F to each byte, and such a byte carries into the one above it. So
//   every stop set includes HighBytes, and only the first stop, and the flags
//   below it (FlagsBeforeFirst), are ever used.
// Which bytes stop a run: detection's SkipPlainRun stops at a byte of 0x80 or
// above, ESC and NUL (every recognizer accepts any other byte and stays where
// it is); conversion's CopyPlainRun stops at a byte of 0x80 or above and ESC,
// and at LF when the output turns LF into CR LF (any other byte is a
// character of its own that every mapper returns unchanged).
#pragma once

#include <cstdint>
#include <cstring>

// The sixteen-byte paths below, where the processor has SSE2 (every build we
// ship: both Windows programs are compiled for it). TAVELIN_PLAIN_LOOPS turns
// them off, so that one native test build runs the eight-byte paths that a
// processor without SSE2 would take, as far into a block as the vector
// paths go elsewhere.
#if defined(__SSE2__) && !defined(TAVELIN_PLAIN_LOOPS)
#define TAVELIN_SSE2 1
#include <emmintrin.h>
#else
#define TAVELIN_SSE2 0
#endif

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the byte order of x86");

constexpr std::uint64_t kEveryByteOne = 0x0101010101010101u;
constexpr std::uint64_t kEveryByteHigh = 0x8080808080808080u;
constexpr std::uint64_t kEveryByteLow = 0x7F7F7F7F7F7F7F7Fu;

inline std::uint64_t LoadWord(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The bytes of 0x80 or above.
inline std::uint64_t HighBytes(std::uint64_t word) { return word & kEveryByteHigh; }

// The zero bytes: for a byte below 0x80, x + 0x7F has its top bit set exactly
// when x is not zero.
inline std::uint64_t ZeroBytes(std::uint64_t word) {
    return ~(word + kEveryByteLow) & kEveryByteHigh;
}

// The bytes equal to value, which is below 0x80.
inline std::uint64_t BytesEqualTo(std::uint64_t word, unsigned char value) {
    return ZeroBytes(word ^ (kEveryByteOne * value));
}

// The bytes equal to value in a word of any bytes, 8-bit ones included: with
// x = word ^ value, (x - 1) & ~x has its top bit set for a zero byte of x,
// and a borrow can set it only above the first such byte; so here too only
// the first flag counts. The byte streams find the CR and the end mark of a
// text-mode block with it.
inline std::uint64_t AnyBytesEqualTo(std::uint64_t word, unsigned char value) {
    std::uint64_t x = word ^ (kEveryByteOne * value);
    return (x - kEveryByteOne) & ~x & kEveryByteHigh;
}

// How many bytes lie before the first flagged one; flags must not be zero.
inline int BytesBeforeFirst(std::uint64_t flags) { return __builtin_ctzll(flags) / 8; }

// The bits below the first flagged byte; all bits when flags is zero.
inline std::uint64_t FlagsBeforeFirst(std::uint64_t flags) { return (flags & (~flags + 1)) - 1; }

// The number of flagged bytes.
inline std::uint64_t CountFlaggedBytes(std::uint64_t flags) {
    return ((flags >> 7) * kEveryByteOne) >> 56;
}

#if TAVELIN_SSE2
// Sixteen bytes at a time: the same tests as masks of 16 bits, bit i for
// byte i. These compare each byte on its own, with no carry between bytes,
// so every bit is exact; the fast paths still use only the first stop and
// the bits below it.
constexpr int kBlockBytes = 16;

inline __m128i LoadBlock(const unsigned char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

inline void StoreBlock(unsigned char* p, __m128i block) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), block);
}

// The bytes of 0x80 or above.
inline unsigned HighBytesMask(__m128i block) {
    return static_cast<unsigned>(_mm_movemask_epi8(block));
}

inline unsigned BytesEqualToMask(__m128i block, unsigned char value) {
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(static_cast<char>(value)))));
}

// How many bytes lie before the first one in the mask; the mask must not be zero.
inline int BytesBeforeFirstInMask(unsigned mask) { return __builtin_ctz(mask); }

// The number of bytes in the mask. Counted by hand: without a popcount
// instruction among the target's, the builtin becomes a library call.
inline int CountInMask(unsigned mask) {
    mask = mask - ((mask >> 1) & 0x5555u);
    mask = (mask & 0x3333u) + ((mask >> 2) & 0x3333u);
    mask = (mask + (mask >> 4)) & 0x0F0Fu;
    return static_cast<int>((mask + (mask >> 8)) & 0x1Fu);
}
#endif
