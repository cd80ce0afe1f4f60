// The engine's streams and conversions on the Windows build, on real files
// under Wine: the C runtime underneath must not add translations of its own,
// file names in code page 932 must open, and the results must be the same
// bytes as on the native build.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "engine/byte_stream.h"
#include "engine/conversion.h"
#include "tests/win32/support/test_support.h"

namespace {

std::string ReadAllThrough(const std::string& path, StreamMode mode) {
    ByteStream* s = StreamOpen(path.c_str(), mode);
    if (s == nullptr) return "<no stream>";
    std::string delivered;
    for (int b = StreamReadByte(s); b >= 0; b = StreamReadByte(s))
        delivered += static_cast<char>(b);
    return StreamClose(s) ? delivered : "<close failed>";
}

TEST(EngineFiles, ReadingTranslatesOnlyWhatTheModeSays) {
    ScratchFolder scratch;
    std::string path = scratch / "読み.txt";
    // The CR LF pair straddles the first block boundary.
    std::string text = std::string(kStreamBlockSize - 1, 'a') +
                       "\r\nb\rc\x1A"
                       "d";
    ASSERT_TRUE(WriteBytes(path, text));
    EXPECT_EQ(ReadAllThrough(path, StreamMode::ReadBinary), text);
    EXPECT_EQ(ReadAllThrough(path, StreamMode::ReadText),
              std::string(kStreamBlockSize - 1, 'a') + "\nb\rc");
    ByteStream* s = StreamOpen(path.c_str(), StreamMode::ReadText);
    ASSERT_NE(s, nullptr);
    while (StreamReadByte(s) >= 0) {
    }
    EXPECT_TRUE(StreamDataFollowsEndMark(s));
    EXPECT_TRUE(StreamClose(s));
}

TEST(EngineFiles, WritingTranslatesOnlyWhatTheModeSays) {
    ScratchFolder scratch;
    for (bool text : {true, false}) {
        std::string path = scratch / (std::string("書き") + (text ? "w" : "wb") + ".txt");
        ByteStream* s =
            StreamOpen(path.c_str(), text ? StreamMode::WriteText : StreamMode::WriteBinary);
        ASSERT_NE(s, nullptr);
        for (char c : std::string("a\nb\r\x1A")) StreamWriteByte(s, static_cast<unsigned char>(c));
        ASSERT_TRUE(StreamClose(s));
        EXPECT_EQ(ReadBytes(path), text ? "a\r\nb\r\x1A" : "a\nb\r\x1A") << path;
    }
}

TEST(EngineFiles, ConversionsGiveTheSameBytesAsEverywhere) {
    ScratchFolder scratch;
    struct Case {
        DetectionCode source;
        ConversionMask mask;
        std::string text;
        std::string converted;
    } cases[] = {
        {DetectionCode::ShiftJis, ConversionMask::IntoEucJp, "表示\r\nｱ\r\n",
         "\xC9\xBD\xBC\xA8\n\x8E\xB1\n"},
        {DetectionCode::EucJp, ConversionMask::IntoShiftJis, "\xC9\xBD\xBC\xA8\n\x8E\xB1\n",
         "表示\r\nｱ\r\n"},
        {DetectionCode::Iso2022Jp, ConversionMask::IntoShiftJis, "\x1B$BI=<(\x1B(B\n", "表示\r\n"},
        {DetectionCode::Iso2022Jp, ConversionMask::IntoEucJp, "\x1B$BI=<(\x1B(B\r\n",
         "\xC9\xBD\xBC\xA8\n"},
    };
    for (const Case& c : cases) {
        const ConversionRule* rule = nullptr;
        ASSERT_EQ(FindConversionRule(c.source, c.mask, &rule), RuleOutcome::Convert);
        std::string from = scratch / "元.txt";
        std::string to = scratch / "先.txt";
        ASSERT_TRUE(WriteBytes(from, c.text));
        ByteStream* input = StreamOpen(from.c_str(), StreamMode::ReadText);
        ByteStream* output = StreamOpen(to.c_str(), rule->outputMode);
        ASSERT_NE(input, nullptr);
        ASSERT_NE(output, nullptr);
        TranscodeStream(input, output, rule);
        EXPECT_TRUE(StreamClose(input));
        EXPECT_TRUE(StreamClose(output));
        EXPECT_EQ(ReadBytes(to), c.converted)
            << static_cast<int>(c.source) << " " << static_cast<int>(c.mask);
    }
}

TEST(EngineFiles, AFileHeldExclusivelyDoesNotOpen) {
    ScratchFolder scratch;
    std::string path = scratch / "held.txt";
    ASSERT_TRUE(WriteBytes(path, "keep"));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(StreamOpen(path.c_str(), StreamMode::ReadText), nullptr);
    EXPECT_EQ(StreamOpen(path.c_str(), StreamMode::WriteText),
              nullptr);  // and it is not emptied either
    CloseHandle(h);
    EXPECT_EQ(ReadBytes(path), "keep");
}

}  // namespace
