// Exactness against an independent reference: glibc's iconv. Every JIS X 0208
// character that iconv knows (rows 1 to 94), the half-width katakana and the
// printable ASCII characters, in lines, converted by each rule and by iconv;
// the results must agree byte for byte.
//
// Intended differences, each checked below so that the list stays true:
//  1. Line ends: Shift-JIS output has CR LF (iconv keeps LF); EUC-JP output
//     has LF (iconv keeps CR LF). The comparisons put iconv's output into the
//     same line-end convention first.
//  2. The first 0x1A ends the input (text mode); iconv converts it and
//     whatever follows it.
//  3. Three-byte EUC-JP (0x8F, JIS X 0212) is not a character for us: its
//     bytes go through the two-byte arithmetic; iconv refuses to put it into
//     Shift-JIS. The detection never calls such a file EUC-JP.
//  4. ISO-2022-JP has no half-width katakana in iconv's form; its text here
//     holds JIS X 0208 and ASCII only.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "tests/native/support/engine_files.h"
#include "tests/native/support/iconv_text.h"

namespace {

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

struct Texts {
    int jisCharacters = 0;
    std::string euc;        // EUC-JP, LF line ends, with katakana
    std::string eucNoKana;  // the same without half-width katakana, for ISO-2022-JP
};

// Every known character once, between ASCII words, 32 characters a line.
const Texts& AllCharacters() {
    static const Texts texts = [] {
        Texts t;
        std::vector<std::string> characters;
        std::string utf8;
        for (int row = 1; row <= 94; row++) {
            for (int cell = 1; cell <= 94; cell++) {
                std::string c = {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)};
                if (Iconv("UTF-8", "EUC-JP", c, &utf8)) characters.push_back(c);
            }
        }
        t.jisCharacters = static_cast<int>(characters.size());
        for (int kana = 0xA1; kana <= 0xDF; kana++) {
            characters.push_back({static_cast<char>(0x8E), static_cast<char>(kana)});
        }
        for (int ascii = 0x20; ascii <= 0x7E; ascii++)
            characters.push_back({static_cast<char>(ascii)});
        characters.push_back("\t");
        for (std::size_t i = 0; i < characters.size(); i++) {
            const std::string& c = characters[i];
            t.euc += c;
            if (c[0] != '\x8E') t.eucNoKana += c;
            if (i % 32 == 31) {
                t.euc += " word\n";
                t.eucNoKana += " word\n";
            }
        }
        t.euc += "\n";
        t.eucNoKana += "\n";
        return t;
    }();
    return texts;
}

TEST(IconvExactness, IconvKnowsAllOfJisX0208) {
    // JIS X 0208 has 6879 characters; a glibc that knew far fewer would make
    // this test weak.
    EXPECT_GE(AllCharacters().jisCharacters, 6879);
}

TEST(IconvExactness, EucJpIntoShiftJis) {
    const std::string& euc = AllCharacters().euc;
    std::string sjis;
    ASSERT_TRUE(Iconv("SHIFT_JIS", "EUC-JP", euc, &sjis));
    std::string ours =
        TranscodeBytes(euc, RuleFor(DetectionCode::EucJp, ConversionMask::IntoShiftJis));
    EXPECT_EQ(FirstDifference(ours, WithCrLf(sjis)), "identical");
}

TEST(IconvExactness, ShiftJisIntoEucJp) {
    const std::string& euc = AllCharacters().euc;
    std::string sjis, back;
    ASSERT_TRUE(Iconv("SHIFT_JIS", "EUC-JP", euc, &sjis));
    ASSERT_TRUE(Iconv("EUC-JP", "SHIFT_JIS", sjis, &back));
    const ConversionRule* rule = RuleFor(DetectionCode::ShiftJis, ConversionMask::IntoEucJp);
    EXPECT_EQ(FirstDifference(TranscodeBytes(sjis, rule), back), "identical");
    // With CR LF line ends, as Shift-JIS files have them: LF in EUC-JP.
    EXPECT_EQ(FirstDifference(TranscodeBytes(WithCrLf(sjis), rule), back), "identical");
}

TEST(IconvExactness, Iso2022JpIntoShiftJisAndEucJp) {
    const std::string& eucNoKana = AllCharacters().eucNoKana;
    std::string jis, sjis, euc;
    ASSERT_TRUE(Iconv("ISO-2022-JP", "EUC-JP", eucNoKana, &jis));
    ASSERT_TRUE(Iconv("SHIFT_JIS", "ISO-2022-JP", jis, &sjis));
    ASSERT_TRUE(Iconv("EUC-JP", "ISO-2022-JP", jis, &euc));
    EXPECT_EQ(FirstDifference(TranscodeBytes(jis, RuleFor(DetectionCode::Iso2022Jp,
                                                          ConversionMask::IntoShiftJis)),
                              WithCrLf(sjis)),
              "identical");
    EXPECT_EQ(
        FirstDifference(
            TranscodeBytes(jis, RuleFor(DetectionCode::Iso2022Jp, ConversionMask::IntoEucJp)), euc),
        "identical");
    EXPECT_EQ(FirstDifference(TranscodeBytes(WithCrLf(jis), RuleFor(DetectionCode::Iso2022Jp,
                                                                    ConversionMask::IntoEucJp)),
                              euc),
              "identical");
}

TEST(IconvExactness, TheIntendedDifferencesAreReal) {
    // 1. Line ends.
    std::string sjis;
    ASSERT_TRUE(Iconv("SHIFT_JIS", "EUC-JP", "\xA4\xA2\n", &sjis));
    EXPECT_EQ(sjis, "\x82\xA0\n");
    EXPECT_EQ(
        TranscodeBytes("\xA4\xA2\n", RuleFor(DetectionCode::EucJp, ConversionMask::IntoShiftJis)),
        "\x82\xA0\r\n");
    // 2. The end mark.
    std::string euc;
    ASSERT_TRUE(Iconv("EUC-JP", "SHIFT_JIS",
                      "a\x1A"
                      "b",
                      &euc));
    EXPECT_EQ(euc,
              "a\x1A"
              "b");
    EXPECT_EQ(TranscodeBytes("a\x1A"
                             "b",
                             RuleFor(DetectionCode::ShiftJis, ConversionMask::IntoEucJp)),
              "a");
    // 3. JIS X 0212: iconv knows it in EUC-JP but cannot put it into Shift-JIS.
    std::string utf8;
    EXPECT_TRUE(Iconv("UTF-8", "EUC-JP", "\x8F\xB0\xA1", &utf8));
    EXPECT_FALSE(Iconv("SHIFT_JIS", "EUC-JP", "\x8F\xB0\xA1", &sjis));
    // 4. No half-width katakana in ISO-2022-JP.
    std::string jis;
    EXPECT_FALSE(Iconv("ISO-2022-JP", "EUC-JP", "\x8E\xB1", &jis));
}

}  // namespace
