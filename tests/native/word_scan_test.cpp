// The byte tests of engine/word_scan.h against the byte-by-byte truth, in
// the stop sets the fast paths use: every byte value at every position of a
// word and of a block, among neighbours that stop a run and ones that nearly
// do, so that a carry or a borrow that reaches below the first stop shows.
#include "engine/word_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// The plain-loop build must really have no vector path left to test.
#ifdef TAVELIN_PLAIN_LOOPS
static_assert(!TAVELIN_SSE2, "TAVELIN_PLAIN_LOOPS turns the sixteen-byte paths off");
#endif

constexpr unsigned char kEsc = 0x1B;
constexpr unsigned char kLf = 0x0A;

// Bytes that stop a run and bytes one bit or one step away from them.
const unsigned char kNeighbours[] = {0x00, 0x01, 0x0A, 0x0B, 0x09, 0x1B, 0x1A, 0x3B, 0x7F,
                                     0x80, 0x81, 0x8A, 0x9B, 0xFF, 0xFE, 0x0D, 0x61, 0x20};

// Words of random neighbours, then every byte value at every position of
// one, the bytes after it random too.
std::vector<std::vector<unsigned char>> Samples(std::size_t width) {
    std::mt19937 random(width * 31 + 7);
    auto neighbour = [&] { return kNeighbours[random() % sizeof kNeighbours]; };
    std::vector<std::vector<unsigned char>> samples;
    for (int i = 0; i < 20000; i++) {
        std::vector<unsigned char> bytes(width);
        for (unsigned char& b : bytes) b = neighbour();
        samples.push_back(bytes);
    }
    for (std::size_t at = 0; at < width; at++) {
        for (int value = 0; value < 256; value++) {
            std::vector<unsigned char> bytes(width);
            for (std::size_t i = 0; i < width; i++) bytes[i] = i < at ? 'a' : neighbour();
            bytes[at] = static_cast<unsigned char>(value);
            samples.push_back(bytes);
        }
    }
    return samples;
}

// Where the first byte that stop() accepts lies (width when none does), and
// how many LF bytes come before it.
template <typename Stop>
std::size_t FirstStop(const std::vector<unsigned char>& bytes, Stop stop) {
    std::size_t i = 0;
    while (i < bytes.size() && !stop(bytes[i])) i++;
    return i;
}
std::uint64_t LineFeedsBefore(const std::vector<unsigned char>& bytes, std::size_t end) {
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < end; i++) count += bytes[i] == kLf;
    return count;
}

// Runs through the stop sets of the eight-byte loops: detection's
// SkipPlainRun (8-bit, NUL, ESC, with the LF bytes before the stop counted),
// conversion's CopyPlainRun (8-bit, ESC, and LF where LF becomes CR LF).
TEST(WordScan, EightByteStopsAndTheLineFeedsBeforeThem) {
    for (const std::vector<unsigned char>& bytes : Samples(8)) {
        std::uint64_t word = LoadWord(bytes.data());
        std::uint64_t detection = HighBytes(word) | ZeroBytes(word) | BytesEqualTo(word, kEsc);
        std::size_t expected =
            FirstStop(bytes, [](unsigned char b) { return b >= 0x80 || b == 0 || b == kEsc; });
        if (expected == 8) {
            ASSERT_EQ(detection, 0u) << std::hex << word;
        } else {
            ASSERT_EQ(BytesBeforeFirst(detection), static_cast<int>(expected)) << std::hex << word;
        }
        ASSERT_EQ(CountFlaggedBytes(BytesEqualTo(word, kLf) & FlagsBeforeFirst(detection)),
                  LineFeedsBefore(bytes, expected))
            << std::hex << word;

        std::uint64_t conversion =
            HighBytes(word) | BytesEqualTo(word, kEsc) | BytesEqualTo(word, kLf);
        expected =
            FirstStop(bytes, [](unsigned char b) { return b >= 0x80 || b == kEsc || b == kLf; });
        if (expected == 8) {
            ASSERT_EQ(conversion, 0u) << std::hex << word;
        } else {
            ASSERT_EQ(BytesBeforeFirst(conversion), static_cast<int>(expected)) << std::hex << word;
        }
    }
}

// The byte streams' search for the CR and the end mark, among 8-bit bytes too.
TEST(WordScan, AnyByteIsFoundFirstWhereItFirstOccurs) {
    for (const std::vector<unsigned char>& bytes : Samples(8)) {
        std::uint64_t word = LoadWord(bytes.data());
        for (unsigned char value : {0x0D, 0x1A, 0x00, 0x80, 0xFF, 0x0A}) {
            std::size_t expected = FirstStop(bytes, [&](unsigned char b) { return b == value; });
            std::uint64_t found = AnyBytesEqualTo(word, value);
            if (expected == 8) {
                ASSERT_EQ(found, 0u) << std::hex << word << " " << int{value};
            } else {
                ASSERT_EQ(BytesBeforeFirst(found), static_cast<int>(expected))
                    << std::hex << word << " " << int{value};
            }
        }
    }
}

#if TAVELIN_SSE2
// The sixteen-byte masks are exact in every bit, not only up to the first stop.
TEST(WordScan, SixteenByteMasksMatchEveryByte) {
    for (const std::vector<unsigned char>& bytes : Samples(16)) {
        __m128i block = LoadBlock(bytes.data());
        unsigned high = 0, esc = 0, zero = 0, lf = 0, all = 0;
        for (int i = 0; i < 16; i++) {
            high |= (bytes[i] >= 0x80 ? 1u : 0u) << i;
            esc |= (bytes[i] == kEsc ? 1u : 0u) << i;
            zero |= (bytes[i] == 0 ? 1u : 0u) << i;
            lf |= (bytes[i] == kLf ? 1u : 0u) << i;
            all |= (bytes[i] == 0xFF ? 1u : 0u) << i;
        }
        ASSERT_EQ(HighBytesMask(block), high);
        ASSERT_EQ(BytesEqualToMask(block, kEsc), esc);
        ASSERT_EQ(BytesEqualToMask(block, 0), zero);
        ASSERT_EQ(BytesEqualToMask(block, 0xFF), all);
        // Detection's stop, and the LF bytes before it.
        unsigned stop = high | esc | zero;
        std::size_t expected =
            FirstStop(bytes, [](unsigned char b) { return b >= 0x80 || b == 0 || b == kEsc; });
        if (stop == 0) {
            ASSERT_EQ(expected, 16u);
        } else {
            int first = BytesBeforeFirstInMask(stop);
            ASSERT_EQ(static_cast<std::size_t>(first), expected);
            ASSERT_EQ(static_cast<std::uint64_t>(CountInMask(lf & ((1u << first) - 1))),
                      LineFeedsBefore(bytes, expected));
        }
        ASSERT_EQ(static_cast<std::uint64_t>(CountInMask(lf)), LineFeedsBefore(bytes, 16));
        unsigned char copy[16];
        StoreBlock(copy, block);
        ASSERT_EQ(std::vector<unsigned char>(copy, copy + 16), bytes);
    }
}
#endif

}  // namespace
