// What the undetermined-files list shows for a code and for a file's first
// bytes, and how its table of row texts answers.
#include "ui/undetermined_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"

namespace {

TEST(ActionText, EachMarkShowsWhatExecuteWillDo) {
    EXPECT_STREQ(ActionText(Undetermined), "無視する");
    EXPECT_STREQ(ActionText(EucJp), "Shift-JIS へ変換する");
    EXPECT_STREQ(ActionText(ShiftJis), "日本語EUC へ変換する");
    EXPECT_STREQ(ActionText(CopyUnchanged), "コピーする");
    // Codes no row is marked with read as ignored.
    EXPECT_STREQ(ActionText(Directory), "無視する");
    EXPECT_STREQ(ActionText(Iso2022Jp), "無視する");
    EXPECT_STREQ(ActionText(0), "無視する");
}

TEST(ActionCodeForCommand, MenuCommandsMarkTheOtherEncoding) {
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_EUC_JP), EucJp);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_SHIFT_JIS), ShiftJis);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_COPY), CopyUnchanged);
    EXPECT_EQ(ActionCodeForCommand(IDM_MARK_IGNORE), Undetermined);
    EXPECT_EQ(ActionCodeForCommand(IDM_OPEN), Undetermined);
    // The text a mark shows is the action the command names.
    EXPECT_STREQ(ActionText(ActionCodeForCommand(IDM_MARK_EUC_JP)), "Shift-JIS へ変換する");
    EXPECT_STREQ(ActionText(ActionCodeForCommand(IDM_MARK_SHIFT_JIS)), "日本語EUC へ変換する");
}

TEST(MakePreviewText, ZeroBytesBecomeFFAndTheTextEndsAfterTheCount) {
    char bytes[kPreviewBytes + 1];
    std::string read("\0a\0\0b", 5);
    read.copy(bytes, read.size());
    bytes[5] = 'z';  // beyond what was read
    MakePreviewText(bytes, 5);
    EXPECT_EQ(std::string(bytes), std::string("\xFF"
                                              "a\xFF\xFF"
                                              "b"));

    MakePreviewText(bytes, 0);
    EXPECT_STREQ(bytes, "");

    std::string full(kPreviewBytes, '\0');
    full.copy(bytes, full.size());
    MakePreviewText(bytes, kPreviewBytes);
    EXPECT_EQ(std::string(bytes), std::string(kPreviewBytes, '\xFF'));
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
