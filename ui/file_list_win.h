// The rows of the undetermined-files list view: one row per work item, its
// item data the item's pointer, its texts also kept in a RowTextTable so that
// sorting compares them without asking the list view.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "engine/work_item.h"
#include "ui/undetermined_rows.h"

// Adds the four columns and the small image list (which the list view owns),
// and turns on full-row selection and header dragging.
void PrepareFileList(HWND list, int expectedRows);
// Writes the item into the row: its shell icon (appended to the image list),
// name, folder, action and first bytes, and the item pointer as item data.
// The texts go into the table as the list view holds them. Returns the row.
int FillRow(HWND list, int row, WorkItem* item, RowTextTable* texts);
// Appends an empty row and fills it; the new row's index.
int InsertRow(HWND list, WorkItem* item, RowTextTable* texts);
// The row's item pointer; null when there is no such row.
WorkItem* GetRowItem(HWND list, int row);
// Marks the row's item with the code and refills the row.
void SetRowAction(HWND list, int row, DetectionCode code, RowTextTable* texts);
// Sorts the rows by the column's texts, case-insensitively in the user's
// locale, ascending or descending.
void SortRows(HWND list, const RowTextTable& texts, int column, bool ascending);
// Calls visit for each selected row, in index order.
template <typename Visit>
void ForEachSelectedRow(HWND list, Visit visit) {
    int row = -1;
    while ((row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) !=
           -1) {
        visit(row);
    }
}
