// The list views of files the program shows: the review of undecided files
// and the list of files that could not be written. One row per file, its
// item data a pointer to the caller's record of the file, its texts also
// kept in a RowTextTable so that sorting compares them without asking the
// list view. The review's rows are work items with the columns of
// undetermined_rows.h.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "engine/work_item.h"
#include "ui/undetermined_rows.h"

// A column's heading and its width in pixels when the list is made.
struct ColumnHeading {
    const wchar_t* text;
    int width;
};

// Adds the columns (at most ListColumnCount) and the small image list (which
// the list view owns), and turns on full-row selection and header dragging.
void PrepareRowList(HWND list, int expectedRows, const ColumnHeading* columns, int count);
// Appends an empty row; the new row's index, or -1.
int AppendRow(HWND list);
// Writes the row: the shell's icon of the file at iconPath (appended to the
// image list), the texts of the first count columns, and data as item data.
// The texts go into the table, under data, as the list view holds them.
void FillRowTexts(HWND list, int row, void* data, const PathChar* iconPath,
                  const char16_t* const* texts, int count, RowTextTable* table);
// The row's item data; null when there is no such row.
void* GetRowData(HWND list, int row);
// Removes the row and its texts from the table.
void DeleteRow(HWND list, int row, RowTextTable* table);
// Sorts the rows by the column's texts, case-insensitively in the user's
// locale, ascending or descending.
void SortRows(HWND list, const RowTextTable& texts, int column, bool ascending);

// "3 個のﾌｧｲﾙ": how many rows the list holds, in the label.
void ShowRowCount(HWND label, HWND list);

// The path a row's file is opened by, from the row's item data.
using RowPath = const PathChar* (*)(const void* data);
// The rows' menu (the first popup of the menu resource) at the mouse pointer,
// "開く" its default. Its commands come back to the dialog.
void ShowRowMenu(HWND dialog, int menuId);

// How the list dialogs answer the list's notifications: a click on a
// heading sorts by that column (again: the other way), a right click shows
// the rows' menu, a double click opens the selected files. FALSE for other
// notifications.
struct RowListHabits {
    const RowTextTable* texts;
    std::int32_t* sortColumn;
    bool* sortAscending;
    int menuId;
};
BOOL AnswerRowListNotify(HWND dialog, LPARAM lParam, const RowListHabits& habits);
// The rows' menu's "開く" and "フォルダを開く": the shell opens the selected
// rows' files, or the folders that hold them. False for any other command.
bool AnswerOpenCommand(HWND dialog, HWND list, int command, RowPath path);

// The review's rows.
// Adds the review's four columns.
void PrepareFileList(HWND list, int expectedRows);
// Writes the item into the row: its shell icon, name, folder, action and
// first bytes, and the item pointer as item data. Returns the row.
int FillRow(HWND list, int row, WorkItem* item, RowTextTable* texts);
// Appends an empty row and fills it; the new row's index.
int InsertRow(HWND list, WorkItem* item, RowTextTable* texts);
// The row's item pointer; null when there is no such row.
WorkItem* GetRowItem(HWND list, int row);
// Marks the row's item with the code and refills the row.
void SetRowAction(HWND list, int row, DetectionCode code, RowTextTable* texts);
// Calls visit for each selected row, in index order.
template <typename Visit>
void ForEachSelectedRow(HWND list, Visit visit) {
    int row = -1;
    while ((row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) !=
           -1) {
        visit(row);
    }
}
