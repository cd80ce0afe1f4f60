// What the undetermined-files list shows for a code and for a file's first
// bytes, and the count and sort order of the file lists.
#include "ui/undetermined_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "res/resource.h"
#include "ui/row_list.h"
#include "tests/native/support/iconv_text.h"

namespace {

TEST(ActionText, EachMarkShowsWhatExecuteWillDo) {
    const std::u16string ignored = u"無視する";
    EXPECT_EQ(ActionText(DetectionCode::Undetermined), ignored);
    EXPECT_EQ(ActionText(DetectionCode::EucJp), std::u16string(u"Shift-JIS へ変換する"));
    EXPECT_EQ(ActionText(DetectionCode::ShiftJis), std::u16string(u"日本語EUC へ変換する"));
    EXPECT_EQ(ActionText(DetectionCode::CopyUnchanged), std::u16string(u"コピーする"));
    // Codes no row is marked with read as ignored.
    EXPECT_EQ(ActionText(DetectionCode::Directory), ignored);
    EXPECT_EQ(ActionText(DetectionCode::Iso2022Jp), ignored);
    EXPECT_EQ(ActionText(DetectionCode{0}), ignored);
}

TEST(ActionCodeForCommand, MenuCommandsMarkTheOtherEncoding) {
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_EUC_JP), DetectionCode::EucJp);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_SHIFT_JIS), DetectionCode::ShiftJis);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_COPY), DetectionCode::CopyUnchanged);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_IGNORE), DetectionCode::Undetermined);
    EXPECT_EQ(ActionCodeForCommand(IDM_OPEN), DetectionCode::Undetermined);
    // The text a mark shows is the action the command names.
    EXPECT_EQ(ActionText(ActionCodeForCommand(IDM_MARK_EUC_JP)),
              std::u16string(u"Shift-JIS へ変換する"));
    EXPECT_EQ(ActionText(ActionCodeForCommand(IDM_MARK_SHIFT_JIS)),
              std::u16string(u"日本語EUC へ変換する"));
}

// The preview of a file, as the row's action reads it.
std::u16string Preview(DetectionCode code, DetectionCode detected, const std::string& bytes,
                       std::int32_t firstMissing = -1) {
    WorkItem item{};
    item.code = code;
    item.detected = detected;
    item.firstMissing = firstMissing;
    return PreviewText(item, reinterpret_cast<const unsigned char*>(bytes.data()),
                       static_cast<int>(bytes.size()));
}

// The text as glibc's iconv reads the bytes in the encoding, in UTF-16.
std::u16string Reference(const char* encoding, const std::string& bytes) {
    std::string utf16;
    EXPECT_TRUE(Iconv("UTF-16LE", encoding, bytes, &utf16)) << encoding;
    std::u16string text;
    for (std::size_t i = 0; i + 1 < utf16.size(); i += 2) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) |
                                             static_cast<unsigned char>(utf16[i + 1]) << 8));
    }
    return text;
}

// A UTF-8 text as it reads once written into Shift-JIS, by glibc's iconv.
std::u16string ReferenceThroughShiftJis(const std::string& utf8) {
    std::string shiftJis;
    EXPECT_TRUE(Iconv("CP932", "UTF-8", utf8, &shiftJis));
    return Reference("CP932", shiftJis);
}

constexpr DetectionCode kIgnored = DetectionCode::Undetermined;
constexpr DetectionCode kAsEucJp = DetectionCode::EucJp;
constexpr DetectionCode kAsShiftJis = DetectionCode::ShiftJis;
constexpr DetectionCode kCopied = DetectionCode::CopyUnchanged;
constexpr DetectionCode kUtf8 = DetectionCode::Utf8;
// A zero byte shows as the byte 0xFF reads in code page 932 (Python's cp932
// codec and Windows agree; glibc has no cell for it).
constexpr char16_t kZero = u'\uF8F3';

struct PreviewRow {
    const char* what;
    DetectionCode code;
    DetectionCode detected;
    std::string bytes;
    // The reference that reads the same: "CP932" or "EUC-JP-MS" through
    // iconv, "UTF-8" for UTF-8 written into Shift-JIS, or null for expected.
    const char* reference;
    std::u16string expected;
};

TEST(PreviewText, DecodedByTheProgramsOwnTablesAsTheActionReadsTheFile) {
    const PreviewRow rows[] = {
        // メモ, half-width ｱ, 亜, ① (NEC row 13), ～, CR LF.
        {"Shift-JIS", kIgnored, kIgnored, "\x83\x81\x83\x82 \xB1\x88\x9F\x87\x40\x81\x60\r\n",
         "CP932", u""},
        {"Shift-JIS, copied", kCopied, kIgnored, "\x8A\xBF\x8E\x9A\xFA\x40", "CP932", u""},
        {"Shift-JIS, taken as it", kAsShiftJis, kIgnored, "\xA5\xE1\xA5", "CP932", u""},
        // メモ, ｱ, 亜, ① and ～ again, from EUC-JP.
        {"EUC-JP", kAsEucJp, kIgnored, "\xA5\xE1\xA5\xE2 \x8E\xB1\xB0\xA1\xAD\xA1\xA1\xC1\n",
         "EUC-JP-MS", u""},
        {"UTF-8", kIgnored, kUtf8,
         "\xE3\x83\xA1\xE3\x83\xA2 \xEF\xBD\xB1\xE4\xBA\x9C\xE2\x91\xA0\n", "UTF-8", u""},
        // U+301C becomes the cell 0x8160, which reads as U+FF5E.
        {"UTF-8, as its cell reads", kAsEucJp, kUtf8, "\xE3\x80\x9C", "UTF-8", u""},
        {"UTF-8 with a byte-order mark", kCopied, kUtf8, "\xEF\xBB\xBF\xE3\x81\x82", nullptr,
         u"あ"},
        // An emoji, é and ¥: no cell in code page 932.
        {"UTF-8 without a cell", kIgnored, kUtf8, "a\xF0\x9F\x98\x80\xC3\xA9\xC2\xA5z", nullptr,
         u"a〓〓〓z"},
        {"Shift-JIS empty cell", kIgnored, kIgnored, "a\x85\x40z", nullptr, u"a〓z"},
        {"EUC-JP empty cell", kAsEucJp, kIgnored, "a\xA9\xA1z", nullptr, u"a〓z"},
        // Malformed: one 〓 per break, what follows is read anew.
        {"UTF-8 malformed", kIgnored, kUtf8, "a\xFF\xC3z", nullptr, u"a〓〓z"},
        {"Shift-JIS lead byte alone", kIgnored, kIgnored, "\x81\nx", nullptr, u"〓\nx"},
        {"EUC-JP malformed", kAsEucJp, kIgnored, "a\x80z\x8F\xB0\xA1", nullptr, u"a〓z〓亜"},
        // A character cut by the end of the preview is left out.
        {"Shift-JIS cut", kIgnored, kIgnored, "a\x82", nullptr, u"a"},
        {"EUC-JP cut", kAsEucJp, kIgnored, "a\xB0", nullptr, u"a"},
        {"UTF-8 cut", kIgnored, kUtf8, "a\xE3\x83", nullptr, u"a"},
        // Zero bytes, whichever way the file is read.
        {"Shift-JIS with NUL", kIgnored, kIgnored, std::string("\0a\0\0b", 5), nullptr,
         std::u16string{kZero, u'a', kZero, kZero, u'b'}},
        {"EUC-JP with NUL", kAsEucJp, kIgnored, std::string("\xB0\xA1\0", 3), nullptr,
         std::u16string{u'亜', kZero}},
        {"UTF-8 with NUL", kIgnored, kUtf8, std::string("\xE3\x81\x82\0", 4), nullptr,
         std::u16string{u'あ', kZero}},
        {"nothing", kIgnored, kIgnored, "", nullptr, u""},
        // UTF-16, its mark left out: メ, an emoji (a pair), a lone surrogate;
        // a pair cut by the end of the preview is left out.
        {"UTF-16LE", kAsEucJp, DetectionCode::Utf16Le,
         std::string("\xFF\xFE\xE1\x30\x3D\xD8\x00\xDE\x00\xDCz\0", 12), nullptr, u"メ〓〓z"},
        {"UTF-16BE cut", kIgnored, DetectionCode::Utf16Be, "\xFE\xFF\x30\xE1\xD8\x3D\xDE", nullptr,
         u"メ"},
    };
    for (const PreviewRow& row : rows) {
        std::u16string expected = row.expected;
        if (row.reference != nullptr) {
            expected = std::string(row.reference) == "UTF-8" ? ReferenceThroughShiftJis(row.bytes)
                                                             : Reference(row.reference, row.bytes);
            ASSERT_FALSE(expected.empty()) << row.what;
        }
        EXPECT_EQ(Preview(row.code, row.detected, row.bytes), expected) << row.what;
    }
    // A whole preview of zero bytes stays whole.
    EXPECT_EQ(Preview(kIgnored, kIgnored, std::string(kPreviewBytes, '\0')),
              std::u16string(kPreviewBytes, kZero));
}

TEST(PreviewText, AUtf8FileReadsAsUtf8WhateverTheAction) {
    // A byte-order mark, メモ, ①, an emoji (no cell: 〓), and a character cut at the end.
    const std::string text =
        "\xEF\xBB\xBF\xE3\x83\xA1\xE3\x83\xA2\xE2\x91\xA0\xF0\x9F\x98\x80!\xE3\x83";
    for (DetectionCode code : {kIgnored, kAsEucJp, kAsShiftJis, kCopied}) {
        EXPECT_EQ(Preview(code, kUtf8, text), u"メモ①〓!") << static_cast<int>(code);
    }
    // The first character that did not fit is named in front.
    EXPECT_EQ(Preview(kIgnored, kUtf8, "\xF0\x9F\x98\x80", 0x1F600), u"[U+1F600] 〓");
    EXPECT_EQ(Preview(kIgnored, kUtf8, "x", 0xE9), u"[U+00E9] x");
    EXPECT_EQ(Preview(kIgnored, DetectionCode::Utf16Be, std::string("\xFE\xFF\0x", 4), 0xE9),
              u"[U+00E9] x");
    EXPECT_EQ(Preview(kIgnored, kAsShiftJis, "\xF0\x40", 0xF040), u"[0xF040] \uE000");
}

TEST(RowCountText, TheNumberOfFiles) {
    EXPECT_EQ(RowCountText(3), u"3 個のﾌｧｲﾙ");
    EXPECT_EQ(RowCountText(0), u"0 個のﾌｧｲﾙ");
    EXPECT_EQ(RowCountText(12345), u"12345 個のﾌｧｲﾙ");
}

TEST(NextSortOrder, TheSameColumnReversesAnotherStartsAscending) {
    std::int32_t column = 0;
    bool ascending = true;
    NextSortOrder(0, &column, &ascending);
    EXPECT_EQ(column, 0);
    EXPECT_FALSE(ascending);
    NextSortOrder(0, &column, &ascending);
    EXPECT_TRUE(ascending);
    NextSortOrder(0, &column, &ascending);
    NextSortOrder(2, &column, &ascending);
    EXPECT_EQ(column, 2);
    EXPECT_TRUE(ascending);
}

}  // namespace
