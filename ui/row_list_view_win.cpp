#include "ui/row_list_view_win.h"

#include "util/path_win.h"

namespace {

int CompareInLocale(const char16_t* first, const char16_t* second) {
    return lstrcmpiW(WideText(first), WideText(second));
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item{};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Where the row of this record is now; -1 when there is none.
int RowOf(const RowList& rows, const void* data) {
    if (data == nullptr) return -1;
    for (int row = 0; row < RowCount(rows); row++) {
        if (rows.rows[row].data == data) return row;
    }
    return -1;
}

void* DataOf(const RowList& rows, int row) {
    return row >= 0 && row < RowCount(rows) ? rows.rows[row].data : nullptr;
}

}  // namespace

void PrepareRowListView(HWND list, const ColumnHeading* columns, int count) {
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(SystemSmallIcons()));
    LPARAM extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    extended |= LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    if (count > kMaxRowColumns) count = kMaxRowColumns;
    for (int i = 0; i < count; i++) {
        LVCOLUMNW column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = columns[i].width;
        column.pszText = const_cast<wchar_t*>(columns[i].text);
        column.iSubItem = i;
        SendMessageW(list, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

void ShowRows(HWND list, const RowList& rows) {
    SendMessageW(list, LVM_SETITEMCOUNT, RowCount(rows), 0);
}

void AnswerDisplayInfo(RowList* rows, NMLVDISPINFOW* info, RowPath iconPath, TypeIconCache* icons) {
    LVITEMW& item = info->item;
    if (item.iItem < 0 || item.iItem >= RowCount(*rows)) return;
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
        const std::u16string& text = CellText(rows, item.iItem, item.iSubItem);
        lstrcpynW(item.pszText, WideText(text.c_str()), item.cchTextMax);
    }
    if ((item.mask & LVIF_IMAGE) != 0) {
        ListRow& row = rows->rows[item.iItem];
        if (row.image < 0) row.image = TypeIconIndex(iconPath(row.data), icons);
        item.iImage = row.image;
    }
}

int AnswerFindItem(RowList* rows, const NMLVFINDITEMW* find) {
    if ((find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || find->lvfi.psz == nullptr) {
        return -1;
    }
    return FindRowByPrefix(rows, PathFromWide(find->lvfi.psz), find->iStart,
                           (find->lvfi.flags & LVFI_WRAP) != 0);
}

void SortShownRows(HWND list, RowList* rows, int column, bool ascending) {
    const int count = RowCount(*rows);
    const int selected = static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0));
    // With none or all of them selected, the selection is the same after.
    const bool carry = selected > 0 && selected < count;
    for (ListRow& row : rows->rows) row.selected = false;
    if (carry) {
        ForEachSelectedRow(list, count, [&](int row) { rows->rows[row].selected = true; });
    }
    void* focused =
        DataOf(*rows, static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                                    LVNI_FOCUSED)));
    void* mark = DataOf(*rows, static_cast<int>(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0)));
    SortRowList(rows, column, ascending, CompareInLocale);
    if (carry) {
        SetRowState(list, -1, 0, LVIS_SELECTED);
        for (int row = 0; row < count; row++) {
            if (rows->rows[row].selected) SetRowState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    const int focusedRow = RowOf(*rows, focused);
    if (focusedRow >= 0) SetRowState(list, focusedRow, LVIS_FOCUSED, LVIS_FOCUSED);
    const int markRow = RowOf(*rows, mark);
    if (markRow >= 0) SendMessageW(list, LVM_SETSELECTIONMARK, 0, markRow);
    InvalidateRect(list, nullptr, FALSE);
}

void DeleteShownRow(HWND list, RowList* rows, int row) {
    RemoveRow(rows, row);
    SendMessageW(list, LVM_DELETEITEM, row, 0);
}

void SelectAllRows(HWND list) { SetRowState(list, -1, LVIS_SELECTED, LVIS_SELECTED); }

void ShowRowCount(HWND label, const RowList& rows) {
    SetWindowTextW(label, WideText(RowCountText(RowCount(rows)).c_str()));
}
