// Code page 932 against two independent references, every cell in both
// directions: glibc's iconv "CP932" (in this process) and Python's cp932
// codec (python3, run by the test). Where the references disagree, the
// table follows Windows; each disagreement is listed here and checked, so
// that the list stays true:
//  - 0x80, 0xA0, 0xFD-0xFF: Windows and Python decode them to U+0080 and
//    U+F8F0-U+F8F3 (and back); glibc has no cell for them.
//  - U+00A5 ¥ and U+203E ‾: glibc writes 0x5C and 0x7E, a look-alike
//    (Windows' "best fit"); Python refuses them, and so do we.
//  - U+2014 —: glibc writes 0x815C (―), Python refuses it; we take it, as
//    one of the forms Unix tools write for that cell.
//  - The code points with both an NEC-selected (0xED-0xEE) and an IBM
//    extension cell (0xFA-0xFC): glibc writes the IBM one, as Windows does;
//    Python the NEC-selected one.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "engine/cp932_table.h"
#include "engine/mappers.h"
#include "tests/native/support/engine_files.h"
#include "tests/native/support/python_text.h"

namespace {

// One conversion by glibc's iconv; false when it refuses the bytes.
bool IconvOnce(iconv_t cd, const std::string& input, std::string* output) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string in = input;
    char* inPointer = &in[0];
    std::size_t inLeft = in.size();
    char buffer[16];
    char* outPointer = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<std::size_t>(-1))
        return false;
    output->assign(buffer, static_cast<std::size_t>(outPointer - buffer));
    return inLeft == 0;
}

class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    bool Convert(const std::string& input, std::string* output) {
        return IconvOnce(cd_, input, output);
    }

  private:
    iconv_t cd_;
};

std::string CodeBytes(std::uint32_t code) {
    if (code < 0x100) return std::string(1, static_cast<char>(code));
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

std::uint32_t BytesCode(const std::string& bytes) {
    std::uint32_t code = 0;
    for (char c : bytes) code = code * 256 + static_cast<unsigned char>(c);
    return code;
}

// Every code worth asking about: each single byte, and each lead byte with
// every second byte (not only the valid trail bytes).
std::vector<std::uint32_t> AllCodes() {
    std::vector<std::uint32_t> codes;
    for (std::uint32_t b = 0; b < 0x100; b++) codes.push_back(b);
    for (std::uint32_t lead = 0x81; lead <= 0xFC; lead++) {
        if (lead >= 0xA0 && lead < 0xE0) continue;
        for (std::uint32_t trail = 0; trail < 0x100; trail++) codes.push_back(lead * 256 + trail);
    }
    return codes;
}

std::string Hex(std::int64_t value) {
    char text[16];
    if (value < 0) return "none";
    std::snprintf(text, sizeof text, "%04llX", static_cast<long long>(value));
    return text;
}

bool IsWindowsOnlyByte(std::uint32_t code) {
    return code == 0x80 || code == 0xA0 || code == 0xFD || code == 0xFE || code == 0xFF;
}

bool IsNecSelected(std::int64_t code) { return code >= 0xED00 && code <= 0xEEFF; }
bool IsIbmExtension(std::int64_t code) { return code >= 0xFA00 && code <= 0xFCFF; }

TEST(Cp932Table, DecodesEveryCellAsGlibcDoes) {
    Iconv toUtf32("UTF-32LE", "CP932");
    ASSERT_TRUE(toUtf32.ok());
    int cells = 0;
    std::vector<std::string> windowsOnly;
    for (std::uint32_t code : AllCodes()) {
        std::string utf32;
        std::int64_t theirs = kNoCell;
        if (toUtf32.Convert(CodeBytes(code), &utf32) && utf32.size() == 4) {
            theirs = static_cast<unsigned char>(utf32[0]) | static_cast<unsigned char>(utf32[1])
                                                                << 8;
        }
        std::int32_t ours = Cp932ToUnicode(code);
        if (ours != kNoCell) cells++;
        if (theirs == kNoCell && ours != kNoCell && IsWindowsOnlyByte(code)) {
            windowsOnly.push_back(Hex(code) + "=" + Hex(ours));
            continue;
        }
        EXPECT_EQ(Hex(ours), Hex(theirs)) << "cell " << Hex(code);
    }
    EXPECT_EQ(cells, 9800);
    EXPECT_EQ(windowsOnly, (std::vector<std::string>{"0080=0080", "00A0=F8F0", "00FD=F8F1",
                                                     "00FE=F8F2", "00FF=F8F3"}));
}

TEST(Cp932Table, EncodesEveryCodePointAsGlibcDoes) {
    Iconv fromUtf32("CP932", "UTF-32LE");
    ASSERT_TRUE(fromUtf32.ok());
    std::vector<std::string> differences;
    int ibmOverNecSelected = 0;
    for (std::uint32_t codePoint = 0; codePoint <= 0x10FFFF; codePoint++) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
        if (codePoint == 0x20000) codePoint = 0x10FF00;  // nothing up there; the top only
        std::string utf32(4, '\0');
        for (int i = 0; i < 4; i++) utf32[i] = static_cast<char>((codePoint >> (8 * i)) & 0xFF);
        std::string bytes;
        std::int64_t theirs =
            fromUtf32.Convert(utf32, &bytes) ? std::int64_t{BytesCode(bytes)} : kNoCell;
        std::int32_t ours = UnicodeToCp932(codePoint);
        if (IsIbmExtension(ours) && Cp932ToUnicode(ours) == static_cast<std::int32_t>(codePoint)) {
            for (std::uint32_t other = 0xED40; other <= 0xEEFC; other++) {
                if (Cp932ToUnicode(other) == static_cast<std::int32_t>(codePoint))
                    ibmOverNecSelected++;
            }
        }
        if (ours != theirs)
            differences.push_back(Hex(codePoint) + ":" + Hex(ours) + "/" + Hex(theirs));
    }
    EXPECT_EQ(differences,
              (std::vector<std::string>{"0080:0080/none", "00A5:none/005C", "203E:none/007E",
                                        "F8F0:00A0/none", "F8F1:00FD/none", "F8F2:00FE/none",
                                        "F8F3:00FF/none"}));
    // The kanji and symbols with both an NEC-selected and an IBM cell.
    EXPECT_EQ(ibmOverNecSelected, 373);
}

// Python's cp932 codec, dumped by python3: "D code point" for each cell
// that decodes, "E point code" for each code point of the BMP that encodes.
const char kPythonDump[] = R"(
import sys
out = []
codes = list(range(256)) + [l * 256 + t for l in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD))
                            for t in range(256)]
for code in codes:
    raw = bytes([code]) if code < 256 else bytes([code >> 8, code & 255])
    try:
        text = raw.decode("cp932")
    except UnicodeDecodeError:
        continue
    if len(text) == 1:
        out.append("D %X %X" % (code, ord(text)))
for point in range(0x10000):
    if 0xD800 <= point <= 0xDFFF:
        continue
    try:
        raw = chr(point).encode("cp932")
    except UnicodeEncodeError:
        continue
    out.append("E %X %X" % (point, int.from_bytes(raw, "big")))
sys.stdout.write("\n".join(out) + "\n")
)";

struct PythonTable {
    std::map<std::uint32_t, std::uint32_t> decode;
    std::map<std::uint32_t, std::uint32_t> encode;
};

bool LoadPythonTable(PythonTable* table) {
    std::string dump;
    if (!RunPython(kPythonDump, "", &dump)) return false;
    std::istringstream lines(dump);
    char kind = 0;
    unsigned from = 0;
    unsigned to = 0;
    while (lines >> kind >> std::hex >> from >> to) {
        (kind == 'D' ? table->decode : table->encode)[from] = to;
    }
    return !table->decode.empty() && !table->encode.empty();
}

TEST(Cp932Table, AgreesWithPythonBothWays) {
    PythonTable python;
    ASSERT_TRUE(LoadPythonTable(&python)) << "python3 with its cp932 codec is needed";
    for (std::uint32_t code : AllCodes()) {
        auto found = python.decode.find(code);
        std::int64_t theirs = found == python.decode.end() ? kNoCell : std::int64_t{found->second};
        EXPECT_EQ(Hex(Cp932ToUnicode(code)), Hex(theirs)) << "cell " << Hex(code);
    }
    std::vector<std::string> otherDifferences;
    int necSelected = 0;
    for (std::uint32_t codePoint = 0; codePoint <= 0xFFFF; codePoint++) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
        auto found = python.encode.find(codePoint);
        std::int64_t theirs = found == python.encode.end() ? kNoCell : std::int64_t{found->second};
        std::int32_t ours = UnicodeToCp932(codePoint);
        if (ours == theirs) continue;
        // Python writes the NEC-selected twin of what Windows writes.
        if (IsIbmExtension(ours) && IsNecSelected(theirs) &&
            Cp932ToUnicode(static_cast<std::uint32_t>(theirs)) ==
                static_cast<std::int32_t>(codePoint)) {
            necSelected++;
            continue;
        }
        otherDifferences.push_back(Hex(codePoint) + ":" + Hex(ours) + "/" + Hex(theirs));
    }
    EXPECT_EQ(necSelected, 373);
    EXPECT_EQ(otherDifferences, std::vector<std::string>{"2014:815C/none"});
}

// Every cell decodes and comes back to itself, except the cells that
// Windows folds into a twin that decodes to the same code point.
TEST(Cp932Table, EveryCellRoundTripsButTheWindowsDuplicates) {
    std::map<std::uint32_t, std::uint32_t> folded;
    for (std::uint32_t code : AllCodes()) {
        std::int32_t codePoint = Cp932ToUnicode(code);
        if (codePoint == kNoCell) continue;
        std::int32_t back = UnicodeToCp932(static_cast<std::uint32_t>(codePoint));
        ASSERT_NE(back, kNoCell) << Hex(code);
        EXPECT_EQ(Cp932ToUnicode(static_cast<std::uint32_t>(back)), codePoint);
        if (static_cast<std::uint32_t>(back) != code)
            folded[code] = static_cast<std::uint32_t>(back);
    }
    EXPECT_EQ(folded.size(), 398u);
    int necRow13 = 0, necSelected = 0, ibm = 0;
    for (const auto& [code, twin] : folded) {
        if (code >> 8 == 0x87) {
            // ≒ ≡ ∫ √ ⊥ ∠ ∵ ∩ ∪ go to JIS X 0208's row 2.
            necRow13++;
            EXPECT_EQ(twin >> 8, 0x81u) << Hex(code);
        } else if (IsNecSelected(code)) {
            // All of them: to the IBM extensions, and ￢ to JIS X 0208's 0x81CA.
            necSelected++;
            EXPECT_TRUE(IsIbmExtension(twin) || twin == 0x81CA) << Hex(code);
        } else {
            // Ⅰ-Ⅹ, ￢, ㈱, №, ℡, ∵ of the IBM extensions go to NEC row 13 or JIS X 0208.
            ibm++;
            EXPECT_TRUE(code >= 0xFA4A && code <= 0xFA5B) << Hex(code);
            EXPECT_TRUE(twin >> 8 == 0x87 || twin >> 8 == 0x81) << Hex(code);
        }
    }
    EXPECT_EQ(necRow13, 9);
    EXPECT_EQ(necSelected, 374);
    EXPECT_EQ(ibm, 15);
}

TEST(Cp932Table, TakesTheUnixFormsAndNoLookAlikes) {
    const std::uint32_t unixForms[][2] = {{0x301C, 0x8160}, {0x2016, 0x8161}, {0x2212, 0x817C},
                                          {0x00A2, 0x8191}, {0x00A3, 0x8192}, {0x00AC, 0x81CA},
                                          {0x2014, 0x815C}};
    for (const auto& form : unixForms) {
        EXPECT_EQ(UnicodeToCp932(form[0]), static_cast<std::int32_t>(form[1])) << Hex(form[0]);
        // Written back in Windows' form, never in the Unix one.
        EXPECT_NE(Cp932ToUnicode(form[1]), static_cast<std::int32_t>(form[0]));
    }
    // Look-alikes of characters that have a cell, and characters beyond the sets.
    for (std::uint32_t codePoint :
         {0x00A5u, 0x203Eu, 0x00A6u, 0x1F600u, 0xE758u, 0xFEFFu, 0xFFFDu, 0x110000u}) {
        EXPECT_EQ(UnicodeToCp932(codePoint), kNoCell) << Hex(codePoint);
        EXPECT_EQ(UnicodeToEucJp(codePoint), kNoCell) << Hex(codePoint);
    }
    EXPECT_EQ(UnicodeToCp932(0x5C), 0x5C);
    EXPECT_EQ(UnicodeToCp932(0x7E), 0x7E);
    EXPECT_EQ(UnicodeToCp932(0xE000), 0xF040);  // the user-defined area, first and last
    EXPECT_EQ(UnicodeToCp932(0xE757), 0xF9FC);
}

// Into EUC-JP a code point takes the EUC-JP form that the Shift-JIS to
// EUC-JP conversion gives its Shift-JIS cell, the IBM extensions by way of
// their NEC-selected twins; the cells whose conversion is no EUC-JP
// character at all have none.
TEST(Cp932Table, EucJpFormsFollowTheShiftJisConversion) {
    int withForm = 0;
    std::map<std::string, int> without;
    for (std::uint32_t codePoint = 0x80; codePoint <= 0xFFFF; codePoint++) {
        std::int32_t cell = UnicodeToCp932(codePoint);
        if (cell == kNoCell) {
            EXPECT_EQ(UnicodeToEucJp(codePoint), kNoCell);
            continue;
        }
        std::uint32_t via = static_cast<std::uint32_t>(cell);
        if (IsIbmExtension(via)) {
            via = 0;
            for (std::uint32_t twin = 0xED40; twin <= 0xEEFC; twin++) {
                if (Cp932ToUnicode(twin) == static_cast<std::int32_t>(codePoint)) via = twin;
            }
            ASSERT_NE(via, 0u) << "an IBM extension without an NEC-selected twin: "
                               << Hex(codePoint);
        }
        std::int32_t euc = UnicodeToEucJp(codePoint);
        if (euc == kNoCell) {
            without[via >= 0xF040 && via <= 0xF9FC ? "user-defined" : Hex(via)]++;
            continue;
        }
        withForm++;
        EXPECT_EQ(euc, ShiftJisToEucJp(static_cast<CodeChar>(via))) << Hex(codePoint);
        EXPECT_EQ(EucJpToShiftJis(euc), static_cast<CodeChar>(via)) << Hex(codePoint);
    }
    EXPECT_EQ(without, (std::map<std::string, int>{{"0080", 1},
                                                   {"00A0", 1},
                                                   {"00FD", 1},
                                                   {"00FE", 1},
                                                   {"00FF", 1},
                                                   {"user-defined", 1880}}));
    // Every other code point from U+0080 up that has a cell: 9800 cells less
    // the 128 of ASCII and the 398 folded twins, with the 7 Unix forms.
    EXPECT_EQ(withForm, 9800 - 128 - 398 + 7 - 1885);
}

}  // namespace
