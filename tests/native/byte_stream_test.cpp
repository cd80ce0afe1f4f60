// The engine's byte streams: the four modes, the text-mode translations at
// every position around the block boundaries, pushing back, and the close
// that reports lost bytes.
#include "engine/byte_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/native/support/engine_files.h"

namespace {

using namespace std::string_literals;

const std::string kCrLf = "\r\n";

std::string AllByteValues() {
    std::string bytes;
    for (int b = 0; b < 256; b++) bytes += static_cast<char>(b);
    return bytes;
}

TEST(StreamOpen, AcceptsOnlyTheFourModes) {
    ScratchFile file("abc");
    // A value none of the four stand for (a stray cast, say).
    EXPECT_EQ(StreamOpen(file.path(), static_cast<StreamMode>(4)), nullptr);
    EXPECT_EQ(StreamOpen(file.path(), static_cast<StreamMode>(-1)), nullptr);
    EXPECT_EQ(StreamOpen(nullptr, StreamMode::ReadText), nullptr);
    EXPECT_EQ(file.Read(), "abc");  // a refused mode leaves the file alone
    EXPECT_EQ(StreamOpen("/nonexistent/folder/file", StreamMode::ReadText), nullptr);
    EXPECT_EQ(StreamOpen("/nonexistent/folder/file", StreamMode::WriteText), nullptr);
}

TEST(BinaryModes, PassEveryByteUnchanged) {
    std::string bytes = AllByteValues() +
                        "\r\n\x1A"
                        "after"
                        "\r";
    EXPECT_EQ(ReadThrough(bytes, StreamMode::ReadBinary), bytes);
    EXPECT_EQ(WriteThrough(bytes, StreamMode::WriteBinary), bytes);
}

TEST(TextReading, TranslatesCrLfAndStopsAtTheEndMark) {
    struct Case {
        std::string file;
        std::string delivered;
    } cases[] = {
        {"", ""},
        {"a\r\nb\r\n", "a\nb\n"},
        {"a\rb", "a\rb"},        // a lone CR arrives unchanged
        {"a\r\r\nb", "a\r\nb"},  // only the CR right before the LF goes
        {"a\n\rb", "a\n\rb"},    // LF CR is no pair
        {"\r", "\r"},            // a CR at the very end
        {"\r\n", "\n"},
        {"abc\x1A"
         "def",
         "abc"},  // the first 0x1A ends the input
        {"\x1A", ""},
        {"a\r\x1A\n", "a\r"},  // a CR before the end mark has no LF after it
        {"a\x1A\x1A", "a"},
        {AllByteValues(), AllByteValues().substr(0, 0x1A)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadThrough(c.file, StreamMode::ReadText), c.delivered) << c.file;
}

TEST(TextReading, PairsAndEndMarksAcrossEveryBlockBoundaryNearby) {
    const std::size_t block = kStreamBlockSize;
    const std::string pieces[] = {"\r\n",
                                  "\r",
                                  "\r\r\n",
                                  "\n\r",
                                  "\x1A"
                                  "z",
                                  "\r\x1A",
                                  "\r\n\r\n"};
    for (std::size_t boundary : {block, 2 * block}) {
        for (const std::string& piece : pieces) {
            for (std::size_t at = boundary - 3; at <= boundary + 1; at++) {
                std::string file(at, 'a');
                file += piece;
                // Ends right after the piece, or goes on past the boundary.
                for (std::size_t tail : {std::size_t{0}, std::size_t{5}}) {
                    std::string whole = file + std::string(tail, 'b');
                    ASSERT_EQ(ReadThrough(whole, StreamMode::ReadText), TextModeReading(whole))
                        << "piece of " << piece.size() << " bytes at " << at << ", tail " << tail;
                }
            }
        }
    }
}

// The CR and the end mark are searched for a word at a time: found at every
// position inside a word, and never taken for the bytes that differ from them
// in one bit (0x8D, 0x9A, 0x0C, 0x1B, ...) nor for a word of such bytes.
TEST(TextReading, PairsAndEndMarksAtEveryPositionInAWord) {
    const std::string nearMisses =
        "\x8D\x9A\x0C\x1B\x0F\x18\x1E\x2D\x3A\x4D\x5A\x8C\x19\x0E\xFF\x00";
    for (std::size_t at = 0; at < 24; at++) {
        for (const std::string& noise : {std::string(at, 'a'), nearMisses.substr(0, at % 17)}) {
            std::string before = noise + std::string(at, 'b');
            EXPECT_EQ(ReadThrough(before + "\r\n" + nearMisses, StreamMode::ReadText),
                      before + "\n" + nearMisses)
                << at;
            EXPECT_EQ(ReadThrough(before + "\x1A" + nearMisses, StreamMode::ReadText), before)
                << at;
            EXPECT_EQ(ReadThrough(before + "\r" + nearMisses + "\r\n", StreamMode::ReadText),
                      before + "\r" + nearMisses + "\n")
                << at;
            EXPECT_EQ(ReadThrough(before + nearMisses, StreamMode::ReadText), before + nearMisses)
                << at;
        }
    }
}

TEST(TextReading, CrAtTheEndOfAFileOfExactlyOneBlock) {
    std::string file(kStreamBlockSize - 1, 'a');
    file += '\r';
    EXPECT_EQ(ReadThrough(file, StreamMode::ReadText), file);
    // And a whole block of CR LF pairs, so a block can shrink to half.
    std::string pairs;
    while (pairs.size() < 3 * static_cast<std::size_t>(kStreamBlockSize)) pairs += kCrLf;
    EXPECT_EQ(ReadThrough(pairs, StreamMode::ReadText), std::string(pairs.size() / 2, '\n'));
}

TEST(TextWriting, EveryLfGoesOutAsCrLf) {
    EXPECT_EQ(WriteThrough("a\nb\n", StreamMode::WriteText), "a\r\nb\r\n");
    EXPECT_EQ(WriteThrough("a\rb\r\n", StreamMode::WriteText),
              "a\rb\r\r\n");  // nothing else changes
    EXPECT_EQ(WriteThrough("\x1A\n", StreamMode::WriteText), "\x1A\r\n");
    EXPECT_EQ(WriteThrough("", StreamMode::WriteText), "");
    // Across block flushes, with the LF at every position around them.
    for (std::size_t at = kStreamBlockSize - 3; at <= kStreamBlockSize + 1; at++) {
        std::string text(at, 'x');
        text += "\n\n";
        text += std::string(kStreamBlockSize, 'y');
        std::string expected(at, 'x');
        expected += "\r\n\r\n";
        expected += std::string(kStreamBlockSize, 'y');
        ASSERT_EQ(WriteThrough(text, StreamMode::WriteText), expected) << at;
    }
}

TEST(Pushback, TheNextReadReturnsTheByteAgain) {
    std::string file(kStreamBlockSize + 10, 'a');
    file[kStreamBlockSize] = 'B';
    ScratchFile scratch(file);
    ByteStream* s = StreamOpen(scratch.path(), StreamMode::ReadBinary);
    ASSERT_NE(s, nullptr);
    StreamUnreadByte(s, 'x');  // before anything was read
    EXPECT_EQ(StreamReadByte(s), 'x');
    for (int i = 0; i < kStreamBlockSize; i++) ASSERT_EQ(StreamReadByte(s), 'a');
    // The first byte of the second block, pushed back and read again.
    EXPECT_EQ(StreamReadByte(s), 'B');
    StreamUnreadByte(s, 'B');
    EXPECT_EQ(StreamReadByte(s), 'B');
    // Several in a row come back in reverse order.
    for (int i = 0; i < kStreamPushbackRoom; i++) StreamUnreadByte(s, '0' + i % 10);
    for (int i = kStreamPushbackRoom - 1; i >= 0; i--) ASSERT_EQ(StreamReadByte(s), '0' + i % 10);
    for (int i = 0; i < 9; i++) ASSERT_EQ(StreamReadByte(s), 'a');
    EXPECT_EQ(StreamReadByte(s), -1);
    StreamUnreadByte(s, -1);  // the end marker is not a byte
    EXPECT_EQ(StreamReadByte(s), -1);
    StreamUnreadByte(s, 'z');  // after the end
    EXPECT_EQ(StreamReadByte(s), 'z');
    EXPECT_EQ(StreamReadByte(s), -1);
    EXPECT_TRUE(StreamClose(s));
}

TEST(Pushback, ABytePushedBackInTextModeIsNotTranslatedAgain) {
    ScratchFile scratch("\r\nx");
    ByteStream* s = StreamOpen(scratch.path(), StreamMode::ReadText);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(StreamReadByte(s), '\n');
    StreamUnreadByte(s, '\r');
    EXPECT_EQ(StreamReadByte(s), '\r');
    EXPECT_EQ(StreamReadByte(s), 'x');
    EXPECT_EQ(StreamReadByte(s), -1);
    EXPECT_TRUE(StreamClose(s));
}

TEST(StreamClose, ReportsBytesThatDidNotReachTheFile) {
    // /dev/full refuses every write with "no space left".
    for (StreamMode mode : {StreamMode::WriteText, StreamMode::WriteBinary}) {
        ByteStream* s = StreamOpen("/dev/full", mode);
        ASSERT_NE(s, nullptr);
        for (int i = 0; i < 3 * kStreamBlockSize; i++) StreamWriteByte(s, 'a');
        EXPECT_TRUE(StreamFailed(s));
        EXPECT_FALSE(StreamClose(s)) << static_cast<int>(mode);
    }
    // A single byte still waiting in the block is written by the close.
    ByteStream* s = StreamOpen("/dev/full", StreamMode::WriteBinary);
    ASSERT_NE(s, nullptr);
    StreamWriteByte(s, 'a');
    EXPECT_FALSE(StreamClose(s));
    EXPECT_FALSE(StreamClose(nullptr));
}

TEST(StreamClose, ReportsAReadError) {
    // A folder opens on Linux, but reading it fails: the input ends at once
    // and the close says that the input was not read completely.
    ByteStream* s = StreamOpen("/tmp", StreamMode::ReadText);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(StreamReadByte(s), -1);
    EXPECT_TRUE(StreamFailed(s));
    EXPECT_FALSE(StreamClose(s));
}

TEST(StreamClose, WrongDirectionFailsWithoutHarm) {
    ScratchFile file("abc");
    ByteStream* in = StreamOpen(file.path(), StreamMode::ReadText);
    ASSERT_NE(in, nullptr);
    StreamWriteByte(in, 'x');  // writing into an input stream
    EXPECT_EQ(StreamReadByte(in), 'a');
    EXPECT_FALSE(StreamClose(in));
    EXPECT_EQ(file.Read(), "abc");

    ByteStream* out = StreamOpen(file.path(), StreamMode::WriteText);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(StreamReadByte(out), -1);  // reading from an output stream
    StreamUnreadByte(out, 'q');
    StreamWriteByte(out, 'z');
    EXPECT_TRUE(StreamClose(out));
    EXPECT_EQ(file.Read(), "z");
}

TEST(EndMark, DataAfterItIsReported) {
    struct Case {
        std::string file;
        bool dataFollows;
    } cases[] = {
        {"\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s, true},  // every PNG begins so
        {"abc\r\n\x1A", false},                    // a final end mark
        {"abc\x1A\x1A\x1A", false},                // a run of them at the very end
        {"abc\x1A\x1A"
         "d",
         true},
        {"abc\x1A\n", true},
        {"abc", false},  // no end mark at all
        {"abc\n", false},
    };
    for (const Case& c : cases) {
        ScratchFile file(c.file);
        ByteStream* s = StreamOpen(file.path(), StreamMode::ReadText);
        ASSERT_NE(s, nullptr);
        while (StreamReadByte(s) >= 0) {
        }
        EXPECT_EQ(StreamDataFollowsEndMark(s), c.dataFollows) << c.file;
        EXPECT_TRUE(StreamClose(s));
    }
}

TEST(EndMark, DataAfterALongRunOfEndMarksInLaterBlocks) {
    for (std::size_t run : {std::size_t{kStreamBlockSize}, std::size_t{3 * kStreamBlockSize + 7}}) {
        for (bool data : {false, true}) {
            std::string file = "text" + std::string(run, '\x1A') + (data ? "x" : "");
            ScratchFile scratch(file);
            ByteStream* s = StreamOpen(scratch.path(), StreamMode::ReadText);
            ASSERT_NE(s, nullptr);
            std::string delivered;
            for (int b = StreamReadByte(s); b >= 0; b = StreamReadByte(s)) delivered += char(b);
            EXPECT_EQ(delivered, "text");
            EXPECT_EQ(StreamDataFollowsEndMark(s), data) << run;
            EXPECT_TRUE(StreamClose(s));
        }
    }
}

TEST(StreamAttach, TakesOverAnOpenFile) {
    ScratchFile scratch("a\r\nb");
    ByteStream* s = StreamAttach(std::fopen(scratch.path(), "rb"), StreamMode::ReadText);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(StreamReadByte(s), 'a');
    EXPECT_EQ(StreamReadByte(s), '\n');
    EXPECT_EQ(StreamReadByte(s), 'b');
    EXPECT_TRUE(StreamClose(s));
    EXPECT_EQ(StreamAttach(std::fopen(scratch.path(), "rb"), static_cast<StreamMode>(4)), nullptr);
    EXPECT_EQ(StreamAttach(nullptr, StreamMode::ReadText), nullptr);
}

// A flush hands the bytes to the file and leaves the stream open for more.
TEST(StreamFlush, BytesReachTheFileWhileTheStreamStaysOpen) {
    ScratchFile file;
    ByteStream* s = StreamOpen(file.path(), StreamMode::WriteText);
    ASSERT_NE(s, nullptr);
    StreamWriteByte(s, 'a');
    StreamWriteByte(s, '\n');
    EXPECT_TRUE(StreamFlush(s));
    EXPECT_EQ(file.Read(), "a\r\n");
    StreamWriteByte(s, 'b');
    EXPECT_TRUE(StreamClose(s));
    EXPECT_EQ(file.Read(), "a\r\nb");

    // A write that fails is reported by the flush, and again by the close.
    s = StreamOpen("/dev/full", StreamMode::WriteBinary);
    ASSERT_NE(s, nullptr);
    StreamWriteByte(s, 'a');
    EXPECT_FALSE(StreamFlush(s));
    EXPECT_FALSE(StreamClose(s));

    // Nothing to hand on while reading.
    ScratchFile input("xy");
    s = StreamOpen(input.path(), StreamMode::ReadText);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(StreamFlush(s));
    EXPECT_EQ(StreamReadByte(s), 'x');
    EXPECT_TRUE(StreamClose(s));
}

}  // namespace
