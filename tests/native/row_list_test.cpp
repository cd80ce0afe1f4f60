// The rows a file list keeps itself: texts made only when asked for and made
// anew once forgotten, sorting both ways with equal rows kept in order,
// finding a row by the first letters of its name, the count line and the
// order a click on a heading gives.
#include "ui/row_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct File {
    std::u16string name;
    std::u16string kind;
    int made[2];  // how often each column's text was made
};

std::u16string MakeText(const void* data, int column) {
    auto* file = static_cast<File*>(const_cast<void*>(data));
    file->made[column]++;
    return column == 0 ? file->name : file->kind;
}

int CompareExactly(const char16_t* first, const char16_t* second) {
    return std::u16string(first).compare(second);
}

RowList ListOf(std::vector<File>* files) {
    RowList list;
    list.columns = 2;
    list.makeText = MakeText;
    for (File& file : *files) AddRow(&list, &file);
    return list;
}

std::vector<std::u16string> Names(RowList* list) {
    std::vector<std::u16string> names;
    for (int row = 0; row < RowCount(*list); row++) names.push_back(CellText(list, row, 0));
    return names;
}

TEST(RowList, TextsAreMadeWhenAskedAndAgainOnceForgotten) {
    std::vector<File> files{{u"b.txt", u"x", {}}, {u"a.txt", u"y", {}}};
    RowList list = ListOf(&files);
    EXPECT_EQ(files[0].made[0] + files[1].made[0], 0);
    EXPECT_EQ(CellText(&list, 0, 0), u"b.txt");
    EXPECT_EQ(CellText(&list, 0, 0), u"b.txt");
    EXPECT_EQ(files[0].made[0], 1);
    files[0].name = u"c.txt";
    EXPECT_EQ(CellText(&list, 0, 0), u"b.txt");
    ForgetCells(&list, 0, 1u << 1);
    EXPECT_EQ(CellText(&list, 0, 0), u"b.txt");
    ForgetCells(&list, 0, kAllColumns);
    EXPECT_EQ(CellText(&list, 0, 0), u"c.txt");
    EXPECT_EQ(files[0].made[0], 2);
    EXPECT_EQ(files[0].made[1], 0);
    EXPECT_EQ(CellText(&list, 2, 0), u"");
    EXPECT_EQ(CellText(&list, 0, 2), u"");
    RemoveRow(&list, 0);
    EXPECT_EQ(Names(&list), (std::vector<std::u16string>{u"a.txt"}));
}

TEST(RowList, SortsByAColumnBothWaysKeepingEqualRowsInOrder) {
    struct Case {
        int column;
        bool ascending;
        std::vector<std::u16string> names;
    };
    const Case cases[] = {
        {0, true, {u"a", u"b", u"c", u"d"}}, {0, false, {u"d", u"c", u"b", u"a"}},
        {1, true, {u"b", u"c", u"a", u"d"}}, {1, false, {u"a", u"d", u"b", u"c"}},
        {2, true, {u"b", u"a", u"c", u"d"}},  // no such column: as they were
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.column << " ascending " << c.ascending);
        std::vector<File> files{
            {u"b", u"x", {}}, {u"a", u"y", {}}, {u"c", u"x", {}}, {u"d", u"y", {}}};
        RowList list = ListOf(&files);
        SortRowList(&list, c.column, c.ascending, CompareExactly);
        EXPECT_EQ(Names(&list), c.names);
    }
}

TEST(RowList, FindsARowByTheFirstLettersOfItsName) {
    struct Case {
        const char16_t* prefix;
        int start;
        bool wrap;
        int row;
    };
    const Case cases[] = {
        {u"ap", 0, true, 0},   {u"ap", 1, true, 2},        {u"AP", 3, true, 0},
        {u"ap", 3, false, -1}, {u"b", 2, false, 3},        {u"z", 0, true, -1},
        {u"", 1, true, 1},     {u"apple.txt", 4, true, 0}, {u"apple.txt_", 0, true, -1},
    };
    std::vector<File> files{{u"Apple.txt", u"", {}},
                            {u"banana.txt", u"", {}},
                            {u"apricot.txt", u"", {}},
                            {u"Berry.txt", u"", {}}};
    RowList list = ListOf(&files);
    for (const Case& c : cases) {
        EXPECT_EQ(FindRowByPrefix(&list, c.prefix, c.start, c.wrap), c.row)
            << "from " << c.start << (c.wrap ? " with wrap" : "");
    }
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
