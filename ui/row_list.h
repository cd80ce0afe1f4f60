// The rows of a file list, kept by the program itself rather than by the list
// view: one row per file, a pointer to the caller's record of it and the
// texts its columns show. A text is made when it is first asked for (the
// list view asks only for the rows it shows) and made anew after the caller
// says that it changed, so a list of tens of thousands of files opens without
// reading any of them. Sorting sorts the rows themselves.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A list shows at most this many columns.
constexpr int kMaxRowColumns = 4;
// Every column of a row, for ForgetCells.
constexpr std::uint8_t kAllColumns = (1u << kMaxRowColumns) - 1;

// The text a row shows in a column, made from the caller's record.
using MakeCellText = std::u16string (*)(const void* data, int column);
// Compares two texts as the user's locale sorts them: negative, 0 or positive.
using CompareTexts = int (*)(const char16_t* first, const char16_t* second);

struct ListRow {
    void* data;
    std::array<std::u16string, kMaxRowColumns> texts;
    std::uint8_t known = 0;  // bit c: texts[c] is what the row shows now
    int image = -1;          // the row's icon, -1 while not looked up
    // Set by the list view's side just before a sort, so that the selection
    // and the focus can follow their rows.
    bool selected = false;
    bool focused = false;
};

struct RowList {
    std::vector<ListRow> rows;
    int columns = 0;
    MakeCellText makeText = nullptr;
};

void AddRow(RowList* list, void* data);
int RowCount(const RowList& list);
// The row's text in the column, made now when it is not known; empty for a
// row or a column outside the list.
const std::u16string& CellText(RowList* list, int row, int column);
// The caller's record changed: the columns in the mask are made anew when
// next asked for.
void ForgetCells(RowList* list, int row, std::uint8_t columns);
void RemoveRow(RowList* list, int row);
// Sorts the rows by the column's texts, ascending or descending. Rows whose
// texts compare equal keep their order.
void SortRowList(RowList* list, int column, bool ascending, CompareTexts compare);
// The first row from start on (then from the top, with wrap) whose text in
// the first column begins with prefix, letter case aside (ASCII); -1 when
// none does. A user types the first letters of a file name to reach it.
int FindRowByPrefix(RowList* list, const std::u16string& prefix, int start, bool wrap);

// "3 個のﾌｧｲﾙ": how many rows a list holds, as its label says it.
std::u16string RowCountText(std::int32_t rows);
// A click on a column's heading: the column sorted by again is reversed,
// another one sorts ascending.
void NextSortOrder(std::int32_t column, std::int32_t* sortColumn, bool* ascending);
