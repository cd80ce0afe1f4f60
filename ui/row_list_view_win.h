// A list view that shows a RowList (ui/row_list.h) as a virtual list
// (LVS_OWNERDATA in the dialog's template): the list view holds only the
// number of rows and which are selected, and asks for the texts and icons
// of the rows it shows. The icons are the shell's by file type, from the
// system's image list (the template's LVS_SHAREIMAGELISTS keeps the list
// view from destroying it).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "ui/row_list.h"
#include "ui/type_icon_win.h"
#include "util/path.h"

// A column's heading and its width in pixels when the list is made.
struct ColumnHeading {
    const wchar_t* text;
    int width;
};

// The file whose type gives a row its icon, from the row's record.
using RowPath = const PathChar* (*)(const void* data);

// Adds the columns (at most kMaxRowColumns) and the system's small icons,
// and turns on full-row selection and header dragging.
void PrepareRowListView(HWND list, const ColumnHeading* columns, int count);
// Tells the list view how many rows there are; it redraws them all.
void ShowRows(HWND list, const RowList& rows);
// LVN_GETDISPINFOW: the text and the icon of the row the list view shows.
void AnswerDisplayInfo(RowList* rows, NMLVDISPINFOW* info, RowPath iconPath, TypeIconCache* icons);
// LVN_ODFINDITEMW: the row whose file name begins with what the user typed,
// or -1.
int AnswerFindItem(RowList* rows, const NMLVFINDITEMW* find);
// Sorts the rows by the column; the selected rows, the focused one and the
// start of a Shift selection stay on their files.
void SortShownRows(HWND list, RowList* rows, int column, bool ascending);
// Removes the row and its place in the list view (the rows after it move up
// with their selection).
void DeleteShownRow(HWND list, RowList* rows, int row);
// Selects every row (Ctrl+A).
void SelectAllRows(HWND list);
// "3 個のﾌｧｲﾙ": how many rows the list holds, in the label.
void ShowRowCount(HWND label, const RowList& rows);

// Calls visit for each selected row among the first rows, in index order.
template <typename Visit>
void ForEachSelectedRow(HWND list, int rows, Visit visit) {
    // Every row selected (Ctrl+A, say): no need to ask the list view for each.
    if (SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0) >= rows) {
        for (int row = 0; row < rows; row++) visit(row);
        return;
    }
    int row = -1;
    while ((row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, row, LVNI_SELECTED))) !=
               -1 &&
           row < rows) {
        visit(row);
    }
}
