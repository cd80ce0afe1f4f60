// The byte tests of engine/word_scan.h against the byte-by-byte truth, in
// the stop sets the fast paths use: every byte value at every position of a
// word and of a block, among neighbours that stop a run and ones that nearly
// do, so that a carry or a borrow that reaches below the first stop shows.
#include "engine/word_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
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

// What a copy kernel did: the bytes it wrote and how far it read.
struct Copied {
    std::vector<unsigned char> bytes;
    std::size_t read;
    bool operator==(const Copied& other) const {
        return bytes == other.bytes && read == other.read;
    }
};

// Runs the kernel over the input into an output block with room for `room`
// bytes; what it wrote in front of where it stopped.
template <typename Kernel>
Copied RunKernel(const std::vector<unsigned char>& input, std::size_t room, Kernel kernel) {
    std::vector<unsigned char> in = input;
    std::vector<unsigned char> out(room + 1, 0xEE);
    unsigned char* p = in.data();
    unsigned char* q = out.data();
    kernel(&p, in.data() + in.size(), &q, out.data() + room);
    return {std::vector<unsigned char>(out.data(), q), static_cast<std::size_t>(p - in.data())};
}

// CopyPlainRun against the byte-by-byte truth, for the stop sets the
// conversions use, with outputs of every size up to the input's (and the
// input's CR LF needing two bytes).
TEST(CopyPlainRun, CopiesUpToTheFirstStopAsFarAsBothBlocksAllow) {
    struct StopSet {
        int stop1, stop2;
        bool crLf;
        void (*kernel)(unsigned char**, const unsigned char*, unsigned char**,
                       const unsigned char*);
    } sets[] = {
        {kEsc, kNoStop, false, CopyPlainRun<kEsc, kNoStop, false>},
        {kEsc, kNoStop, true, CopyPlainRun<kEsc, kNoStop, true>},
        {0x1A, kNoStop, false, CopyPlainRun<0x1A, kNoStop, false>},
        {0x1A, kEsc, false, CopyPlainRun<0x1A, kEsc, false>},
        {kNoStop, kNoStop, true, CopyPlainRun<kNoStop, kNoStop, true>},
    };
    std::mt19937 random(27);
    for (const StopSet& set : sets) {
        for (int sample = 0; sample < 3000; sample++) {
            std::vector<unsigned char> input(random() % 48);
            for (unsigned char& b : input) {
                b = random() % 4 == 0 ? kNeighbours[random() % sizeof kNeighbours] : 'a';
            }
            std::size_t room = random() % (2 * input.size() + 2);
            Copied truth{{}, 0};
            for (unsigned char b : input) {
                bool stop = b >= 0x80 || b == set.stop1 || b == set.stop2;
                std::size_t need = set.crLf && b == kLf ? 2 : 1;
                if (stop || truth.bytes.size() + need > room) break;
                if (need == 2) truth.bytes.push_back('\r');
                truth.bytes.push_back(b);
                truth.read++;
            }
            ASSERT_TRUE(RunKernel(input, room, set.kernel) == truth)
                << "set " << (&set - sets) << " sample " << sample;
        }
    }
}

// NarrowPlainRun the same way, over UTF-16 units in either byte order, a
// unit cut by the end of the input included.
TEST(NarrowPlainRun, NarrowsUnitsBelow0x80UpToTheFirstStop) {
    using Kernel =
        void (*)(unsigned char**, const unsigned char*, unsigned char**, const unsigned char*);
    struct StopSet {
        bool bigEndian;
        int stops[3];
        Kernel kernel;
    } sets[] = {
        {false, {0x1A, 0x0D, 0x0A}, NarrowPlainRun<false, 0x1A, 0x0D, 0x0A>},
        {false, {0x1A, 0x0D, kNoStop}, NarrowPlainRun<false, 0x1A, 0x0D, kNoStop>},
        {false, {0x1A, kNoStop, kNoStop}, NarrowPlainRun<false, 0x1A, kNoStop, kNoStop>},
        {true, {0x1A, 0x0D, 0x0A}, NarrowPlainRun<true, 0x1A, 0x0D, 0x0A>},
        {true, {0x1A, kNoStop, kNoStop}, NarrowPlainRun<true, 0x1A, kNoStop, kNoStop>},
    };
    // Units that stop a run and ones a bit or a byte away from them.
    const unsigned kUnits[] = {0x0000, 0x000A, 0x000D, 0x001A, 0x007F, 0x0080, 0x00FF, 0x0100,
                               0x0A00, 0x0D00, 0x1A00, 0x3042, 0x7F00, 0x8000, 0xD83D, 0xFFFF,
                               0x0061, 0x0020, 0x001B, 0x4E00, 0x000B, 0x0019, 0x7F7F, 0x8080};
    std::mt19937 random(16);
    for (const StopSet& set : sets) {
        for (int sample = 0; sample < 3000; sample++) {
            std::vector<unsigned char> input;
            std::size_t units = random() % 40;
            for (std::size_t i = 0; i < units; i++) {
                unsigned unit = random() % 3 == 0 ? kUnits[random() % std::size(kUnits)] : 'a';
                unsigned char high = static_cast<unsigned char>(unit >> 8);
                unsigned char low = static_cast<unsigned char>(unit);
                input.push_back(set.bigEndian ? high : low);
                input.push_back(set.bigEndian ? low : high);
            }
            if (random() % 4 == 0) input.push_back('a');  // a unit cut by the end
            std::size_t room = random() % (units + 2);
            Copied truth{{}, 0};
            for (std::size_t i = 0; i + 1 < input.size(); i += 2) {
                unsigned unit =
                    set.bigEndian ? input[i] * 256u + input[i + 1] : input[i] + input[i + 1] * 256u;
                bool stop = unit >= 0x80 || std::count(std::begin(set.stops), std::end(set.stops),
                                                       static_cast<int>(unit)) != 0;
                if (stop || truth.bytes.size() == room) break;
                truth.bytes.push_back(static_cast<unsigned char>(unit));
                truth.read += 2;
            }
            ASSERT_TRUE(RunKernel(input, room, set.kernel) == truth)
                << "set " << (&set - sets) << " sample " << sample;
        }
    }
}

}  // namespace
