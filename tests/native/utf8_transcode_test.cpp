// The conversions into and from UTF-8, and from UTF-16, through real files
// as the program makes them: every cell against glibc's iconv "CP932" (and,
// from UTF-16, Python's cp932) at the level of whole texts, the round trip,
// the same UTF-8 from all three source encodings, line ends, the end mark,
// the byte-order mark, malformed input, the 〓 replacement, and characters
// and breaks across the streams' block ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/conversion.h"
#include "engine/cp932_table.h"
#include "engine/utf8.h"
#include "engine/utf16_transcode.h"
#include "engine/utf8_transcode.h"
#include "tests/native/support/engine_files.h"
#include "tests/native/support/iconv_text.h"
#include "tests/native/support/python_text.h"

namespace {

using namespace std::string_literals;

struct Converted {
    Utf8Result result;
    std::string bytes;
    bool closed = false;  // both streams closed without a failure
};

Converted IntoUtf8(const std::string& bytes, LegacyEncoding source) {
    ScratchFile from(bytes);
    ScratchFile to;
    ByteStream* input = StreamOpen(from.path(), kIntoUtf8InputMode);
    ByteStream* output = StreamOpen(to.path(), kIntoUtf8OutputMode);
    Converted converted;
    if (input == nullptr || output == nullptr) return converted;
    converted.result = TranscodeIntoUtf8(input, output, source);
    bool read = StreamClose(input);
    converted.closed = StreamClose(output) && read;
    converted.bytes = to.Read();
    return converted;
}

Converted FromUtf8(const std::string& bytes, LegacyEncoding target, bool substitute = false) {
    ScratchFile from(bytes);
    ScratchFile to;
    ByteStream* input = StreamOpen(from.path(), kFromUtf8InputMode);
    ByteStream* output = StreamOpen(to.path(), FromUtf8OutputMode(target));
    Converted converted;
    if (input == nullptr || output == nullptr) return converted;
    converted.result = TranscodeFromUtf8(input, output, target, substitute);
    bool read = StreamClose(input);
    converted.closed = StreamClose(output) && read;
    converted.bytes = to.Read();
    return converted;
}

Converted FromUtf16(const std::string& bytes, ByteOrder order, ConversionMask into,
                    bool substitute = false) {
    ScratchFile from(bytes);
    ScratchFile to;
    ByteStream* input = StreamOpen(from.path(), kFromUtf16InputMode);
    ByteStream* output = StreamOpen(to.path(), FromUtf16OutputMode(into));
    Converted converted;
    converted.result = TranscodeFromUtf16(input, output, order, into, substitute);
    bool read = StreamClose(input);
    converted.closed = StreamClose(output) && read;
    converted.bytes = to.Read();
    return converted;
}

// A UTF-8 text in UTF-16 of the order, its byte-order mark in front.
std::string Utf16Of(const std::string& utf8, ByteOrder order) {
    const bool little = order == ByteOrder::LittleEndian;
    std::string units;
    EXPECT_TRUE(Iconv(little ? "UTF-16LE" : "UTF-16BE", "UTF-8", utf8, &units));
    return (little ? "\xFF\xFE" : "\xFE\xFF") + units;
}
constexpr ByteOrder kOrders[] = {ByteOrder::LittleEndian, ByteOrder::BigEndian};

// A whole text through glibc's iconv; "<refused>" when it refuses it.
std::string IconvText(const char* to, const char* from, const std::string& input) {
    std::string output;
    return Iconv(to, from, input, &output) ? output : "<refused>";
}

std::string CodeBytes(std::uint32_t code) {
    if (code < 0x100) return std::string(1, static_cast<char>(code));
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

std::string Utf8Of(std::uint32_t codePoint) {
    unsigned char bytes[4];
    int length = EncodeUtf8(codePoint, bytes);
    return std::string(reinterpret_cast<char*>(bytes), static_cast<std::size_t>(length));
}

// Shift-JIS cells that have a Unicode form, 40 to a line (CR LF), leaving
// out the line-end bytes and the end mark; `keep` chooses among them.
template <typename Keep>
std::string ShiftJisText(Keep keep, const char* lineEnd = "\r\n") {
    std::string text;
    int inLine = 0;
    auto add = [&](std::uint32_t code) {
        if (Cp932ToUnicode(code) == kNoCell || !keep(code)) return;
        text += CodeBytes(code);
        if (++inLine == 40) {
            text += lineEnd;
            inLine = 0;
        }
    };
    for (std::uint32_t b = 0; b < 0x100; b++) {
        if (b != '\r' && b != '\n' && b != 0x1A) add(b);
    }
    for (std::uint32_t code = 0x8140; code <= 0xFCFC; code++) add(code);
    return text + lineEnd;
}

// A Shift-JIS text's EUC-JP form as the conversion into EUC-JP from UTF-8
// makes it: each IBM extension cell by way of its NEC-selected twin, then
// the existing Shift-JIS to EUC-JP conversion.
std::string EucJpViaTwins(const std::string& sjis) {
    std::string viaTwins;
    for (std::size_t i = 0; i < sjis.size();) {
        auto lead = static_cast<unsigned char>(sjis[i]);
        std::size_t length = (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0 ? 2 : 1;
        std::string cell = sjis.substr(i, length);
        i += length;
        if (lead >= 0xFA && lead <= 0xFC) {
            std::int32_t codePoint =
                Cp932ToUnicode(lead * 256u + static_cast<unsigned char>(cell[1]));
            for (std::uint32_t twin = 0xED40; twin <= 0xEEFC; twin++) {
                if (Cp932ToUnicode(twin) == codePoint) cell = CodeBytes(twin);
            }
        }
        viaTwins += cell;
    }
    return TranscodeBytes(viaTwins, RuleFor(DetectionCode::ShiftJis, ConversionMask::IntoEucJp));
}

// The cells that have an EUC-JP form: ASCII, half-width katakana, and the
// rows of JIS X 0208 with NEC row 13 and the NEC-selected IBM extensions
// (not the user-defined area, nor the IBM extensions as such). Without ESC,
// which in ISO-2022-JP would start an escape sequence.
bool HasEucJpForm(std::uint32_t code) {
    if (code < 0x80) return code != 0x1B;
    if (code < 0x100) return code >= 0xA1 && code <= 0xDF;
    return (code >> 8) < 0xF0;
}

bool WindowsOnlyByte(std::uint32_t code) {
    return code == 0x80 || code == 0xA0 || (code >= 0xFD && code <= 0xFF);
}

TEST(Utf8Transcode, EveryShiftJisCellMatchesIconvAndRoundTrips) {
    // glibc lacks the five single bytes that only Windows decodes; they are
    // checked on their own below.
    std::string sjis = ShiftJisText([](std::uint32_t code) { return !WindowsOnlyByte(code); });
    Converted utf8 = IntoUtf8(sjis, LegacyEncoding::ShiftJis);
    ASSERT_EQ(utf8.result.outcome, Utf8Outcome::Complete);
    ASSERT_TRUE(utf8.closed);
    EXPECT_EQ(FirstDifference(utf8.bytes, IconvText("UTF-8", "CP932", sjis)), "identical");

    Converted back = FromUtf8(utf8.bytes, LegacyEncoding::ShiftJis);
    ASSERT_EQ(back.result.outcome, Utf8Outcome::Complete);
    ASSERT_TRUE(back.closed);
    EXPECT_EQ(FirstDifference(back.bytes, IconvText("CP932", "UTF-8", utf8.bytes)), "identical");

    // Byte for byte the same text, but for the cells Windows folds into a twin.
    std::string folded;
    int foldedCells = 0;
    for (std::size_t i = 0; i < sjis.size();) {
        auto lead = static_cast<unsigned char>(sjis[i]);
        bool pair = (lead >= 0x81 && lead <= 0x9F) || lead >= 0xE0;
        std::string cell = sjis.substr(i, pair ? 2 : 1);
        i += cell.size();
        std::uint32_t code = pair ? lead * 256u + static_cast<unsigned char>(cell[1]) : lead;
        auto twin = static_cast<std::uint32_t>(
            UnicodeToCp932(static_cast<std::uint32_t>(Cp932ToUnicode(code))));
        if (cell != "\r" && cell != "\n" && twin != code) foldedCells++;
        folded += cell == "\r" || cell == "\n" ? cell : CodeBytes(twin);
    }
    EXPECT_EQ(foldedCells, 398);
    EXPECT_EQ(FirstDifference(back.bytes, folded), "identical");

    // The single bytes only Windows decodes, there and back.
    Converted windowsOnly = IntoUtf8("\x80\xA0\xFD\xFE\xFF", LegacyEncoding::ShiftJis);
    EXPECT_EQ(windowsOnly.bytes,
              Utf8Of(0x80) + Utf8Of(0xF8F0) + Utf8Of(0xF8F1) + Utf8Of(0xF8F2) + Utf8Of(0xF8F3));
    EXPECT_EQ(FromUtf8(windowsOnly.bytes, LegacyEncoding::ShiftJis).bytes, "\x80\xA0\xFD\xFE\xFF");
}

// Every character that has a cell, from UTF-16 of either order, as iconv's
// "UTF-16" into "CP932" and Python's "utf-16" into "cp932" write it, but for
// the table's known differences (README): the single bytes glibc lacks, and
// the characters Python writes into their NEC-selected cells.
TEST(Utf8Transcode, EveryCellFromUtf16MatchesIconvAndPython) {
    auto hasNecTwin = [](std::int32_t point) {
        for (std::uint32_t nec = 0xED40; nec <= 0xEEFC; nec++) {
            if (Cp932ToUnicode(nec) == point) return true;
        }
        return false;
    };
    for (bool python : {false, true}) {
        // Each cell that reads back as itself: every character once, in its Windows form.
        std::string sjis = ShiftJisText([&](std::uint32_t code) {
            std::int32_t point = Cp932ToUnicode(code);
            bool differs = python ? code >= 0xFA00 && hasNecTwin(point) : WindowsOnlyByte(code);
            return !differs && UnicodeToCp932(static_cast<std::uint32_t>(point)) ==
                                   static_cast<std::int32_t>(code);
        });
        std::string utf8 = IntoUtf8(sjis, LegacyEncoding::ShiftJis).bytes;
        for (ByteOrder order : kOrders) {
            SCOPED_TRACE(python ? "python" : "iconv");
            std::string utf16 = Utf16Of(utf8, order);
            std::string theirs = IconvText("CP932", "UTF-16", utf16);
            if (python) {
                ASSERT_TRUE(
                    RunPython("sys.stdout.buffer.write(data.decode('utf-16').encode('cp932'))",
                              utf16, &theirs));
            }
            Converted ours = FromUtf16(utf16, order, ConversionMask::IntoShiftJis);
            EXPECT_EQ(ours.result.outcome, Utf8Outcome::Complete);
            EXPECT_EQ(FirstDifference(ours.bytes, theirs), "identical");
        }
    }
}

// Broken UTF-16 has no cell, nor any UTF-8 form.
TEST(Utf8Transcode, BrokenUtf16HasNoCellNorAnyUtf8Form) {
    // A lone high surrogate, a lone low one, a pair cut by the end, a unit cut by the end.
    for (std::string le :
         {"\xFF\xFE\x00\xD8\x62\x00"s, "\xFF\xFE\x00\xDC"s, "\xFF\xFE\x3D\xD8"s, "\xFF\xFE\x62"s}) {
        Converted substituted =
            FromUtf16(le, ByteOrder::LittleEndian, ConversionMask::IntoShiftJis, true);
        EXPECT_EQ(substituted.result.firstMissing, kMalformedUtf16);
        EXPECT_TRUE(substituted.closed);
        Converted stopped = FromUtf16(le, ByteOrder::LittleEndian, ConversionMask::IntoUtf8);
        EXPECT_EQ(stopped.result.firstMissing, kMalformedUtf16);
        EXPECT_FALSE(stopped.closed);
    }
}

// Long texts, so that characters are cut by the ends of input and output
// blocks at many different places; every cell, several times over.
TEST(Utf8Transcode, LongTextsMatchIconvAcrossBlocks) {
    std::string once = ShiftJisText([](std::uint32_t code) { return !WindowsOnlyByte(code); });
    std::string sjis;
    for (int i = 0; sjis.size() < 3u * kStreamBlockSize; i++) {
        sjis += std::string(static_cast<std::size_t>(i % 7), 'a') + once;
    }
    Converted utf8 = IntoUtf8(sjis, LegacyEncoding::ShiftJis);
    EXPECT_EQ(FirstDifference(utf8.bytes, IconvText("UTF-8", "CP932", sjis)), "identical");
    Converted back = FromUtf8(utf8.bytes, LegacyEncoding::ShiftJis);
    EXPECT_EQ(FirstDifference(back.bytes, IconvText("CP932", "UTF-8", utf8.bytes)), "identical");

    // EUC-JP there and back, LF line ends.
    std::string eucable = ShiftJisText(HasEucJpForm, "\n");
    std::string sjisLf;
    for (int i = 0; sjisLf.size() < 3u * kStreamBlockSize; i++) {
        sjisLf += std::string(static_cast<std::size_t>(i % 5), 'a') + eucable;
    }
    std::string euc =
        TranscodeBytes(sjisLf, RuleFor(DetectionCode::ShiftJis, ConversionMask::IntoEucJp));
    Converted fromEuc = IntoUtf8(euc, LegacyEncoding::EucJp);
    EXPECT_EQ(FirstDifference(fromEuc.bytes, IntoUtf8(sjisLf, LegacyEncoding::ShiftJis).bytes),
              "identical");
    Converted eucBack = FromUtf8(fromEuc.bytes, LegacyEncoding::EucJp);
    EXPECT_EQ(
        FirstDifference(eucBack.bytes,
                        EucJpViaTwins(FromUtf8(fromEuc.bytes, LegacyEncoding::ShiftJis).bytes)),
        "identical");
}

// The EUC-JP form of each Shift-JIS cell that has one, made by the existing
// conversion, and the ISO-2022-JP form made from that, give the UTF-8 of the
// Shift-JIS text; and from UTF-8, EUC-JP comes out as that conversion makes
// it, the IBM extensions by way of their NEC-selected twins.
TEST(Utf8Transcode, AllThreeEncodingsGiveTheSameUtf8) {
    std::string sjis = ShiftJisText(HasEucJpForm, "\n");
    std::string euc =
        TranscodeBytes(sjis, RuleFor(DetectionCode::ShiftJis, ConversionMask::IntoEucJp));
    Converted fromSjis = IntoUtf8(sjis, LegacyEncoding::ShiftJis);
    Converted fromEuc = IntoUtf8(euc, LegacyEncoding::EucJp);
    ASSERT_EQ(fromSjis.result.outcome, Utf8Outcome::Complete);
    ASSERT_EQ(fromEuc.result.outcome, Utf8Outcome::Complete);
    EXPECT_EQ(FirstDifference(fromEuc.bytes, fromSjis.bytes), "identical");

    // ISO-2022-JP: JIS X 0208 pairs in two-byte mode (switched in each of the
    // ways the reader knows), half-width katakana as 8-bit bytes in one-byte mode.
    const char* const intoTwoBytes[] = {"\x1B$B", "\x1B$@", "\x1BK"};
    const char* const intoOneByte[] = {"\x1B(B", "\x1B(J", "\x1BH"};
    std::string jis;
    bool twoBytes = false;
    int switches = 0;
    for (std::size_t i = 0; i < euc.size();) {
        auto b = static_cast<unsigned char>(euc[i]);
        bool pair = b >= 0xA1;
        if (pair != twoBytes) {
            int way = switches % 3;
            jis += pair ? intoTwoBytes[way] : intoOneByte[way];
            switches++;
            twoBytes = pair;
        }
        if (pair) {
            jis += static_cast<char>(b - 0x80);
            jis += static_cast<char>(static_cast<unsigned char>(euc[i + 1]) - 0x80);
            i += 2;
        } else if (b == 0x8E) {
            jis += euc[i + 1];
            i += 2;
        } else {
            jis += euc[i++];
        }
    }
    Converted fromJis = IntoUtf8(jis, LegacyEncoding::Iso2022Jp);
    ASSERT_EQ(fromJis.result.outcome, Utf8Outcome::Complete);
    EXPECT_EQ(FirstDifference(fromJis.bytes, fromSjis.bytes), "identical");

    // From UTF-8 (every code point that has a cell, Unix forms included).
    std::string utf8;
    for (std::uint32_t codePoint = 0x20; codePoint <= 0xFFFF; codePoint++) {
        if (UnicodeToEucJp(codePoint) != kNoCell) utf8 += Utf8Of(codePoint) + "\n";
    }
    Converted intoSjis = FromUtf8(utf8, LegacyEncoding::ShiftJis);
    Converted intoEuc = FromUtf8(utf8, LegacyEncoding::EucJp);
    ASSERT_EQ(intoEuc.result.outcome, Utf8Outcome::Complete);
    EXPECT_EQ(FirstDifference(intoEuc.bytes, EucJpViaTwins(intoSjis.bytes)), "identical");
}

TEST(Utf8Transcode, LineEndsEndMarkAndByteOrderMark) {
    // Into UTF-8 the line ends stay as they are; 0x1A ends the text.
    EXPECT_EQ(IntoUtf8("a\r\nb\nc\rd\r\n", LegacyEncoding::ShiftJis).bytes, "a\r\nb\nc\rd\r\n");
    EXPECT_EQ(IntoUtf8("\xA4\xA2\r\n\xA4\xA2\n", LegacyEncoding::EucJp).bytes, u8"あ\r\nあ\n");
    EXPECT_EQ(IntoUtf8("\x1B$B$\"\x1B(B\r\n", LegacyEncoding::Iso2022Jp).bytes, u8"あ\r\n");
    for (LegacyEncoding source :
         {LegacyEncoding::ShiftJis, LegacyEncoding::EucJp, LegacyEncoding::Iso2022Jp}) {
        Converted marked = IntoUtf8("ab\r\n\x1A\x82\xA0\x1A", source);
        EXPECT_EQ(marked.bytes, "ab\r\n");
        EXPECT_EQ(marked.result.outcome, Utf8Outcome::Complete);
        EXPECT_TRUE(marked.closed);
        EXPECT_EQ(IntoUtf8("\x1A", source).bytes, "");
    }
    Converted cut = IntoUtf8("\x82\xA0\x82\x1A", LegacyEncoding::ShiftJis);
    EXPECT_EQ(cut.result.outcome, Utf8Outcome::NoCell);
    EXPECT_EQ(cut.result.firstMissing, 0x82);
    // No byte-order mark is written.
    EXPECT_EQ(IntoUtf8("\x82\xA0", LegacyEncoding::ShiftJis).bytes, u8"あ");

    // From UTF-8 the line ends follow the target; 0x1A ends the text.
    EXPECT_EQ(FromUtf8("a\r\nb\nc\rd", LegacyEncoding::ShiftJis).bytes, "a\r\nb\r\nc\rd");
    EXPECT_EQ(FromUtf8("a\r\nb\nc\rd", LegacyEncoding::EucJp).bytes, "a\nb\nc\rd");
    EXPECT_EQ(FromUtf8(u8"あ\r\n\x1A"
                       "b",
                       LegacyEncoding::ShiftJis)
                  .bytes,
              "\x82\xA0\r\n");
    // A byte-order mark at the start is dropped; anywhere else it is U+FEFF,
    // which has no cell; the start of one is not UTF-8.
    EXPECT_EQ(FromUtf8(u8"\uFEFFあ", LegacyEncoding::EucJp).bytes, "\xA4\xA2");
    EXPECT_EQ(FromUtf8("\xEF\xBB\xBF", LegacyEncoding::ShiftJis).bytes, "");
    Converted second = FromUtf8(u8"\uFEFF\uFEFFあ", LegacyEncoding::ShiftJis);
    EXPECT_EQ(second.result.outcome, Utf8Outcome::NoCell);
    EXPECT_EQ(second.result.firstMissing, 0xFEFF);
    Converted partial = FromUtf8(
        "\xEF\xBB"
        "a",
        LegacyEncoding::ShiftJis, true);
    EXPECT_EQ(partial.bytes,
              "\x81\xAC"
              "a");
    EXPECT_EQ(partial.result.firstMissing, kMalformedUtf8);
}

TEST(Utf8Transcode, CharactersWithoutACellStopOrBecomeGetaMarks) {
    struct Case {
        std::string utf8;
        std::int32_t firstMissing;
        std::string sjisSubstituted;
        std::uint64_t replaced;
    };
    const Case cases[] = {
        {u8"A😀B😀", 0x1F600,
         "A\x81\xAC"
         "B\x81\xAC",
         2},
        {u8"¥100", 0xA5,
         "\x81\xAC"
         "100",
         1},                                    // no backslash for the yen sign
        {u8"丂", 0x4E02, "\x81\xAC", 1},        // a kanji outside the sets
        {u8"a\uFEFF", 0xFEFF, "a\x81\xAC", 1},  // a byte-order mark past the start
        {"\xC0\xAF", kMalformedUtf8, "\x81\xAC\x81\xAC", 2},
        {"\xE0\x80\xAF", kMalformedUtf8, "\x81\xAC\x81\xAC\x81\xAC", 3},
        {"\xE0\x82\xA2", kMalformedUtf8, "\x81\xAC\x81\xAC\x81\xAC", 3},  // an overlong ¢
        {"\xED\xA0\x80", kMalformedUtf8, "\x81\xAC\x81\xAC\x81\xAC", 3},
        {"\xF4\x90\x80\x80", kMalformedUtf8, "\x81\xAC\x81\xAC\x81\xAC\x81\xAC", 4},
        {"\xE3\x81"
         "A",
         kMalformedUtf8,
         "\x81\xAC"
         "A",
         1},
        {u8"あ\xE3\x81", kMalformedUtf8, "\x82\xA0\x81\xAC", 1},  // cut by the end
        {"\xFF\x80", kMalformedUtf8, "\x81\xAC\x81\xAC", 2},
    };
    for (const Case& c : cases) {
        Converted stopped = FromUtf8(c.utf8, LegacyEncoding::ShiftJis);
        EXPECT_EQ(stopped.result.outcome, Utf8Outcome::NoCell) << c.utf8;
        EXPECT_EQ(stopped.result.firstMissing, c.firstMissing) << c.utf8;
        EXPECT_FALSE(stopped.closed) << "a partial text must not pass for the result";

        Converted substituted = FromUtf8(c.utf8, LegacyEncoding::ShiftJis, true);
        EXPECT_EQ(substituted.result.outcome, Utf8Outcome::Replaced) << c.utf8;
        EXPECT_EQ(substituted.result.firstMissing, c.firstMissing) << c.utf8;
        EXPECT_EQ(substituted.result.replaced, c.replaced) << c.utf8;
        EXPECT_EQ(substituted.bytes, c.sjisSubstituted) << c.utf8;
        EXPECT_TRUE(substituted.closed);
        // The same characters from UTF-16 (bytes that are not UTF-8 have no UTF-16 form).
        if (c.firstMissing == kMalformedUtf8) continue;
        Converted fromUtf16 = FromUtf16(Utf16Of(c.utf8, ByteOrder::BigEndian), ByteOrder::BigEndian,
                                        ConversionMask::IntoShiftJis, true);
        EXPECT_EQ(fromUtf16.bytes, c.sjisSubstituted) << c.utf8;
        EXPECT_EQ(fromUtf16.result.firstMissing, c.firstMissing) << c.utf8;
    }
    Converted euc = FromUtf8(u8"A😀B\n", LegacyEncoding::EucJp, true);
    EXPECT_EQ(euc.bytes,
              "A\xA2\xAE"
              "B\n");
    EXPECT_EQ(euc.result.replaced, 1u);
    // The user-defined area has no EUC-JP form, only a Shift-JIS one.
    EXPECT_EQ(FromUtf8(u8"\uE000", LegacyEncoding::ShiftJis).bytes, "\xF0\x40");
    EXPECT_EQ(FromUtf8(u8"\uE000", LegacyEncoding::EucJp).result.firstMissing, 0xE000);
    Converted complete = FromUtf8(u8"亜", LegacyEncoding::ShiftJis, true);
    EXPECT_EQ(complete.result.outcome, Utf8Outcome::Complete);
    EXPECT_EQ(complete.result.firstMissing, -1);
}

TEST(Utf8Transcode, SourceCharactersWithoutAUnicodeFormStop) {
    struct Case {
        LegacyEncoding source;
        std::string bytes;
        std::int32_t firstMissing;
    };
    const Case cases[] = {
        {LegacyEncoding::ShiftJis, "a\x85\x40", 0x8540},    // an empty row
        {LegacyEncoding::ShiftJis, "a\x81\x0A", 0x810A},    // not a trail byte
        {LegacyEncoding::ShiftJis, "a\x82\xA0\x81", 0x81},  // cut by the end
        {LegacyEncoding::EucJp, "\xA9\xA1", 0xA9A1},        // row 9: empty
        {LegacyEncoding::EucJp, "\x8F\xB0\xA1", 0x8F},      // JIS X 0212
        {LegacyEncoding::EucJp, "\x8E\xE0", 0x8EE0},        // not half-width katakana
        {LegacyEncoding::EucJp, "\x80", 0x80},
        {LegacyEncoding::EucJp, "\xB0\x41", 0xB041},  // the arithmetic alone would give a kanji
        {LegacyEncoding::EucJp, "\x8E\x41", 0x8E41},  // and here an A
        {LegacyEncoding::EucJp, "\xB0\xA1\xB0\x1A", 0xB0},  // cut by the end mark
        {LegacyEncoding::Iso2022Jp, "\x1B$(D", 0x1B24},     // an escape it does not know
        {LegacyEncoding::Iso2022Jp, "\x1B$B0\n", 0x300A},   // a line end in two-byte mode
        {LegacyEncoding::Iso2022Jp, "\x1B$B0", 0x30},       // a lone byte at the end
        {LegacyEncoding::Iso2022Jp, "\x1B$B0\x1B(B", 0x30},
        {LegacyEncoding::Iso2022Jp, "a\x80", 0x80},
    };
    for (const Case& c : cases) {
        Converted converted = IntoUtf8(c.bytes, c.source);
        EXPECT_EQ(converted.result.outcome, Utf8Outcome::NoCell) << c.bytes;
        EXPECT_EQ(converted.result.firstMissing, c.firstMissing) << c.bytes;
        EXPECT_FALSE(converted.closed) << c.bytes;
    }
}

// Characters, line ends, the end mark and breaks placed across the first
// read block's end, at every position around it.
TEST(Utf8Transcode, BlockBoundaries) {
    for (int shift = -5; shift <= 5; shift++) {
        std::string lead(static_cast<std::size_t>(kStreamBlockSize + shift), 'a');
        // Into UTF-8.
        EXPECT_EQ(
            IntoUtf8(lead + "\x88\x9F\x88\xA0\xB1\r\n\x1A\x88", LegacyEncoding::ShiftJis).bytes,
            lead + u8"亜唖ｱ\r\n");
        EXPECT_EQ(IntoUtf8(lead + "\xB0\xA1\xB0\xA2\x8E\xB1\n\x1A", LegacyEncoding::EucJp).bytes,
                  lead + u8"亜唖ｱ\n");
        EXPECT_EQ(
            IntoUtf8(lead + "\x1B$B0!0\"\x1B(B\xB1\x1B$@0!\x1B(J\n", LegacyEncoding::Iso2022Jp)
                .bytes,
            lead + u8"亜唖ｱ亜\n");
        Converted cut = IntoUtf8(lead + "\x88\x9F\x88", LegacyEncoding::ShiftJis);
        EXPECT_EQ(cut.result.firstMissing, 0x88) << shift;

        // From UTF-8, with CR LF pairs, characters and breaks across the end.
        Converted sjis = FromUtf8(lead +
                                      u8"\r\n亜唖ｱ\xE3\x81"
                                      "b\r\n\x1A"
                                      "c",
                                  LegacyEncoding::ShiftJis, true);
        EXPECT_EQ(FirstDifference(sjis.bytes, lead + "\r\n\x88\x9F\x88\xA0\xB1\x81\xAC"
                                                     "b\r\n"),
                  "identical")
            << shift;
        EXPECT_EQ(sjis.result.replaced, 1u);
        Converted euc = FromUtf8(lead + u8"亜😀\r\n", LegacyEncoding::EucJp);
        EXPECT_EQ(euc.result.firstMissing, 0x1F600) << shift;
        Converted eucCut = FromUtf8(lead + u8"亜\xF0\x9F\x98", LegacyEncoding::EucJp, true);
        EXPECT_EQ(eucCut.bytes, lead + "\xB0\xA1\xA2\xAE") << shift;

        // From UTF-16, its mark and `shift` units past the block's end: line
        // ends follow the target (into UTF-8 they stay), the end mark ends it.
        std::string units(static_cast<std::size_t>(kStreamBlockSize / 2 - 1 + shift), 'a');
        for (ByteOrder order : kOrders) {
            const std::string text = units + u8"\r\n亜😀ｱ\r\r\n";
            std::string utf16 = Utf16Of(text + "\x1A!", order);
            EXPECT_EQ(
                FirstDifference(FromUtf16(utf16, order, ConversionMask::IntoShiftJis, true).bytes,
                                units + "\r\n\x88\x9F\x81\xAC\xB1\r\r\n"),
                "identical")
                << shift;
            EXPECT_EQ(FromUtf16(utf16, order, ConversionMask::IntoEucJp, true).bytes,
                      units + "\n\xB0\xA1\xA2\xAE\x8E\xB1\r\n")
                << shift;
            EXPECT_EQ(
                FirstDifference(FromUtf16(utf16, order, ConversionMask::IntoUtf8).bytes, text),
                "identical")
                << shift;
        }
    }
}

}  // namespace
