#include "ui/row_list.h"

#include <algorithm>

#include "util/path.h"

namespace {

const std::u16string kNoText;

bool IsRow(const RowList& list, int row) { return row >= 0 && row < RowCount(list); }

}  // namespace

void AddRow(RowList* list, void* data) {
    list->rows.emplace_back();
    list->rows.back().data = data;
}

int RowCount(const RowList& list) { return static_cast<int>(list.rows.size()); }

const std::u16string& CellText(RowList* list, int row, int column) {
    if (!IsRow(*list, row) || column < 0 || column >= list->columns) return kNoText;
    ListRow& shown = list->rows[row];
    const auto bit = static_cast<std::uint8_t>(1u << column);
    if ((shown.known & bit) == 0) {
        shown.texts[column] = list->makeText(shown.data, column);
        shown.known |= bit;
    }
    return shown.texts[column];
}

void ForgetCells(RowList* list, int row, std::uint8_t columns) {
    if (IsRow(*list, row)) list->rows[row].known &= static_cast<std::uint8_t>(~columns);
}

void RemoveRow(RowList* list, int row) {
    if (IsRow(*list, row)) list->rows.erase(list->rows.begin() + row);
}

void SortRowList(RowList* list, int column, bool ascending, CompareTexts compare) {
    if (column < 0 || column >= list->columns) return;
    // Every text the order depends on, made once before the comparisons.
    for (int row = 0; row < RowCount(*list); row++) CellText(list, row, column);
    std::stable_sort(
        list->rows.begin(), list->rows.end(), [&](const ListRow& first, const ListRow& second) {
            int order = compare(first.texts[column].c_str(), second.texts[column].c_str());
            return ascending ? order < 0 : order > 0;
        });
}

int FindRowByPrefix(RowList* list, const std::u16string& prefix, int start, bool wrap) {
    const int count = RowCount(*list);
    if (start < 0 || start > count) start = 0;
    const int looked = wrap ? count : count - start;
    Path wanted = prefix;
    FoldAsciiToLowerCase(&wanted);
    for (int i = 0; i < looked; i++) {
        const int row = (start + i) % count;
        Path head = CellText(list, row, 0).substr(0, wanted.size());
        FoldAsciiToLowerCase(&head);
        if (head == wanted) return row;
    }
    return -1;
}

std::u16string RowCountText(std::int32_t rows) {
    const std::string digits = std::to_string(rows);
    return std::u16string(digits.begin(), digits.end()) + u" 個のﾌｧｲﾙ";
}

void NextSortOrder(std::int32_t column, std::int32_t* sortColumn, bool* ascending) {
    *ascending = column == *sortColumn ? !*ascending : true;
    *sortColumn = column;
}
