#include "ui/list_dialog_win.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/shell_open_win.h"

namespace {

// The dialog's ListDialog, for the dialog's lifetime.
constexpr wchar_t kPropListDialog[] = L"PROP_LISTDIALOG";

ListDialog* State(HWND dialog) {
    return static_cast<ListDialog*>(GetPropW(dialog, kPropListDialog));
}

void Sort(HWND dialog, ListDialog* list) {
    SortShownRows(RowListView(dialog), &list->rows, *list->sortColumn, *list->sortAscending);
}

BOOL OnInitDialog(HWND dialog, ListDialog* list) {
    SetPropW(dialog, kPropListDialog, list);
    SetPropW(dialog, list->use->property, list->param);
    list->acting = false;
    StartDialogFrame(&list->frame, dialog, *list->width, *list->height);
    HWND view = RowListView(dialog);
    PrepareRowListView(view, list->use->columns, list->use->columnCount);
    ShowRows(view, list->rows);
    Sort(dialog, list);
    ShowRowCount(GetDlgItem(dialog, IDC_FILE_COUNT), list->rows);
    if (list->use->start != nullptr) list->use->start(dialog, list);
    return TRUE;
}

void ShowRowMenu(HWND dialog, int menuId) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    if (menu == nullptr) return;
    HMENU popup = GetSubMenu(menu, 0);
    SetMenuDefaultItem(popup, IDM_OPEN, FALSE);
    POINT at{};
    if (GetCursorPos(&at)) {
        SetForegroundWindow(dialog);
        TrackPopupMenuEx(popup, TPM_RIGHTBUTTON, at.x, at.y, dialog, nullptr);
    }
    DestroyMenu(menu);
}

bool IsCtrlA(const NMLVKEYDOWN* key) {
    return key->wVKey == 'A' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
}

// A notification's answer goes back through DWLP_MSGRESULT.
BOOL Answer(HWND dialog, LONG_PTR result) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

BOOL OnNotify(HWND dialog, ListDialog* list, WPARAM control, LPARAM lParam) {
    if (control != IDC_FILE_LIST) return FALSE;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
        case LVN_GETDISPINFOW:
            AnswerDisplayInfo(&list->rows, reinterpret_cast<NMLVDISPINFOW*>(lParam),
                              list->use->path, &list->icons);
            return TRUE;
        case LVN_ODFINDITEMW:
            return Answer(dialog, AnswerFindItem(&list->rows,
                                                 reinterpret_cast<const NMLVFINDITEMW*>(lParam)));
        case LVN_KEYDOWN:
            if (IsCtrlA(reinterpret_cast<const NMLVKEYDOWN*>(lParam))) {
                SelectAllRows(header->hwndFrom);
            }
            return TRUE;
        case LVN_COLUMNCLICK:
            NextSortOrder(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem, list->sortColumn,
                          list->sortAscending);
            Sort(dialog, list);
            return TRUE;
        case NM_RCLICK:
            ShowRowMenu(dialog, list->use->menuId);
            return TRUE;
        case NM_DBLCLK:
            SendMessageW(dialog, WM_COMMAND, IDM_OPEN, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

// "開く" and "フォルダを開く": the shell opens each selected row's file, or the
// folder that holds it.
void OpenSelected(HWND dialog, ListDialog* list, bool folders) {
    ForEachSelectedRow(RowListView(dialog), RowCount(list->rows), [&](int row) {
        const PathChar* path = list->use->path(list->rows.rows[row].data);
        if (folders) {
            OpenFolderOf(dialog, path, SW_SHOWNORMAL);
        } else {
            OpenWithShell(dialog, path, SW_SHOWNORMAL);
        }
    });
}

BOOL OnCommand(HWND dialog, ListDialog* list, int id) {
    switch (id) {
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDM_OPEN:
        case IDM_OPEN_FOLDER:
            OpenSelected(dialog, list, id == IDM_OPEN_FOLDER);
            return TRUE;
        default:
            return list->use->command(dialog, list, id);
    }
}

void OnDestroy(HWND dialog, ListDialog* list) {
    RemovePropW(dialog, kPropListDialog);
    RemovePropW(dialog, list->use->property);
    EndDialogFrame(&list->frame, dialog, list->width, list->height);
}

INT_PTR CALLBACK ListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog(dialog, reinterpret_cast<ListDialog*>(lParam));
    // Nothing before WM_INITDIALOG, nor after WM_DESTROY (the list view
    // still notifies while it is destroyed).
    ListDialog* list = State(dialog);
    if (list == nullptr) return FALSE;
    switch (message) {
        case WM_SIZE:
            return FollowFrame(&list->frame, dialog, wParam, lParam, list->use->anchors,
                               list->use->anchorCount);
        case WM_GETMINMAXINFO:
            return AnswerFrameMinimum(list->frame, lParam);
        case WM_NOTIFY:
            return OnNotify(dialog, list, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(dialog, list, LOWORD(wParam));
        case WM_DESTROY:
            OnDestroy(dialog, list);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void StartRows(ListDialog* list) {
    list->rows.columns = list->use->columnCount;
    list->rows.makeText = list->use->cellText;
}

INT_PTR RunListDialog(HWND owner, ListDialog* list) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(list->use->templateId),
                           owner, ListDialogProc, reinterpret_cast<LPARAM>(list));
}

HWND RowListView(HWND dialog) { return GetDlgItem(dialog, IDC_FILE_LIST); }

void ShowChangedRows(HWND dialog, const ListDialog& list) {
    InvalidateRect(RowListView(dialog), nullptr, FALSE);
    ShowRowCount(GetDlgItem(dialog, IDC_FILE_COUNT), list.rows);
}
