// The detection: the pass over a text-mode file and the decision, on real
// files. Each case of the rules is a case here, the two safety rules with both
// of their sides, and the fast pass is checked against a plain one that feeds
// every recognizer every byte.
#include "engine/detect.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/native/support/engine_files.h"
#include "tests/native/support/plain_pass.h"

namespace {

using namespace std::string_literals;

EncodingEvidence EvidenceOf(const std::string& bytes) {
    ScratchFile file(bytes);
    EncodingEvidence evidence;
    EXPECT_TRUE(GatherFileEvidence(file.path(), &evidence));
    return evidence;
}

DetectionCode Detect(const std::string& bytes) {
    return DecideEncoding(EvidenceOf(bytes), bytes.size());
}

// A 1x1 PNG made by ImageMagick (convert -size 1x1 xc:'#3366cc' -strip png:-).
const std::string kTinyPng =
    "\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x01\x03\x00\x00\x00\x25\xDB\x56\xCA\x00\x00\x00\x03\x50\x4C\x54\x45\x33\x66\xCC\x20\x22\x24\xA9\x00\x00\x00\x0A\x49\x44\x41\x54\x08\xD7\x63\x60\x00\x00\x00\x02\x00\x01\xE2\x21\xBC\x33\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82"s;

const std::string kSjisHiragana = "\x82\xA0\x82\xA2\x82\xA4";  // あいう
const std::string kEucHiragana = "\xA4\xA2\xA4\xA4";           // あい
const std::string kIsoText = "\x1B$B0!4A\x1B(B\n";             // 亜漢 between the escapes

TEST(Detect, AsciiIsDecidedByItsLineEnds) {
    EncodingEvidence lf = EvidenceOf("abc\ndef\n");
    EXPECT_EQ(lf.bytes, 8u);
    EXPECT_EQ(lf.lines, 2u);
    EXPECT_EQ(lf.iso2022Jp + lf.shiftJis + lf.eucJp + lf.escapeOrHigh, 0);
    EXPECT_EQ(Detect("abc\ndef\n"), DetectionCode::EucJp);
    EncodingEvidence crLf = EvidenceOf("abc\r\ndef\r\n");
    EXPECT_EQ(crLf.bytes, 8u);
    EXPECT_EQ(crLf.lines, 2u);
    // 10 bytes on disk: the 8 delivered and one CR for each of the 2 LF.
    EXPECT_EQ(Detect("abc\r\ndef\r\n"), DetectionCode::ShiftJis);
    EXPECT_EQ(Detect(""), DetectionCode::EucJp);     // nothing delivered of nothing on disk
    EXPECT_EQ(Detect("abc"), DetectionCode::EucJp);  // no line end at all
    EXPECT_EQ(Detect("abc\r\ndef\n"), DetectionCode::Undetermined);  // mixed line ends
    EXPECT_EQ(Detect("abc\rdef\r"), DetectionCode::EucJp);  // old Mac line ends remove nothing
}

TEST(Detect, AFinalEndMarkKeepsItsMeaning) {
    // 4 delivered and 1 LF make 5, short of the 6 bytes on disk.
    EXPECT_EQ(Detect("abc\r\n\x1A"), DetectionCode::Undetermined);
    EncodingEvidence e = EvidenceOf("abc\n\x1A");
    EXPECT_EQ(e.bytes, 4u);
    EXPECT_EQ(e.lines, 1u);
    // 4 delivered and 1 LF make the 5 bytes on disk: the end mark passes for
    // the CR of the line end. A run of end marks is more than that.
    EXPECT_EQ(Detect("abc\n\x1A"), DetectionCode::ShiftJis);
    EXPECT_EQ(Detect("abc\n\x1A\x1A"), DetectionCode::Undetermined);
}

TEST(Detect, ShiftJisByItsValidatorAlone) {
    for (const char* end : {"\r\n", "\n", ""}) {
        std::string text = kSjisHiragana + end;
        EncodingEvidence e = EvidenceOf(text);
        EXPECT_EQ(e.shiftJis, 0);
        EXPECT_NE(e.eucJp, 0);  // the lead byte 0x82
        EXPECT_NE(e.iso2022Jp, 0);
        EXPECT_EQ(Detect(text), DetectionCode::ShiftJis) << end;
    }
    EXPECT_EQ(Detect("\x83\x81\x83\x82\r\n"), DetectionCode::ShiftJis);  // メモ
}

TEST(Detect, Iso2022JpByItsValidatorAlone) {
    EncodingEvidence e = EvidenceOf(kIsoText);
    EXPECT_EQ(e.iso2022Jp, 0);
    EXPECT_NE(e.shiftJis, 0);
    EXPECT_NE(e.eucJp, 0);
    EXPECT_EQ(Detect(kIsoText), DetectionCode::Iso2022Jp);
    EXPECT_EQ(Detect("abc\r\n" + kIsoText), DetectionCode::Iso2022Jp);
}

TEST(Detect, TextCleanForAllThreeIsDecidedByItsLineEnds) {
    // EUC-JP hiragana lies in 0xA1-0xDF: half-width katakana to Shift-JIS.
    EXPECT_EQ(Detect(kEucHiragana + "\n"), DetectionCode::EucJp);
    EXPECT_EQ(Detect(kEucHiragana + "\r\n"), DetectionCode::ShiftJis);
    EXPECT_EQ(Detect(kEucHiragana), DetectionCode::Undetermined);  // 8-bit text needs a line end
    // Half-width katakana in Shift-JIS: an odd number in a line pairs the
    // last one with the LF in EUC-JP.
    EXPECT_EQ(Detect("\xB1\xB2\xB3\n"), DetectionCode::Undetermined);
    EXPECT_EQ(Detect("\xB1\xB2\n\xB3\xB4\n"), DetectionCode::EucJp);
    EXPECT_EQ(Detect("\xB1\xB2\r\n\xB3\xB4\r\n"), DetectionCode::ShiftJis);
    // Real EUC-JP kanji beyond 0xDF leaves only EUC-JP clean.
    EXPECT_EQ(Detect("\xB0\xA1\xB4\xC1\xFE\xFE\n"), DetectionCode::EucJp);
}

TEST(Detect, EscapesThatAreNotIso2022JpAreUndetermined) {
    EncodingEvidence e = EvidenceOf("\x1B[31mred\x1B[0m\n");
    EXPECT_NE(e.escapeOrHigh, 0);
    EXPECT_NE(e.shiftJis, 0);
    EXPECT_EQ(Detect("\x1B[31mred\x1B[0m\n"), DetectionCode::Undetermined);
}

TEST(Detect, ACharacterCutOffByTheEndIsAViolation) {
    EncodingEvidence e = EvidenceOf("\x82\xA0\x82");  // a trailing Shift-JIS lead byte
    EXPECT_NE(e.shiftJis, 0);
    EXPECT_EQ(Detect("\x82\xA0\x82"), DetectionCode::Undetermined);
    EXPECT_EQ(Detect("\x1B$B0!\x1B$"), DetectionCode::Undetermined);  // an escape cut off
}

// UTF-16 is known by its byte-order mark alone (utf8_test.cpp has the
// flaws that keep it undecided); UTF-8's is only noted.
TEST(Detect, Utf16ByItsByteOrderMarkAlone) {
    EXPECT_EQ(Detect("\xFE\xFF\x30\xE1\0\r\0\n\0\x1A"s), DetectionCode::Utf16Be);
    EXPECT_EQ(Detect("\xFF\xFE"), DetectionCode::Utf16Le);                // an empty text
    EXPECT_EQ(Detect("\xE1\x30\r\0\n\0"s), DetectionCode::Undetermined);  // no mark
    EncodingEvidence e = EvidenceOf("\xEF\xBB\xBF\xE3\x83\xA1\n");
    EXPECT_EQ(e.byteOrderMark, ByteOrderMark::Utf8);
    EXPECT_EQ(DecideEncoding(e, 7), DetectionCode::Utf8);
}

TEST(SafetyRules, DataAfterTheEndMarkIsUndetermined) {
    // Before the rule, the five bytes in front of the PNG's 0x1A made it Shift-JIS.
    EXPECT_EQ(Detect(kTinyPng.substr(0, 6)), DetectionCode::ShiftJis);
    EncodingEvidence png = EvidenceOf(kTinyPng);
    EXPECT_TRUE(png.dataAfterEndMark);
    EXPECT_EQ(Detect(kTinyPng), DetectionCode::Undetermined);
    // Shift-JIS text with anything after its end mark.
    EXPECT_EQ(Detect(kSjisHiragana + "\r\n\x1A" + "more\r\n"), DetectionCode::Undetermined);
    EXPECT_EQ(Detect(kSjisHiragana + "\r\n\x1A\x1A" + "x"), DetectionCode::Undetermined);
    // The other side: end marks only at the very end change nothing.
    EXPECT_EQ(Detect(kSjisHiragana + "\r\n\x1A"), DetectionCode::ShiftJis);
    EXPECT_EQ(Detect(kSjisHiragana + "\r\n\x1A\x1A\x1A"), DetectionCode::ShiftJis);
    EXPECT_FALSE(EvidenceOf(kSjisHiragana + "\x1A\x1A").dataAfterEndMark);
}

TEST(SafetyRules, DataAfterTheEndMarkFarBehindIt) {
    std::string text = kSjisHiragana + "\r\n\x1A" + std::string(2 * kStreamBlockSize, '\x1A');
    EXPECT_EQ(Detect(text), DetectionCode::ShiftJis);
    EXPECT_EQ(Detect(text + "x"), DetectionCode::Undetermined);
}

TEST(SafetyRules, WellFormedUtf8WithNonAsciiIsUtf8) {
    const std::string memo = "\xE3\x83\xA1\xE3\x83\xA2";  // メモ in UTF-8
    // Without the rule it passes as Shift-JIS: only that validator is clean.
    EncodingEvidence e = EvidenceOf(memo + "\r\n");
    EXPECT_EQ(e.shiftJis, 0);
    EXPECT_NE(e.eucJp, 0);
    EXPECT_NE(e.iso2022Jp, 0);
    EXPECT_TRUE(e.utf8NonAscii);
    EXPECT_EQ(Detect(memo + "\r\n"), DetectionCode::Utf8);
    EXPECT_EQ(Detect("\xEF\xBB\xBF"
                     "abc\n"),
              DetectionCode::Utf8);  // a byte-order mark
    EXPECT_EQ(Detect("caf\xC3\xA9\n"), DetectionCode::Utf8);
    EXPECT_EQ(Detect("\xF0\x9F\x98\x80\n"), DetectionCode::Utf8);  // an emoji: decided all the same
    // Not UTF-8 after all: a NUL, or data after an end mark, still win.
    EXPECT_EQ(Detect(memo + std::string(1, '\0')), DetectionCode::Undetermined);
    EXPECT_EQ(Detect(memo + "\x1A" + "x"), DetectionCode::Undetermined);
}

TEST(SafetyRules, TheUtf8RuleLeavesEverythingElseAlone) {
    EXPECT_FALSE(EvidenceOf("abc\n").utf8NonAscii);  // pure ASCII is UTF-8 too
    EXPECT_EQ(Detect("abc\n"), DetectionCode::EucJp);
    EXPECT_FALSE(EvidenceOf(kIsoText).utf8NonAscii);
    EXPECT_EQ(Detect(kIsoText), DetectionCode::Iso2022Jp);
    EXPECT_EQ(Detect(kSjisHiragana + "\r\n"), DetectionCode::ShiftJis);
    EXPECT_EQ(Detect(kEucHiragana + "\n"), DetectionCode::EucJp);
    // UTF-8 that is not well formed (cut off) is judged by the old rules.
    std::string cut = "\xE3\x83\xA1\xE3\x83";
    EXPECT_FALSE(EvidenceOf(cut).utf8NonAscii);
    EXPECT_NE(Detect(cut), DetectionCode::Utf8);
}

TEST(SafetyRules, ANulByteIsUndetermined) {
    // 日本語 CR LF in UTF-16 without a byte-order mark (as iconv writes it):
    // without the rule both byte orders pass as Shift-JIS, and a conversion
    // would destroy the file.
    const std::string littleEndian = "\xE5\x65\x2C\x67\x9E\x8A\x0D\x00\x0A\x00"s;
    const std::string bigEndian = "\x65\xE5\x67\x2C\x8A\x9E\x00\x0D\x00\x0A"s;
    for (const std::string& text : {littleEndian, bigEndian}) {
        EncodingEvidence e = EvidenceOf(text);
        EXPECT_TRUE(e.holdsNul);
        EXPECT_TRUE(e.settledEarly);
        EXPECT_EQ(Detect(text), DetectionCode::Undetermined);
    }
    EXPECT_EQ(Detect("a\0b\0\r\0\n\0"s), DetectionCode::Undetermined);  // ASCII in UTF-16
    // Found wherever it stands: first, last, behind a long plain run, in the
    // middle of Shift-JIS or ISO-2022-JP text, past the first block.
    EXPECT_EQ(Detect("\0abc\n"s), DetectionCode::Undetermined);
    EXPECT_EQ(Detect("abc\n\0"s), DetectionCode::Undetermined);
    EXPECT_EQ(Detect(std::string(1000, 'a') + "\0\n"s), DetectionCode::Undetermined);
    EXPECT_EQ(Detect(kSjisHiragana + "\0"s + kSjisHiragana + "\r\n"), DetectionCode::Undetermined);
    EXPECT_EQ(Detect("\x1B$B\0!\x1B(B\n"s), DetectionCode::Undetermined);
    std::string sjis;
    while (sjis.size() < 2 * kStreamBlockSize) sjis += kSjisHiragana + "\r\n";
    EXPECT_EQ(Detect(sjis), DetectionCode::ShiftJis);
    EXPECT_EQ(Detect(sjis + "\0"s), DetectionCode::Undetermined);
    // After the end mark it is data after the end mark, as before.
    EXPECT_EQ(Detect("abc\n\x1A\0"s), DetectionCode::Undetermined);
    EXPECT_FALSE(EvidenceOf("abc\n\x1A\0"s).holdsNul);
}

// The three older validators all give up within the first characters of
// most Japanese UTF-8; the pass still reads to the end, so the UTF-8 verdict,
// the NUL rule and the end-mark rule all see the whole file.
TEST(SafetyRules, Utf8IsJudgedOnTheWholeFile) {
    const std::string memo = u8"日本語のテキスト、UTF-8 で書かれています。\n";
    const std::string past = std::string(2 * kStreamBlockSize, 'a') + "\n";
    struct Row {
        std::string bytes;
        DetectionCode expected;
    };
    const Row rows[] = {
        {memo, DetectionCode::Utf8},
        {memo + past + memo, DetectionCode::Utf8},
        {"\xC9\x8D\x01\x00\x41"s, DetectionCode::Undetermined},  // a NUL right after
        {memo + "\x01\x00\n\x00\n\x00"s, DetectionCode::Undetermined},
        {memo + past + "\0"s, DetectionCode::Undetermined},
        {memo + "\x1A" + "\x89PNG", DetectionCode::Undetermined},
        {memo + past + "\x1A\x01", DetectionCode::Undetermined},
        {memo + past + "\x80\xFF", DetectionCode::Undetermined},  // broken UTF-8 far on
        {memo + "\xE3\x81", DetectionCode::Undetermined},         // cut off by the end
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes.size());
        EXPECT_EQ(Detect(row.bytes), row.expected);
        EXPECT_EQ(Disagreement(EvidenceOf(row.bytes), PlainPass(row.bytes)), "");
    }
    // Where the UTF-8 check fails too, nothing later matters: the pass stops.
    EncodingEvidence e = EvidenceOf(memo + "\xFF" + past);
    EXPECT_TRUE(e.settledEarly);
    EXPECT_LE(e.bytes, memo.size() + 1);
}

TEST(Decision, LineEndsCompareWithTheFileSize) {
    EXPECT_EQ(DecideByLineEnds(8, 2, 8), DetectionCode::EucJp);
    EXPECT_EQ(DecideByLineEnds(8, 2, 10), DetectionCode::ShiftJis);
    EXPECT_EQ(DecideByLineEnds(8, 2, 9), DetectionCode::Undetermined);
    EXPECT_EQ(DecideByLineEnds(8, 2, 7),
              DetectionCode::Undetermined);  // more delivered than the file holds
    EXPECT_EQ(DecideByLineEnds(3, 0, 3), DetectionCode::EucJp);  // both rules hold: EUC-JP first
    EXPECT_EQ(DecideByLineEnds(8, 2, kUnknownFileSize), DetectionCode::Undetermined);
    // Sizes beyond 32 bits compare whole.
    const std::uint64_t big = std::uint64_t{1} << 32;
    EXPECT_EQ(DecideByLineEnds(big + 5, 0, big + 5), DetectionCode::EucJp);
    EXPECT_EQ(DecideByLineEnds(5, 0, big + 5), DetectionCode::Undetermined);
}

TEST(Decision, ValidatorsAndEightBitText) {
    auto decide = [](int j, int s, int e, int a, std::uint64_t lines) {
        EncodingEvidence ev;
        ev.iso2022Jp = j;
        ev.shiftJis = s;
        ev.eucJp = e;
        ev.escapeOrHigh = a;
        ev.lines = lines;
        return DecideByContent(ev);
    };
    EXPECT_EQ(decide(1, 0, 1, 1, 0), DetectionCode::ShiftJis);
    EXPECT_EQ(decide(1, 1, 0, 1, 0), DetectionCode::EucJp);
    EXPECT_EQ(decide(0, 1, 1, 1, 0), DetectionCode::Iso2022Jp);
    EXPECT_EQ(decide(1, 1, 1, 1, 5), DetectionCode::Undetermined);  // none clean
    EXPECT_EQ(decide(0, 0, 0, 0, 0), LineEndsDecide);               // plain ASCII
    EXPECT_EQ(decide(1, 0, 0, 1, 1), LineEndsDecide);  // 8-bit, clean for both, with a line end
    EXPECT_EQ(decide(1, 0, 0, 1, 0), DetectionCode::Undetermined);  // ... without one
    EXPECT_EQ(decide(0, 0, 1, 1, 1),
              DetectionCode::Undetermined);  // two clean, but not both of the 8-bit ones
    EXPECT_EQ(decide(0, 1, 0, 1, 1), DetectionCode::Undetermined);
    EXPECT_EQ(decide(0, 0, 0, 1, 1), LineEndsDecide);
}

TEST(Detect, APairAcrossABlockBoundaryCountsOnce) {
    for (std::size_t at = kStreamBlockSize - 2; at <= kStreamBlockSize + 1; at++) {
        std::string text = std::string(at, 'a') + "\r\n" + kSjisHiragana + "\r\n";
        EncodingEvidence e = EvidenceOf(text);
        EXPECT_EQ(e.lines, 2u);
        EXPECT_EQ(e.bytes, text.size() - 2);
        EXPECT_EQ(Detect(text), DetectionCode::ShiftJis) << at;
        EXPECT_EQ(Detect(std::string(at, 'a') + "\r\nabc\r\n"), DetectionCode::ShiftJis) << at;
    }
}

TEST(Detect, BinaryDataSettlesEarly) {
    std::string binary = "\x80\xFF\x1B\x00"s + std::string(3 * kStreamBlockSize, 'a');
    EncodingEvidence e = EvidenceOf(binary);
    EXPECT_TRUE(e.settledEarly);
    EXPECT_LT(e.bytes, binary.size());  // it did not read on
    EXPECT_EQ(Detect(binary), DetectionCode::Undetermined);
}

// Text made of pieces that push the recognizers around.
std::string RandomText(std::mt19937& random, std::size_t size) {
    static const std::vector<std::string> pieces = {
        "abc ",         "\n",           "\r\n",
        "\r",           "\x82\xA0",     "\x88\x9F",
        "\xB1",         "\xA4\xA2",     "\x8E\xB1",
        "\x1B$B",       "\x1B(B",       "0!",
        "\x1B",         "\xE3\x83\xA1", "\xC3\xA9",
        "\x80",         "\xFD",         "\x1A",
        "\x8F\xA1\xA1", "\xE0\xA0\x80", "\xF0\x90\x80\x80"};
    std::string text;
    while (text.size() < size) text += pieces[random() % pieces.size()];
    return text;
}

TEST(Detect, TheFastPassAgreesWithThePlainOne) {
    std::mt19937 random(20240611);
    // Texts of one kind stay clean for their validator, so the fast pass
    // runs alone for long stretches; the mixed ones exercise everything.
    std::vector<std::string> texts;
    for (int i = 0; i < 300; i++) texts.push_back(RandomText(random, 1 + random() % 64));
    std::string sjis, euc, iso;
    while (sjis.size() < kStreamBlockSize + 100) sjis += "abc\x82\xA0\x88\x9F\xB1\r\n";
    while (euc.size() < kStreamBlockSize + 100) euc += "abc\xB0\xA1\x8E\xB1\n";
    while (iso.size() < kStreamBlockSize + 100) iso += "abc\x1B$B0!\x1B(B\n";
    for (const std::string& base : {sjis, euc, iso}) {
        for (int k = 0; k < 20; k++) {
            std::string text = base;
            text.insert(random() % text.size(), RandomText(random, 1 + random() % 4));
            texts.push_back(text);
        }
        texts.push_back(base);
    }
    // A NUL byte anywhere in a few of them.
    for (std::size_t i = 0, n = texts.size(); i < n; i += 7) {
        std::string text = texts[i];
        text.insert(random() % (text.size() + 1), 1, '\0');
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        ASSERT_EQ(Disagreement(EvidenceOf(text), PlainPass(text)), "")
            << ::testing::PrintToString(text);
    }
}

// A validator that runs alone skips well-formed pairs in bulk: long runs of
// them, ended by a pair that breaks the rules (a Shift-JIS lead byte before
// an LF, an EUC-JP lead byte before ASCII) or cut by the end of a block.
TEST(Detect, RunsOfWellFormedPairsAgreeWithThePlainPass) {
    const std::string sjisRun = "\x82\xA0\x88\x9F\xE0\x40\xFC\xFC";
    const std::string eucRun = "\xB0\xA1\x8E\xB1\xFE\xFE\xA1\xA1";
    std::vector<std::string> texts;
    for (std::size_t at = kStreamBlockSize - 3; at <= kStreamBlockSize + 2; at++) {
        for (const std::string& run : {sjisRun, eucRun}) {
            std::string text = std::string(at, 'a') + "\n";
            for (int i = 0; i < 32; i++) text += run;
            texts.push_back(text + "\n");
            texts.push_back(text + "\x82\n");
            texts.push_back(text +
                            "\xB0"
                            "a\n");
            texts.push_back(text + "\x8E\xE0\n");
        }
    }
    for (const std::string& text : texts) {
        ASSERT_EQ(Disagreement(EvidenceOf(text), PlainPass(text)), "") << text.size();
    }
    std::string sjis;
    for (int i = 0; i < 100; i++) sjis += sjisRun + "\r\n";
    EXPECT_EQ(Detect(sjis), DetectionCode::ShiftJis);
}

TEST(Detect, AFileThatCannotBeReadGivesNoEvidence) {
    EncodingEvidence e;
    EXPECT_FALSE(GatherFileEvidence("/nonexistent/file", &e));
    EXPECT_FALSE(GatherFileEvidence("/tmp", &e));  // opens, but reading fails
}

// Plain runs are skipped sixteen bytes at a time with their LF bytes summed
// as they go: runs of every length around the block size, LF bytes at every
// offset and in bulk, each run ended by each kind of byte that stops it.
TEST(Detect, LongPlainRunsCountEveryLineFeed) {
    const std::string stops[] = {"\x82\xA0", "\x1B$B0!\x1B(B", std::string(1, '\0'), "\xB0\xA1",
                                 ""};
    std::vector<std::string> texts;
    for (std::size_t length = 1; length <= 70; length++) {
        for (std::size_t lf = 0; lf < length; lf += 3) {
            std::string run(length, 'x');
            run[lf] = '\n';
            for (const std::string& stop : stops) texts.push_back(run + stop + run);
        }
    }
    std::string many;
    for (int i = 0; i < 5000; i++) many += i % 3 == 0 ? "\n" : "ab\n";
    for (const std::string& stop : stops) texts.push_back(many + stop + many.substr(7));
    texts.push_back(std::string(kStreamBlockSize * 2 + 5, '\n'));
    for (const std::string& text : texts) {
        ASSERT_EQ(Disagreement(EvidenceOf(text), PlainPass(text)), "") << text.size();
    }
    EXPECT_EQ(EvidenceOf(std::string(kStreamBlockSize * 2 + 5, '\n')).lines,
              kStreamBlockSize * 2u + 5u);
}

}  // namespace
