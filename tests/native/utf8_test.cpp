// Strict UTF-8: the decoder, the encoder, and the detection's UTF-8 check
// agreeing with the decoder on what is well-formed, also where a read block
// ends inside a character; and UTF-16 refused by the detection wherever it
// breaks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/byte_stream.h"
#include "engine/detect.h"
#include "engine/recognizers.h"
#include "engine/utf16.h"
#include "engine/utf8.h"
#include "tests/native/support/engine_files.h"

namespace {

Utf8Char Decode(const std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    return DecodeUtf8(p, p + bytes.size());
}

TEST(Utf8, DecodesTheEdgesOfEachLengthAndRefusesTheRest) {
    struct Case {
        std::string bytes;
        std::int32_t codePoint;
        int length;
    };
    const Case cases[] = {
        {std::string(1, '\0'), 0, 1},
        {"\x7F", 0x7F, 1},
        {"\xC2\x80", 0x80, 2},
        {"\xDF\xBF", 0x7FF, 2},
        {"\xE0\xA0\x80", 0x800, 3},
        {"\xED\x9F\xBF", 0xD7FF, 3},
        {"\xEE\x80\x80", 0xE000, 3},
        {"\xEF\xBF\xBF", 0xFFFF, 3},
        {"\xF0\x90\x80\x80", 0x10000, 4},
        {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
        {"\xE4\xBA\x9C"
         "a",
         0x4E9C, 3},
        // Overlong forms: C0, C1 never start a character; E0 and F0 want more.
        {"\xC0\xAF", kMalformedUtf8, 1},
        {"\xC1\xBF", kMalformedUtf8, 1},
        {"\xE0\x9F\xBF", kMalformedUtf8, 1},
        {"\xF0\x8F\xBF\xBF", kMalformedUtf8, 1},
        // Surrogates, and beyond U+10FFFF.
        {"\xED\xA0\x80", kMalformedUtf8, 1},
        {"\xED\xBF\xBF", kMalformedUtf8, 1},
        {"\xF4\x90\x80\x80", kMalformedUtf8, 1},
        {"\xF5\x80\x80\x80", kMalformedUtf8, 1},
        {"\xFF", kMalformedUtf8, 1},
        // A stray continuation byte; a sequence broken after one or two bytes
        // takes those bytes, not the one that broke it.
        {"\x80", kMalformedUtf8, 1},
        {"\xE3\x81"
         "A",
         kMalformedUtf8, 2},
        {"\xF0\x9F\x98"
         "A",
         kMalformedUtf8, 3},
        // Cut by the end of the bytes.
        {"\xE3", kCutUtf8, 1},
        {"\xE3\x81", kCutUtf8, 2},
        {"\xF0\x9F\x98", kCutUtf8, 3},
    };
    for (const Case& c : cases) {
        Utf8Char decoded = Decode(c.bytes);
        EXPECT_EQ(decoded.codePoint, c.codePoint) << c.bytes;
        EXPECT_EQ(decoded.length, c.length) << c.bytes;
    }
}

TEST(Utf8, EncodesEveryCodePointInItsShortestForm) {
    unsigned char bytes[4];
    for (std::uint32_t codePoint = 0; codePoint <= 0x10FFFF; codePoint++) {
        int length = EncodeUtf8(codePoint, bytes);
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
            ASSERT_EQ(length, 0) << codePoint;
            continue;
        }
        ASSERT_EQ(length, codePoint < 0x80      ? 1
                          : codePoint < 0x800   ? 2
                          : codePoint < 0x10000 ? 3
                                                : 4);
        Utf8Char back = DecodeUtf8(bytes, bytes + length);
        ASSERT_EQ(back.codePoint, static_cast<std::int32_t>(codePoint));
        ASSERT_EQ(back.length, length);
        std::uint32_t packed = PackUtf8(codePoint);
        if (codePoint > 0xFFFF) {
            ASSERT_EQ(packed, 0u);
        } else {
            ASSERT_EQ(PackedUtf8Length(packed), length);
            for (int i = 0; i < length; i++) ASSERT_EQ((packed >> (8 * i)) & 0xFF, bytes[i]);
        }
    }
    EXPECT_EQ(EncodeUtf8(0x110000, bytes), 0);
    EXPECT_EQ(PackUtf8(0xD800), 0u);
}

// The decoder and the detection's check call the same byte sequences
// well-formed: every sequence of one to three bytes, and four-byte ones
// with every first two bytes.
TEST(Utf8, TheDecoderAgreesWithTheDetectionsCheck) {
    auto recognized = [](const unsigned char* bytes, int length) {
        Utf8Recognizer recognizer;
        for (int i = 0; i < length; i++) recognizer.Feed(bytes[i]);
        return recognizer.Feed(-1) == 0;
    };
    auto decoded = [](const unsigned char* bytes, int length) {
        const unsigned char* p = bytes;
        while (p < bytes + length) {
            Utf8Char c = DecodeUtf8(p, bytes + length);
            if (c.codePoint < 0) return false;
            p += c.length;
        }
        return true;
    };
    unsigned char bytes[4];
    int disagreements = 0;
    for (unsigned first = 0; first < 256; first++) {
        bytes[0] = static_cast<unsigned char>(first);
        for (unsigned second = 0; second < 256; second++) {
            bytes[1] = static_cast<unsigned char>(second);
            if (recognized(bytes, 2) != decoded(bytes, 2)) disagreements++;
            for (unsigned third = 0; third < 256; third++) {
                bytes[2] = static_cast<unsigned char>(third);
                if (first >= 0xE0 && recognized(bytes, 3) != decoded(bytes, 3)) disagreements++;
                if (first < 0xF0 || (third != 0x80 && third != 0xBF && third != 0x41)) continue;
                for (unsigned fourth : {0x41u, 0x80u, 0xBFu, 0xC0u}) {
                    bytes[3] = static_cast<unsigned char>(fourth);
                    if (recognized(bytes, 4) != decoded(bytes, 4)) disagreements++;
                }
            }
        }
        if (recognized(bytes, 1) != decoded(bytes, 1)) disagreements++;
    }
    EXPECT_EQ(disagreements, 0);
}

// Japanese text in UTF-8 with a break placed across a read block's end, at
// every position of the break around it: the detection must never take the
// file for UTF-8 (it is then left undecided), while the same text without
// the break is UTF-8.
TEST(Utf8, TheDetectionRefusesBrokenUtf8AtEveryBlockBoundary) {
    const std::string good = "\xE3\x81\x82";  // あ
    const std::vector<std::string> breaks = {
        "\xE3\x81",                            // cut short
        "\xC0\xAF",                            // overlong '/'
        "\xE0\x80\xAF",                        // overlong '/'
        "\xED\xA0\x80",                        // a surrogate
        "\xF4\x90\x80\x80",                    // beyond U+10FFFF
        "\x80",                                // a stray continuation byte
        "\xF0\x9F\x98" + std::string("\xE3"),  // a four-byte form cut by another lead
    };
    for (int boundary : {kStreamBlockSize, 2 * kStreamBlockSize}) {
        for (int shift = -4; shift <= 4; shift++) {
            std::string text;
            while (static_cast<int>(text.size()) < boundary + shift - 3) text += good;
            text.append(static_cast<std::size_t>(boundary + shift - static_cast<int>(text.size())),
                        'a');
            std::string tail;
            for (int i = 0; i < 4; i++) tail += "x" + good + "\n";
            EncodingEvidence evidence;
            ScratchFile goodFile(text + good + tail);
            ASSERT_TRUE(GatherFileEvidence(goodFile.path(), &evidence));
            EXPECT_TRUE(evidence.utf8NonAscii) << boundary << shift;
            for (const std::string& broken : breaks) {
                ScratchFile file(text + broken + tail);
                ASSERT_TRUE(GatherFileEvidence(file.path(), &evidence));
                EXPECT_FALSE(evidence.utf8NonAscii) << boundary << " " << shift << " " << broken;
            }
            // And cut by the end of the file, just past the boundary.
            ScratchFile cut(text + good + "\xE3\x81");
            ASSERT_TRUE(GatherFileEvidence(cut.path(), &evidence));
            EXPECT_FALSE(evidence.utf8NonAscii) << boundary << shift;
        }
    }
}

// UTF-16 with a flaw at every position around a read block's end: never
// decided, while the same text without the flaw is.
TEST(Utf16, TheDetectionRefusesBrokenUtf16AtEveryBlockBoundary) {
    using namespace std::string_literals;
    // Lone surrogates, U+0000, data after the end mark.
    const std::string flaws[] = {"\x3D\xD8\x42\x30"s, "\x00\xDE"s, "\x00\xDE\x3D\xD8"s, "\0\0"s,
                                 "\x1A\0\x42\x30"s};
    const std::string tail = "\x0D\0\x0A\0\x3D\xD8\x00\xDE"s;  // CR LF, and a pair: 😀
    auto detect = [](const std::string& bytes) {
        ScratchFile file(bytes);
        EncodingEvidence evidence;
        EXPECT_TRUE(GatherFileEvidence(file.path(), &evidence));
        return DecideEncoding(evidence, bytes.size());
    };
    for (int boundary : {kStreamBlockSize, 2 * kStreamBlockSize}) {
        for (int shift = -3; shift <= 3; shift++) {
            std::string text = "\xFF\xFE";
            for (int i = 0; i < boundary / 2 - 1 + shift; i++) text += "\x42\x30";  // あ
            EXPECT_EQ(detect(text + tail), DetectionCode::Utf16Le) << boundary << " " << shift;
            // Cut by the end of the file: within a unit, or within the pair.
            EXPECT_EQ(detect(text + tail + "a"), DetectionCode::Undetermined) << shift;
            EXPECT_EQ(detect(text + tail.substr(0, 6)), DetectionCode::Undetermined) << shift;
            for (const std::string& flaw : flaws) {
                EXPECT_EQ(detect(text + flaw + tail), DetectionCode::Undetermined) << shift;
            }
        }
    }
    // The check fed in two pieces split at every byte, the last unit whole or cut.
    const std::string text = "\x42\x30\x3D\xD8\x00\xDE\x1A\0"s;  // あ, 😀, the end mark
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t size : {text.size(), text.size() - 1}) {
        for (std::size_t split = 0; split <= size; split++) {
            Utf16Check check(ByteOrder::LittleEndian);
            EXPECT_TRUE(check.Feed(p, p + split) && check.Feed(p + split, p + size));
            EXPECT_EQ(check.Finish(), size == text.size()) << split;
        }
    }
}

}  // namespace
