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
// it is); the conversions' CopyPlainRun (below, the one copy kernel they all
// share) stops at a byte of 0x80 or above and at up to two bytes its caller
// names: ESC for the older encodings, where any other byte is a character of
// its own that every mapper returns unchanged; the end mark 0x1A where
// ReadBinary leaves it in the text. NarrowPlainRun does the same for UTF-16's
// code units.
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

// ---- the copy kernels --------------------------------------------------------

// A stop byte or unit that is none.
constexpr int kNoStop = -1;

namespace word_scan_detail {

constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kCr = 0x0D;

// Whether a value below 0x80 is one of the stops (kNoStop is none).
template <int kStop1, int kStop2, int kStop3 = kNoStop>
inline bool IsStop(unsigned value) {
    if constexpr (kStop1 != kNoStop) {
        if (value == static_cast<unsigned>(kStop1)) return true;
    }
    if constexpr (kStop2 != kNoStop) {
        if (value == static_cast<unsigned>(kStop2)) return true;
    }
    if constexpr (kStop3 != kNoStop) {
        if (value == static_cast<unsigned>(kStop3)) return true;
    }
    return false;
}

// Each 16-bit lane of a word with its two bytes swapped: big-endian units read
// as little-endian ones.
inline std::uint64_t SwapLanes(std::uint64_t word) {
    return ((word >> 8) & 0x00FF00FF00FF00FFu) | ((word & 0x00FF00FF00FF00FFu) << 8);
}

// The lanes of a word (each below 0x80) equal to value: the top bit of a
// lane is set where it matches, as ZeroBytes does for bytes.
inline std::uint64_t LanesEqualTo(std::uint64_t word, unsigned value) {
    std::uint64_t x = word ^ (0x0001000100010001u * value);
    return ~(x + 0x7FFF7FFF7FFF7FFFu) & 0x8000800080008000u;
}

}  // namespace word_scan_detail

// Copies the run of plain bytes at *from straight to *to, as far as both
// blocks allow, and moves both past it: every byte below 0x80 other than the
// stop bytes (each below 0x80, or kNoStop). With kCrLf an LF goes out as CR
// LF, as a WriteText stream would write it, and the run goes on. Each such
// byte is a character of its own in every encoding the engine reads and
// writes, the same in all of them, so copying gives exactly what reading,
// mapping and writing it would.
template <int kStop1, int kStop2, bool kCrLf>
inline void CopyPlainRun(unsigned char** from, const unsigned char* end, unsigned char** to,
                         const unsigned char* limit) {
    using word_scan_detail::kCr;
    using word_scan_detail::kLf;
    unsigned char* p = *from;
    unsigned char* q = *to;
    for (;;) {
#if TAVELIN_SSE2
        if (end - p >= kBlockBytes && limit - q >= kBlockBytes) {
            __m128i block = LoadBlock(p);
            unsigned stop = HighBytesMask(block);
            if constexpr (kStop1 != kNoStop) stop |= BytesEqualToMask(block, kStop1);
            if constexpr (kStop2 != kNoStop) stop |= BytesEqualToMask(block, kStop2);
            if constexpr (kCrLf) stop |= BytesEqualToMask(block, kLf);
            StoreBlock(q, block);  // the bytes beyond a stop are written over later
            if (stop == 0) {
                p += kBlockBytes;
                q += kBlockBytes;
                continue;
            }
            auto plain = static_cast<std::size_t>(BytesBeforeFirstInMask(stop));
            p += plain;
            q += plain;
            if (!kCrLf || *p != kLf) break;  // only an LF goes on, below
        } else
#endif
            if (end - p >= 8 && limit - q >= 8) {
            std::uint64_t word = LoadWord(p);
            std::uint64_t stop = HighBytes(word);
            if constexpr (kStop1 != kNoStop) stop |= BytesEqualTo(word, kStop1);
            if constexpr (kStop2 != kNoStop) stop |= BytesEqualTo(word, kStop2);
            if constexpr (kCrLf) stop |= BytesEqualTo(word, kLf);
            std::memcpy(q, &word, sizeof word);  // the bytes beyond a stop are written over later
            if (stop == 0) {
                p += 8;
                q += 8;
                continue;
            }
            auto plain = static_cast<std::size_t>(BytesBeforeFirst(stop));
            p += plain;
            q += plain;
            if (!kCrLf || *p != kLf) break;
        }
        // One byte: the end of a block, or the byte that stopped the word.
        if (p == end || q == limit) break;
        unsigned char b = *p;
        if (b >= 0x80 || word_scan_detail::IsStop<kStop1, kStop2>(b)) break;
        if (kCrLf && b == kLf) {
            if (limit - q < 2) break;
            *q++ = kCr;
        }
        *q++ = b;
        p++;
    }
    *from = p;
    *to = q;
}

// UTF-16's code units below 0x80, two bytes each (the first the low one, or
// with kBigEndian the high one), into one byte each: the same copy as
// CopyPlainRun, up to the first unit of 0x80 or above or equal to a stop
// (each below 0x80, or kNoStop). A unit cut by the end of the block is left.
// Always inlined: the UTF-16 loops call it every few characters, and the
// compiler would otherwise keep it out of line.
template <bool kBigEndian, int kStop1, int kStop2, int kStop3>
inline __attribute__((always_inline)) void NarrowPlainRun(unsigned char** from,
                                                          const unsigned char* end,
                                                          unsigned char** to,
                                                          const unsigned char* limit) {
    unsigned char* p = *from;
    unsigned char* q = *to;
#if TAVELIN_SSE2
    // Eight units at a time: each unit below 0x80 is its own low byte, and
    // packing with unsigned saturation keeps exactly that byte.
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    while (end - p >= kBlockBytes && limit - q >= 8) {
        __m128i block = LoadBlock(p);
        if constexpr (kBigEndian)
            block = _mm_or_si128(_mm_slli_epi16(block, 8), _mm_srli_epi16(block, 8));
        __m128i stops = _mm_cmpeq_epi16(_mm_and_si128(block, high), zero);  // the plain units
        stops = _mm_xor_si128(stops, _mm_set1_epi16(-1));
        if constexpr (kStop1 != kNoStop)
            stops = _mm_or_si128(stops, _mm_cmpeq_epi16(block, _mm_set1_epi16(kStop1)));
        if constexpr (kStop2 != kNoStop)
            stops = _mm_or_si128(stops, _mm_cmpeq_epi16(block, _mm_set1_epi16(kStop2)));
        if constexpr (kStop3 != kNoStop)
            stops = _mm_or_si128(stops, _mm_cmpeq_epi16(block, _mm_set1_epi16(kStop3)));
        auto stop = static_cast<unsigned>(_mm_movemask_epi8(stops));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(q), _mm_packus_epi16(block, block));
        if (stop != 0) {
            auto units = static_cast<std::size_t>(BytesBeforeFirstInMask(stop)) / 2;
            p += 2 * units;
            q += units;
            *from = p;
            *to = q;
            return;
        }
        p += kBlockBytes;
        q += 8;
    }
#endif
    // Four units at a time.
    while (end - p >= 8 && limit - q >= 4) {
        std::uint64_t word = LoadWord(p);
        if constexpr (kBigEndian) word = word_scan_detail::SwapLanes(word);
        // A unit of 0x80 or above, or a stop, is found by the unit loop below.
        if ((word & 0xFF80FF80FF80FF80u) != 0) break;
        std::uint64_t stop = 0;
        if constexpr (kStop1 != kNoStop) stop |= word_scan_detail::LanesEqualTo(word, kStop1);
        if constexpr (kStop2 != kNoStop) stop |= word_scan_detail::LanesEqualTo(word, kStop2);
        if constexpr (kStop3 != kNoStop) stop |= word_scan_detail::LanesEqualTo(word, kStop3);
        if (stop != 0) break;
        q[0] = static_cast<unsigned char>(word);
        q[1] = static_cast<unsigned char>(word >> 16);
        q[2] = static_cast<unsigned char>(word >> 32);
        q[3] = static_cast<unsigned char>(word >> 48);
        p += 8;
        q += 4;
    }
    while (end - p >= 2 && q < limit) {
        unsigned unit = kBigEndian ? (p[0] << 8) | p[1] : p[0] | (p[1] << 8);
        if (unit >= 0x80 || word_scan_detail::IsStop<kStop1, kStop2, kStop3>(unit)) break;
        *q++ = static_cast<unsigned char>(unit);
        p += 2;
    }
    *from = p;
    *to = q;
}
