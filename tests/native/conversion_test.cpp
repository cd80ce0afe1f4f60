// The conversion table, the readers, the mappers and the transcoding loop:
// every case of the rules, the block boundaries, and the fast loop against
// the plain one that calls the rule's functions for every character.
#include "engine/conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/mappers.h"
#include "engine/pair_table.h"
#include "engine/readers.h"
#include "tests/native/support/engine_files.h"

namespace {

using namespace std::string_literals;

const ConversionRule* SjisToEuc() {
    return RuleFor(DetectionCode::ShiftJis, ConversionMask::IntoEucJp);
}
const ConversionRule* EucToSjis() {
    return RuleFor(DetectionCode::EucJp, ConversionMask::IntoShiftJis);
}
const ConversionRule* JisToSjis() {
    return RuleFor(DetectionCode::Iso2022Jp, ConversionMask::IntoShiftJis);
}
const ConversionRule* JisToEuc() {
    return RuleFor(DetectionCode::Iso2022Jp, ConversionMask::IntoEucJp);
}

TEST(FindConversionRule, OutcomesForEveryCodeAndMask) {
    const ConversionRule* rule = &ConversionTable[0];
    EXPECT_EQ(FindConversionRule(DetectionCode::Undetermined, ConversionMask::BothWays, &rule),
              RuleOutcome::Skip);
    EXPECT_EQ(rule, nullptr);
    for (ConversionMask mask : {ConversionMask::None, ConversionMask::IntoShiftJis,
                                ConversionMask::IntoEucJp, ConversionMask::BothWays}) {
        EXPECT_EQ(FindConversionRule(DetectionCode::Undetermined, mask, &rule), RuleOutcome::Skip);
        for (DetectionCode code : {DetectionCode::Directory, DetectionCode::CopyUnchanged,
                                   DetectionCode{0}, DetectionCode{999}}) {
            EXPECT_EQ(FindConversionRule(code, mask, &rule), RuleOutcome::Copy)
                << static_cast<int>(code);
            EXPECT_EQ(rule, nullptr);
        }
    }
    struct Case {
        DetectionCode code;
        ConversionMask mask;
        const ConversionRule* rule;  // null: copy
    } cases[] = {
        {DetectionCode::EucJp, ConversionMask::IntoShiftJis, &ConversionTable[1]},
        {DetectionCode::EucJp, ConversionMask::IntoEucJp, nullptr},
        {DetectionCode::EucJp, ConversionMask::BothWays, &ConversionTable[1]},
        {DetectionCode::ShiftJis, ConversionMask::IntoShiftJis, nullptr},
        {DetectionCode::ShiftJis, ConversionMask::IntoEucJp, &ConversionTable[0]},
        {DetectionCode::ShiftJis, ConversionMask::BothWays, &ConversionTable[0]},
        {DetectionCode::Iso2022Jp, ConversionMask::IntoShiftJis, &ConversionTable[2]},
        {DetectionCode::Iso2022Jp, ConversionMask::IntoEucJp, &ConversionTable[3]},
        {DetectionCode::Iso2022Jp, ConversionMask::BothWays,
         &ConversionTable[2]},  // row 3 comes before row 4
        {DetectionCode::EucJp, ConversionMask::None, nullptr},
    };
    for (const Case& c : cases) {
        RuleOutcome outcome = FindConversionRule(c.code, c.mask, &rule);
        EXPECT_EQ(outcome, c.rule ? RuleOutcome::Convert : RuleOutcome::Copy)
            << static_cast<int>(c.code) << " " << static_cast<int>(c.mask);
        EXPECT_EQ(rule, c.rule) << static_cast<int>(c.code) << " " << static_cast<int>(c.mask);
    }
}

TEST(FindConversionRule, Utf8RulesForEveryCodeAndMask) {
    constexpr ConversionMask kMark = ConversionMask::WithByteOrderMark;
    constexpr DetectionCode kLe = DetectionCode::Utf16Le, kBe = DetectionCode::Utf16Be;
    constexpr Transcoder kFromUtf16 = Transcoder::FromUtf16;
    struct Case {
        DetectionCode code;
        ConversionMask mask;
        RuleOutcome outcome;
        Transcoder transcoder;  // for Convert
        LegacyEncoding legacy;
    } cases[] = {
        {DetectionCode::ShiftJis, ConversionMask::IntoUtf8, RuleOutcome::Convert,
         Transcoder::IntoUtf8, LegacyEncoding::ShiftJis},
        {DetectionCode::EucJp, ConversionMask::IntoUtf8, RuleOutcome::Convert, Transcoder::IntoUtf8,
         LegacyEncoding::EucJp},
        {DetectionCode::Iso2022Jp, ConversionMask::IntoUtf8, RuleOutcome::Convert,
         Transcoder::IntoUtf8, LegacyEncoding::Iso2022Jp},
        {DetectionCode::Utf8, ConversionMask::IntoUtf8, RuleOutcome::Copy, {}, {}},
        {DetectionCode::Utf8, ConversionMask::IntoShiftJis, RuleOutcome::Convert,
         Transcoder::FromUtf8, LegacyEncoding::ShiftJis},
        {DetectionCode::Utf8, ConversionMask::IntoEucJp, RuleOutcome::Convert, Transcoder::FromUtf8,
         LegacyEncoding::EucJp},
        // Both ways is between Shift-JIS and EUC-JP: UTF-8 and UTF-16 are copied.
        {DetectionCode::Utf8, ConversionMask::BothWays, RuleOutcome::Copy, {}, {}},
        {kBe, ConversionMask::BothWays | kMark, RuleOutcome::Copy, {}, {}},
        {kLe, ConversionMask::IntoShiftJis, RuleOutcome::Convert, kFromUtf16, {}},
        {kBe, ConversionMask::IntoEucJp, RuleOutcome::Convert, kFromUtf16, {}},
        {kLe, ConversionMask::IntoUtf8, RuleOutcome::Convert, kFromUtf16, {}},
        // UTF-8 into UTF-8 only for the byte-order mark, the rest as it is.
        {DetectionCode::Utf8,
         ConversionMask::IntoUtf8 | kMark,
         RuleOutcome::Convert,
         Transcoder::CopyBytes,
         {}},
        {DetectionCode::Utf8, ConversionMask::None, RuleOutcome::Copy, {}, {}},
        {DetectionCode::Undetermined, ConversionMask::IntoUtf8, RuleOutcome::Skip, {}, {}},
        {DetectionCode::CopyUnchanged, ConversionMask::IntoUtf8, RuleOutcome::Copy, {}, {}},
        {DetectionCode::Directory, ConversionMask::IntoUtf8, RuleOutcome::Copy, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.code)) + " " +
                     std::to_string(static_cast<int>(c.mask)));
        const ConversionRule* rule = &ConversionTable[0];
        ASSERT_EQ(FindConversionRule(c.code, c.mask, &rule), c.outcome);
        if (c.outcome != RuleOutcome::Convert) {
            EXPECT_EQ(rule, nullptr);
            continue;
        }
        ASSERT_NE(rule, nullptr);
        EXPECT_EQ(rule->transcoder, c.transcoder);
        EXPECT_EQ(rule->legacy, c.legacy);
        EXPECT_EQ(rule->sourceCode, c.code);
        // The modes the transcoder asks for: only UTF-8 read as text, only
        // Shift-JIS written so.
        EXPECT_EQ(rule->inputMode, c.transcoder == Transcoder::FromUtf8 ? StreamMode::ReadText
                                                                        : StreamMode::ReadBinary);
        EXPECT_EQ(rule->outputMode, rule->targetMask == ConversionMask::IntoShiftJis
                                        ? StreamMode::WriteText
                                        : StreamMode::WriteBinary);
    }
    // The old rows read text and go character by character, as before.
    for (const ConversionRule& row : ConversionTable) {
        EXPECT_EQ(row.transcoder, Transcoder::CodeByCode);
        EXPECT_EQ(row.inputMode, StreamMode::ReadText);
    }
}

TEST(FindItemRule, AUtf8FileMarkedInTheReviewIsConvertedFromUtf8WithSubstitutes) {
    WorkItem item{};
    const ConversionRule* rule = nullptr;
    ConversionOptions options{true, true};
    bool& substitute = options.substitute;
    // As detected: the mask decides, nothing substituted.
    item.code = item.detected = DetectionCode::Utf8;
    EXPECT_EQ(FindItemRule(&item, ConversionMask::IntoShiftJis, &rule, &options),
              RuleOutcome::Convert);
    EXPECT_FALSE(substitute);
    EXPECT_EQ(rule->legacy, LegacyEncoding::ShiftJis);
    // Marked "Shift-JIS へ変換する" (taken as EUC-JP), with both ways as the review runs.
    item.code = DetectionCode::EucJp;
    EXPECT_EQ(FindItemRule(&item, ConversionMask::BothWays, &rule, &options), RuleOutcome::Convert);
    EXPECT_TRUE(substitute);
    EXPECT_EQ(rule->transcoder, Transcoder::FromUtf8);
    EXPECT_EQ(rule->legacy, LegacyEncoding::ShiftJis);
    // Marked "日本語EUC へ変換する".
    item.code = DetectionCode::ShiftJis;
    EXPECT_EQ(FindItemRule(&item, ConversionMask::BothWays, &rule, &options), RuleOutcome::Convert);
    EXPECT_TRUE(substitute);
    EXPECT_EQ(rule->legacy, LegacyEncoding::EucJp);
    // Copy and ignore as for any row.
    item.code = DetectionCode::CopyUnchanged;
    EXPECT_EQ(FindItemRule(&item, ConversionMask::BothWays, &rule, &options), RuleOutcome::Copy);
    EXPECT_FALSE(substitute);
    item.code = DetectionCode::Undetermined;
    EXPECT_EQ(FindItemRule(&item, ConversionMask::BothWays, &rule, &options), RuleOutcome::Skip);
    // A file detected as Shift-JIS and marked in the review converts as before.
    item.detected = DetectionCode::ShiftJis;
    item.code = DetectionCode::ShiftJis;
    EXPECT_EQ(FindItemRule(&item, ConversionMask::BothWays, &rule, &options), RuleOutcome::Convert);
    EXPECT_FALSE(substitute);
    EXPECT_EQ(rule, &ConversionTable[0]);
}

TEST(ConvertStream, EachKindOfRuleGoesThroughItsTranscoder) {
    // メモ: Shift-JIS with CR LF into UTF-8 keeps the CR LF; back from UTF-8
    // into Shift-JIS the LF is written as CR LF, as every Shift-JIS output.
    const std::string sjis = "\x83\x81\x83\x82\r\n";
    const std::string utf8 = "\xE3\x83\xA1\xE3\x83\xA2\r\n";
    auto convert = [](const std::string& bytes, const ConversionRule* rule, bool substitute,
                      Utf8Outcome* outcome) {
        ScratchFile from(bytes);
        ScratchFile to;
        ByteStream* input = StreamOpen(from.path(), rule->inputMode);
        ByteStream* output = StreamOpen(to.path(), rule->outputMode);
        *outcome = ConvertStream(input, output, rule, ConversionOptions{substitute, false}).outcome;
        StreamClose(input);
        return StreamClose(output) ? to.Read() : std::string("<failed>");
    };
    Utf8Outcome outcome{};
    EXPECT_EQ(
        convert(sjis, RuleFor(DetectionCode::ShiftJis, ConversionMask::IntoUtf8), false, &outcome),
        utf8);
    EXPECT_EQ(outcome, Utf8Outcome::Complete);
    EXPECT_EQ(
        convert(utf8, RuleFor(DetectionCode::Utf8, ConversionMask::IntoShiftJis), false, &outcome),
        sjis);
    EXPECT_EQ(
        convert(utf8, RuleFor(DetectionCode::Utf8, ConversionMask::IntoEucJp), false, &outcome),
        "\xA5\xE1\xA5\xE2\n");
    // An emoji: nothing usable without substitutes, 〓 with them.
    const std::string emoji = "a\xF0\x9F\x98\x80z";
    EXPECT_EQ(
        convert(emoji, RuleFor(DetectionCode::Utf8, ConversionMask::IntoShiftJis), false, &outcome),
        "<failed>");
    EXPECT_EQ(outcome, Utf8Outcome::NoCell);
    EXPECT_EQ(
        convert(emoji, RuleFor(DetectionCode::Utf8, ConversionMask::IntoShiftJis), true, &outcome),
        "a\x81\xACz");
    EXPECT_EQ(outcome, Utf8Outcome::Replaced);
    // The old rows as TranscodeStream writes them.
    EXPECT_EQ(convert(sjis, SjisToEuc(), false, &outcome), "\xA5\xE1\xA5\xE2\n");
    EXPECT_EQ(outcome, Utf8Outcome::Complete);
}

TEST(ConversionTable, RowsWriteShiftJisInTextModeAndEucJpInBinary) {
    EXPECT_EQ(SjisToEuc()->outputMode, StreamMode::WriteBinary);
    EXPECT_EQ(EucToSjis()->outputMode, StreamMode::WriteText);
    EXPECT_EQ(JisToSjis()->outputMode, StreamMode::WriteText);
    EXPECT_EQ(JisToEuc()->outputMode, StreamMode::WriteBinary);
    EXPECT_EQ(SjisToEuc()->reader, &ReadShiftJisChar);
    EXPECT_EQ(SjisToEuc()->mapper, &ShiftJisToEucJp);
    EXPECT_EQ(EucToSjis()->reader, &ReadEucJpChar);
    EXPECT_EQ(EucToSjis()->mapper, &EucJpToShiftJis);
    EXPECT_EQ(JisToSjis()->mapper, &JisToShiftJis);
    EXPECT_EQ(JisToEuc()->mapper, &JisToEucJp);
    for (const ConversionRule& row : ConversionTable) {
        EXPECT_EQ(row.writer, &WriteCodeChar);
        if (row.sourceCode == DetectionCode::Iso2022Jp) {
            EXPECT_EQ(row.reader, &ReadIso2022JpChar);
        }
    }
}

TEST(Mappers, TheNamedCharacters) {
    EXPECT_EQ(EucJpToJis(0xA4A2), 0x2422);
    EXPECT_EQ(JisToShiftJis(0x2422), 0x82A0);
    EXPECT_EQ(EucJpToShiftJis(0xA4A2), 0x82A0);  // あ
    EXPECT_EQ(ShiftJisToJis(0x889F), 0x3021);
    EXPECT_EQ(ShiftJisToEucJp(0x889F), 0xB0A1);  // 亜
    EXPECT_EQ(EucJpToShiftJis(0x8EB1), 0xB1);    // half-width ｱ
    EXPECT_EQ(ShiftJisToEucJp(0xB1), 0x8EB1);
    EXPECT_EQ(ShiftJisToEucJp(0xF040), 0xFFA1);  // user-defined area: past row 0x7E
    EXPECT_EQ(ShiftJisToEucJp(0xFA40) & 0xFFFF, 0x13A1);
    EXPECT_EQ(EucJpToShiftJis(0xA4), 0xF0A2);  // a lone lead byte
    EXPECT_EQ(JisToEucJp(0x1B24) & 0xFFFF, 0x9BA4);
    for (CodeMapper map :
         {EucJpToJis, JisToShiftJis, ShiftJisToJis, JisToEucJp, ShiftJisToEucJp, EucJpToShiftJis}) {
        EXPECT_EQ(map(EndOfInput), EndOfInput);
        EXPECT_EQ(map('a'), 'a');
        EXPECT_EQ(map('\n'), '\n');
    }
}

TEST(Mappers, EveryJisCodeGoesThereAndBack) {
    int wrong = 0;
    for (int row = 0x21; row <= 0x7E; row++) {
        for (int cell = 0x21; cell <= 0x7E; cell++) {
            CodeChar jis = row * 256 + cell;
            CodeChar sjis = JisToShiftJis(jis);
            int lead = sjis >> 8, trail = sjis & 0xFF;
            // Leads 0x81-0x9F and 0xE0-0xEF, trails 0x40-0x7E and 0x80-0xFC.
            bool shape = ((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF)) &&
                         trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
            wrong += !shape;
            wrong += ShiftJisToJis(sjis) != jis;
            wrong += JisToEucJp(jis) != jis + 0x8080;
            wrong += EucJpToJis(jis + 0x8080) != jis;
            wrong += ShiftJisToEucJp(sjis) != jis + 0x8080;
            wrong += EucJpToShiftJis(jis + 0x8080) != sjis;
        }
    }
    for (int kana = 0xA1; kana <= 0xDF; kana++) {
        wrong += ShiftJisToEucJp(kana) != 0x8E00 + kana;
        wrong += EucJpToShiftJis(0x8E00 + kana) != kana;
    }
    EXPECT_EQ(wrong, 0);
}

TEST(WriteCodeChar, OneOrTwoBytesFromTheLow16Bits) {
    ScratchFile file;
    ByteStream* out = StreamOpen(file.path(), StreamMode::WriteBinary);
    ASSERT_NE(out, nullptr);
    WriteCodeChar(0x41, out);
    WriteCodeChar(0x82A0, out);
    WriteCodeChar(0x113A1, out);  // bit 16 is ignored
    WriteCodeChar(0x00, out);     // a zero byte is still a byte
    WriteCodeChar(0x0041, out);
    ASSERT_TRUE(StreamClose(out));
    EXPECT_EQ(file.Read(), "A\x82\xA0\x13\xA1\0A"s);
}

// Every character a reader returns from the bytes, read through ReadText.
std::vector<CodeChar> ReadAll(const std::string& bytes, CodeReader reader) {
    ScratchFile file(bytes);
    ByteStream* in = StreamOpen(file.path(), StreamMode::ReadText);
    std::vector<CodeChar> chars;
    unsigned char kanjiMode = OneByteMode;
    for (CodeChar c = reader(in, &kanjiMode); c != EndOfInput; c = reader(in, &kanjiMode)) {
        chars.push_back(c);
    }
    EXPECT_EQ(reader(in, &kanjiMode), EndOfInput);  // and it stays at the end
    StreamClose(in);
    return chars;
}

using Chars = std::vector<CodeChar>;

TEST(Readers, PairLeadBytesWithWhateverFollows) {
    EXPECT_EQ(ReadAll("a\x82\xA0\xB1\x82\n\x82", ReadShiftJisChar),
              (Chars{'a', 0x82A0, 0xB1, 0x820A, 0x82}));  // a lone lead at the end comes alone
    EXPECT_EQ(ReadAll("\xFC\xFC\x80\xA0\xFD", ReadShiftJisChar), (Chars{0xFCFC, 0x80, 0xA0, 0xFD}));
    EXPECT_EQ(ReadAll("a\xA4\xA2\x8E\xB1\x8F\xA1\n\xA4", ReadEucJpChar),
              (Chars{'a', 0xA4A2, 0x8EB1, 0x8F, 0xA10A, 0xA4}));
    EXPECT_EQ(ReadAll("\x8E", ReadEucJpChar), (Chars{0x8E}));
    EXPECT_EQ(ReadAll("\xA4\r\n", ReadEucJpChar), (Chars{0xA40A}));  // text mode first
}

TEST(Readers, Iso2022JpEscapesOnlyChangeTheMode) {
    EXPECT_EQ(ReadAll("\x1B$B0!4A\x1B(Bab", ReadIso2022JpChar), (Chars{0x3021, 0x3441, 'a', 'b'}));
    EXPECT_EQ(ReadAll("\x1B$@0!\x1B(Ja\x1BK0!\x1BH\xB1", ReadIso2022JpChar),
              (Chars{0x3021, 'a', 0x3021, 0xB1}));
    // In two-byte mode an ESC ends the character; the sequence is processed next.
    EXPECT_EQ(ReadAll("\x1B$B0\x1B(Ba", ReadIso2022JpChar), (Chars{'0', 'a'}));
    EXPECT_EQ(ReadAll("\x1B$B0", ReadIso2022JpChar), (Chars{'0'}));
    EXPECT_EQ(ReadAll("\x1B$B0!\n", ReadIso2022JpChar), (Chars{0x3021, '\n'}));
}

TEST(Readers, UnrecognisedEscapesComeBackAndTheirLastByteIsReadAgain) {
    EXPECT_EQ(ReadAll("\x1B$x", ReadIso2022JpChar), (Chars{0x1B24, 'x'}));
    EXPECT_EQ(ReadAll("\x1B(I1", ReadIso2022JpChar), (Chars{0x1B28, 'I', '1'}));  // katakana escape
    EXPECT_EQ(ReadAll("\x1B[0m", ReadIso2022JpChar), (Chars{0x1B, '[', '0', 'm'}));
    EXPECT_EQ(ReadAll("\x1B\x1B$B0!", ReadIso2022JpChar), (Chars{0x1B, 0x3021}));
    // The pushed-back byte can itself start an escape sequence.
    EXPECT_EQ(ReadAll("\x1B$\x1B$B0!", ReadIso2022JpChar), (Chars{0x1B24, 0x3021}));
    // At the end nothing is pushed back.
    EXPECT_EQ(ReadAll("\x1B", ReadIso2022JpChar), (Chars{0x1B}));
    EXPECT_EQ(ReadAll("\x1B$", ReadIso2022JpChar), (Chars{0x1B24}));
    EXPECT_EQ(ReadAll("\x1B(", ReadIso2022JpChar), (Chars{0x1B28}));
    // Shift bytes and 7-bit kana are ordinary one-byte characters.
    EXPECT_EQ(ReadAll("\x0E\x31\x0F", ReadIso2022JpChar), (Chars{0x0E, 0x31, 0x0F}));
}

TEST(TranscodeStream, TheNamedCases) {
    EXPECT_EQ(TranscodeBytes("\xA4\xA2", EucToSjis()), "\x82\xA0");
    EXPECT_EQ(TranscodeBytes("\x88\x9F", SjisToEuc()), "\xB0\xA1");
    EXPECT_EQ(TranscodeBytes("\x1B$B0!\x1B(B", JisToSjis()), "\x88\x9F");
    EXPECT_EQ(TranscodeBytes("\x1B$B0!\x1B(B", JisToEuc()), "\xB0\xA1");
    EXPECT_EQ(TranscodeBytes("\x8E\xB1", EucToSjis()), "\xB1");
    EXPECT_EQ(TranscodeBytes("\xB1", SjisToEuc()), "\x8E\xB1");
    EXPECT_EQ(TranscodeBytes("\xB1", JisToSjis()), "\xB1");  // 8-bit kana in one-byte mode
    EXPECT_EQ(TranscodeBytes("\xB1", JisToEuc()), "\x8E\xB1");
    EXPECT_EQ(TranscodeBytes("\xF0\x40\xFA\x40", SjisToEuc()), "\xFF\xA1\x13\xA1");
    EXPECT_EQ(TranscodeBytes("\xA4\xA2\xA4", EucToSjis()), "\x82\xA0\xF0\xA2");
    EXPECT_EQ(TranscodeBytes("\x1B$x", JisToSjis()), "\x1B$x");
    EXPECT_EQ(TranscodeBytes("\x1B$x", JisToEuc()), "\x9B\xA4x");
    EXPECT_EQ(TranscodeBytes("\x1B$B0\x1B(Ba", JisToSjis()), "0a");
    EXPECT_EQ(TranscodeBytes("\x1B(I1", JisToSjis()), "\x1B(I1");
    for (int i = 0; i < kConversionRuleCount; i++) {
        EXPECT_EQ(TranscodeBytes("", &ConversionTable[i]), "");
    }
}

TEST(TranscodeStream, LineEndsFollowTheOutputEncoding) {
    EXPECT_EQ(TranscodeBytes("ab\ncd\n", EucToSjis()), "ab\r\ncd\r\n");
    EXPECT_EQ(TranscodeBytes("ab\r\ncd\r\n", SjisToEuc()), "ab\ncd\n");
    EXPECT_EQ(TranscodeBytes("ab\r\ncd\n", JisToSjis()), "ab\r\ncd\r\n");
    EXPECT_EQ(TranscodeBytes("ab\r\ncd\r\n", JisToEuc()), "ab\ncd\n");
    std::string lf, crLf;
    for (int i = 0; i < 100; i++) lf += "line " + std::to_string(i) + "\n";
    for (int i = 0; i < 100; i++) crLf += "line " + std::to_string(i) + "\r\n";
    EXPECT_EQ(TranscodeBytes(lf, EucToSjis()), crLf);
    EXPECT_EQ(TranscodeBytes(crLf, SjisToEuc()), lf);
    EXPECT_EQ(TranscodeBytes("a\rb", EucToSjis()), "a\rb");  // a lone CR passes as it is
    EXPECT_EQ(TranscodeBytes("a\rb", SjisToEuc()), "a\rb");
    // Whatever follows the end mark is not in the converted file.
    EXPECT_EQ(TranscodeBytes("ab\x1A"
                             "cd",
                             SjisToEuc()),
              "ab");
}

TEST(TranscodeStream, AnInputThatFailsToReadMakesTheOutputFail) {
    ScratchFile to;
    ByteStream* input = StreamOpen("/tmp", StreamMode::ReadText);  // a folder: every read fails
    ByteStream* output = StreamOpen(to.path(), StreamMode::WriteBinary);
    ASSERT_NE(input, nullptr);
    ASSERT_NE(output, nullptr);
    TranscodeStream(input, output, SjisToEuc());
    EXPECT_FALSE(StreamClose(input));
    EXPECT_FALSE(StreamClose(output));
}

// A copy of a rule with its own writer: TranscodeStream then takes the plain
// path, one call of each function per character.
void WriteThroughPointer(CodeChar value, ByteStream* output) { WriteCodeChar(value, output); }

ConversionRule PlainCopy(const ConversionRule* rule) {
    ConversionRule copy = *rule;
    copy.writer = WriteThroughPointer;
    return copy;
}

TEST(TranscodeStream, CharactersAcrossEveryBlockBoundaryNearby) {
    struct Case {
        const ConversionRule* rule;
        std::string piece;
        std::string converted;
    } cases[] = {
        {SjisToEuc(), "\x88\x9F", "\xB0\xA1"},
        {SjisToEuc(), "\r\n", "\n"},
        {EucToSjis(), "\xB0\xA1\n", "\x88\x9F\r\n"},
        {EucToSjis(), "\x8E\xB1", "\xB1"},
        {JisToSjis(), "\x1B$B0!\x1B(B", "\x88\x9F"},
        {JisToEuc(), "\x1B$B0!4A\x1B(B\r\n", "\xB0\xA1\xB4\xC1\n"},
        {JisToSjis(), "\x1B$x", "\x1B$x"},
    };
    for (const Case& c : cases) {
        ConversionRule plain = PlainCopy(c.rule);
        for (std::size_t at = kStreamBlockSize - 8; at <= kStreamBlockSize + 1; at++) {
            std::string text = std::string(at, 'a') + c.piece + "b";
            std::string expected = std::string(at, 'a') + c.converted + "b";
            ASSERT_EQ(TranscodeBytes(text, c.rule), expected) << at;
            ASSERT_EQ(TranscodeBytes(text, &plain), expected) << at;
        }
    }
}

TEST(TranscodeStream, TheFastLoopAgreesWithThePlainOne) {
    static const std::vector<std::string> pieces = {"abc",
                                                    "\n",
                                                    "\r\n",
                                                    "\r",
                                                    "\x82\xA0",
                                                    "\xB0\xA1",
                                                    "\xB1",
                                                    "\x8E\xB1",
                                                    "\x1B$B",
                                                    "\x1B(B",
                                                    "0!",
                                                    "\x1B",
                                                    "\x1B$",
                                                    "\x1B(",
                                                    "\x80",
                                                    "\xFF",
                                                    "\x1A",
                                                    "\x8F",
                                                    "\xFD\x20",
                                                    "~\\",
                                                    std::string(40, 'x'),
                                                    std::string(9, '\n')};
    std::mt19937 random(77);
    for (int round = 0; round < 120; round++) {
        std::size_t size = round % 4 == 0 ? kStreamBlockSize + random() % 300 : random() % 200;
        std::string text;
        while (text.size() < size) text += pieces[random() % pieces.size()];
        for (const ConversionRule& rule : ConversionTable) {
            ConversionRule plain = PlainCopy(&rule);
            ASSERT_EQ(TranscodeBytes(text, &rule), TranscodeBytes(text, &plain)) << text;
        }
    }
}

// Runs of double-byte characters are mapped in bulk: every run, cut by the
// end of a block at each offset nearby, and holding pairs whose mapped bytes
// include an LF (EUC-JP 0xA1 0x8A maps to 0x21 0x0A, which WriteText writes as
// 0x21 CR LF), comes out as from the plain loop.
TEST(TranscodeStream, RunsOfDoubleByteCharactersAgreeWithThePlainLoop) {
    const std::string pieces[] = {"\xB0\xA1", "\x88\x9F", "\xA1\x8A", "\x8E\xB1",
                                  "0!",       "\x1B$B",   "\x1B(B",   "a\n"};
    for (const ConversionRule& rule : ConversionTable) {
        ConversionRule plain = PlainCopy(&rule);
        for (std::size_t at = kStreamBlockSize - 5; at <= kStreamBlockSize + 2; at++) {
            std::string text(at, 'a');
            for (std::size_t i = 0; i < 64; i++) text += pieces[(i * 7 + at) % 8] + pieces[i % 3];
            ASSERT_EQ(TranscodeBytes(text, &rule), TranscodeBytes(text, &plain)) << at;
        }
    }
    EXPECT_EQ(TranscodeBytes("\xB0\xA1\xA1\x8A\xB0\xA1", EucToSjis()), "\x88\x9F!\r\n\x88\x9F");
    EXPECT_EQ(TranscodeBytes("\x1B$B0!0!\x1B(B0!", JisToEuc()),
              "\xB0\xA1\xB0\xA1"
              "0!");
}

// The tables the run of pairs looks up hold the mapper's own value for every
// pair they cover, cover every JIS X 0208 cell of their source encoding, and
// never a result the writer would translate.
template <int Rows, int Columns>
int CheckPairTable(const PairTable<Rows, Columns>& table, CodeMapper map) {
    int covered = 0;
    for (unsigned first = 0; first < 256; first++) {
        for (unsigned second = 0; second < 256; second++) {
            unsigned looked = LookUpPair(table, first, second);
            if (looked == 0) continue;
            covered++;
            auto value =
                static_cast<unsigned>(map(static_cast<CodeChar>(first * 256 + second))) & 0xFFFF;
            EXPECT_EQ(looked, value) << std::hex << first << ' ' << second;
            EXPECT_TRUE((looked >> 8) != 0 && (looked >> 8) != '\n' && (looked & 0xFF) != 0 &&
                        (looked & 0xFF) != '\n');
        }
    }
    return covered;
}

TEST(PairTables, HoldTheMappersValuesForEveryJisX0208Cell) {
    EXPECT_EQ(CheckPairTable(kEucJpToShiftJisPairs, EucJpToShiftJis), 94 * 94);
    EXPECT_EQ(CheckPairTable(kShiftJisToEucJpPairs, ShiftJisToEucJp), 94 * 94);
    EXPECT_EQ(CheckPairTable(kJisToShiftJisPairs, JisToShiftJis), 94 * 94);
    // Outside JIS X 0208 the mapper decides: the user-defined rows of Shift-JIS,
    // a trail of 0x7F, EUC-JP's single shift.
    EXPECT_EQ(LookUpPair(kShiftJisToEucJpPairs, 0xF0, 0x40), 0u);
    EXPECT_EQ(LookUpPair(kShiftJisToEucJpPairs, 0x88, 0x7F), 0u);
    EXPECT_EQ(LookUpPair(kEucJpToShiftJisPairs, 0x8E, 0xB1), 0u);
}

// ISO-2022-JP's two-byte mode in long runs, cut anywhere by bytes outside
// 0x21-0x7E, odd runs, and every mode switch, whole and cut by a block's end.
TEST(TranscodeStream, LongRunsOfJisPairsAndModeSwitchesAgreeWithThePlainLoop) {
    const std::string switches[] = {"\x1B$B", "\x1B$@", "\x1B(B", "\x1B(J",
                                    "\x1BK",  "\x1BH",  "\x1B$",  "\x1B("};
    const char outside[] = {' ', '\x7F', '\x80', '\xA1', '\n', '\x1B', '\x20', '\xFF'};
    std::mt19937 random(2026);
    for (int round = 0; round < 200; round++) {
        std::string text(round % 5 == 0 ? kStreamBlockSize - 40 + random() % 80 : 0, 'a');
        for (int piece = 0; piece < 30; piece++) {
            text += switches[random() % 8];
            std::size_t run = random() % 70;
            for (std::size_t i = 0; i < run; i++) text += static_cast<char>(0x21 + random() % 94);
            if (random() % 2 == 0) text += outside[random() % 8];
        }
        for (const ConversionRule& rule : ConversionTable) {
            ConversionRule plain = PlainCopy(&rule);
            ASSERT_EQ(TranscodeBytes(text, &rule), TranscodeBytes(text, &plain)) << round;
        }
    }
}

}  // namespace
