// What the undetermined-files list shows for a code and for a file's first
// bytes, and how its table of row texts answers.
#include "ui/undetermined_rows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "res/resource.h"

namespace {

TEST(ActionText, EachMarkShowsWhatExecuteWillDo) {
    EXPECT_STREQ(ActionText(DetectionCode::Undetermined), "無視する");
    EXPECT_STREQ(ActionText(DetectionCode::EucJp), "Shift-JIS へ変換する");
    EXPECT_STREQ(ActionText(DetectionCode::ShiftJis), "日本語EUC へ変換する");
    EXPECT_STREQ(ActionText(DetectionCode::CopyUnchanged), "コピーする");
    // Codes no row is marked with read as ignored.
    EXPECT_STREQ(ActionText(DetectionCode::Directory), "無視する");
    EXPECT_STREQ(ActionText(DetectionCode::Iso2022Jp), "無視する");
    EXPECT_STREQ(ActionText(DetectionCode{0}), "無視する");
}

TEST(ActionCodeForCommand, MenuCommandsMarkTheOtherEncoding) {
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_EUC_JP), DetectionCode::EucJp);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_SHIFT_JIS), DetectionCode::ShiftJis);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_COPY), DetectionCode::CopyUnchanged);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_IGNORE), DetectionCode::Undetermined);
    EXPECT_EQ(ActionCodeForCommand(IDM_OPEN), DetectionCode::Undetermined);
    // The text a mark shows is the action the command names.
    EXPECT_STREQ(ActionText(ActionCodeForCommand(IDM_MARK_EUC_JP)), "Shift-JIS へ変換する");
    EXPECT_STREQ(ActionText(ActionCodeForCommand(IDM_MARK_SHIFT_JIS)), "日本語EUC へ変換する");
}

// The preview of a file, as the row's action reads it.
std::string Preview(DetectionCode code, DetectionCode detected, const std::string& bytes,
                    std::int32_t firstMissing = -1) {
    WorkItem item{};
    item.code = code;
    item.detected = detected;
    item.firstMissing = firstMissing;
    return PreviewText(item, reinterpret_cast<const unsigned char*>(bytes.data()),
                       static_cast<int>(bytes.size()));
}

TEST(PreviewText, BytesAsTheyAreWithZeroBytesAsFF) {
    const DetectionCode u = DetectionCode::Undetermined;
    EXPECT_EQ(Preview(u, u, std::string("\0a\0\0b", 5)),
              "\xFF"
              "a\xFF\xFF"
              "b");
    EXPECT_EQ(Preview(u, u, ""), "");
    EXPECT_EQ(Preview(u, u, std::string(kPreviewBytes, '\0')), std::string(kPreviewBytes, '\xFF'));
    // Copied, ignored, or taken as Shift-JIS: as they are, whatever they hold.
    const std::string eucMemo = "\xA5\xE1\xA5\xE2";
    for (DetectionCode code : {u, DetectionCode::CopyUnchanged, DetectionCode::ShiftJis}) {
        EXPECT_EQ(Preview(code, DetectionCode::Undetermined, eucMemo), eucMemo);
    }
}

TEST(PreviewText, TakenAsEucJpItReadsAsEucJp) {
    const DetectionCode u = DetectionCode::Undetermined;
    // メモ, half-width ｱ, 亜, and a line end, in EUC-JP: shown in code page 932.
    EXPECT_EQ(Preview(DetectionCode::EucJp, u, "\xA5\xE1\xA5\xE2 \x8E\xB1\xB0\xA1\n"),
              "\x83\x81\x83\x82 \xB1\x88\x9F\n");
    // Bytes that are no EUC-JP character show as 〓; a pair cut at the end is left out.
    EXPECT_EQ(Preview(DetectionCode::EucJp, u, "a\x80z\xB0"), "a\x81\xACz");
}

TEST(PreviewText, AUtf8FileReadsAsUtf8WhateverTheAction) {
    const DetectionCode utf8 = DetectionCode::Utf8;
    // A byte-order mark, メモ, ①, an emoji (no cell: 〓), and a character cut at the end.
    const std::string text =
        "\xEF\xBB\xBF\xE3\x83\xA1\xE3\x83\xA2\xE2\x91\xA0\xF0\x9F\x98\x80!\xE3\x83";
    const std::string shown = "\x83\x81\x83\x82\x87\x40\x81\xAC!";
    for (DetectionCode code : {DetectionCode::Undetermined, DetectionCode::EucJp,
                               DetectionCode::ShiftJis, DetectionCode::CopyUnchanged}) {
        EXPECT_EQ(Preview(code, utf8, text), shown) << static_cast<int>(code);
    }
    // Malformed bytes are 〓 too, one for each break.
    EXPECT_EQ(Preview(DetectionCode::Undetermined, utf8, "a\xFF\xC3z"), "a\x81\xAC\x81\xACz");
    // The first character that did not fit is named in front.
    EXPECT_EQ(Preview(DetectionCode::Undetermined, utf8, "\xF0\x9F\x98\x80", 0x1F600),
              "[U+1F600] \x81\xAC");
    EXPECT_EQ(Preview(DetectionCode::Undetermined, utf8, "x", 0xE9), "[U+00E9] x");
    EXPECT_EQ(Preview(DetectionCode::Undetermined, DetectionCode::ShiftJis, "\xF0\x40", 0xF040),
              "[0xF040] \xF0\x40");
}

TEST(RowText, FoundByItemAndColumn) {
    RowTextTable table;
    int first = 0, second = 0, unknown = 0;
    table[&first].columns[NameColumn] = "a.txt";
    table[&first].columns[ContentColumn] = "text";
    table[&second].columns[FolderColumn] = "C:\\x";
    EXPECT_STREQ(RowText(table, &first, NameColumn), "a.txt");
    EXPECT_STREQ(RowText(table, &first, ContentColumn), "text");
    EXPECT_STREQ(RowText(table, &first, FolderColumn), "");
    EXPECT_STREQ(RowText(table, &second, FolderColumn), "C:\\x");
    EXPECT_STREQ(RowText(table, &unknown, NameColumn), "");
    EXPECT_STREQ(RowText(table, &first, -1), "");
    EXPECT_STREQ(RowText(table, &first, ListColumnCount), "");
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
