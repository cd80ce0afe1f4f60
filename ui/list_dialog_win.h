// The one dialog behind the program's file lists (the review of undecided
// files, the list of files that could not be written): a resizable dialog
// whose list view shows a RowList as a virtual list. It keeps the habits both
// lists share: the frame that remembers its size, sorting by a click on a
// heading (again: the other way), the rows' menu on a right click, the
// selected files opened on a double click or from the menu ("開く",
// "フォルダを開く"), Ctrl+A selecting every row, and typing a file name's
// first letters to reach it. Each list adds its own commands.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/dialog_frame_win.h"
#include "ui/row_list.h"
#include "ui/row_list_view_win.h"
#include "ui/type_icon_win.h"

struct ListDialog;

// What one list adds to the shared dialog. Its template holds the list view
// as IDC_FILE_LIST (LVS_OWNERDATA, LVS_SHAREIMAGELISTS) and the counter as
// IDC_FILE_COUNT.
struct ListDialogUse {
    int templateId;
    const wchar_t* property;  // the window property that holds the caller's parameter
    const ColumnHeading* columns;
    int columnCount;
    MakeCellText cellText;
    const FrameAnchor* anchors;
    int anchorCount;
    int menuId;    // the rows' menu
    RowPath path;  // the file a row opens; its type gives the row's icon
    // Once the dialog is set up, before it shows; may be null.
    void (*start)(HWND dialog, ListDialog* list);
    // The list's own commands; FALSE for one it does not know.
    BOOL (*command)(HWND dialog, ListDialog* list, int id);
};

// One open list dialog. The caller fills the first fields and the rows'
// records; the dialog keeps the rest while it lives.
struct ListDialog {
    const ListDialogUse* use;
    void* param;          // the caller's, in the use's window property
    std::int32_t* width;  // where the restored outer size goes when it closes
    std::int32_t* height;
    std::int32_t* sortColumn;  // the order the rows are shown in
    bool* sortAscending;
    RowList rows;

    DialogFrame frame{};
    bool acting = false;  // one of the list's own commands is running
    TypeIconCache icons;
};

// Starts the list with the use's columns, for AddRow.
void StartRows(ListDialog* list);
// Runs the dialog modally; the dialog's result (-1 when it could not be
// created).
INT_PTR RunListDialog(HWND owner, ListDialog* list);
HWND RowListView(HWND dialog);
// After a command changed rows (ForgetCells, DeleteShownRow): redraws the
// list once and shows the count.
void ShowChangedRows(HWND dialog, const ListDialog& list);
