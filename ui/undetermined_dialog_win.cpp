#include "ui/undetermined_dialog_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "engine/convert_item_win.h"
#include "res/resource.h"
#include "ui/about_dialog_win.h"
#include "ui/app_window_win.h"
#include "ui/busy_window_win.h"
#include "ui/file_list_win.h"
#include "ui/geometry_win.h"
#include "ui/shell_open_win.h"
#include "util/text.h"

namespace {

constexpr char kCountFormat[] = "%d 個のﾌｧｲﾙ";
constexpr int kCountCapacity = 260;
constexpr int kLaidOutControls = 4;

// What the dialog keeps while it lives. Only one such dialog exists at a
// time (it is modal and shown once per run), so this lives here.
struct ListDialogState {
    bool initialised;  // the controls exist and lastClient is the size they fit
    bool executing;    // the marks are being carried out
    SIZE lastClient;
    SIZE minimumTrack;
    RowTextTable texts;
};
ListDialogState g_dialog;

UndeterminedFilesParam* DialogParam(HWND dialog) {
    return static_cast<UndeterminedFilesParam*>(
        GetPropA(dialog, kPropUndeterminedFilesHistoricName));
}

HWND FileList(HWND dialog) { return GetDlgItem(dialog, IDC_FILE_LIST); }

std::int32_t CountListed(void* element, std::int32_t, void* count) {
    if (!IsDecidedCode(static_cast<const WorkItem*>(element)->code)) ++*static_cast<int*>(count);
    return 1;
}

std::int32_t ListItem(void* element, std::int32_t, void* list) {
    auto* item = static_cast<WorkItem*>(element);
    if (!IsDecidedCode(item->code)) InsertRow(static_cast<HWND>(list), item, &g_dialog.texts);
    return 1;
}

void Sort(HWND dialog) {
    const Settings* settings = DialogParam(dialog)->settings;
    SortRows(FileList(dialog), g_dialog.texts, settings->listSortColumn,
             settings->listSortAscending);
}

BOOL OnInitDialog(HWND dialog, UndeterminedFilesParam* param) {
    SetPropA(dialog, kPropUndeterminedFilesHistoricName, param);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    SetWindowIcon(dialog, ICON_BIG, GetExecutableIcon(instance, 0));
    SetWindowIcon(dialog, ICON_SMALL, GetExecutableIcon(instance, 1));

    // The template's size is the base of every layout and the smallest the
    // user can make the dialog.
    RECT client{};
    GetClientRect(dialog, &client);
    g_dialog.lastClient = SIZE{client.right, client.bottom};
    g_dialog.minimumTrack = SIZE{GetWindowWidth(dialog), GetWindowHeight(dialog)};
    g_dialog.executing = false;
    g_dialog.initialised = true;
    ResizeWindowTo(dialog, param->settings->listDialogWidth, param->settings->listDialogHeight);
    PlaceWindowAtCursor(dialog);

    HWND list = FileList(dialog);
    int listed = 0;
    PtrListForEach(param->workList, true, CountListed, &listed);
    PrepareFileList(list, listed);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    // One pass along the list, in its order: walking it by index would start
    // from its head for every item.
    PtrListForEach(param->workList, true, ListItem, list);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    Sort(dialog);

    char count[kCountCapacity];
    FormatBounded(count, sizeof count, kCountFormat,
                  static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
    SetDlgItemTextA(dialog, IDC_FILE_COUNT, count);
    return TRUE;
}

// The list takes all the room the dialog gains; the buttons keep to the
// bottom right corner and the counter to the bottom. The texts at the top
// stay where they are.
BOOL OnSize(HWND dialog, WPARAM kind, LPARAM size) {
    // Minimised, the client area is empty: nothing to lay out, and restoring
    // then finds the controls as they were.
    if (kind == SIZE_MINIMIZED || !g_dialog.initialised) return TRUE;
    HDWP batch = BeginDeferWindowPos(kLaidOutControls);
    if (batch == nullptr) return TRUE;
    const int width = LOWORD(size);
    const int height = HIWORD(size);
    const int dx = width - g_dialog.lastClient.cx;
    const int dy = height - g_dialog.lastClient.cy;
    DeferMoveResizeItemBy(&batch, dialog, IDC_FILE_LIST, 0, 0, dx, dy);
    DeferMoveResizeItemBy(&batch, dialog, IDOK, dx, dy, 0, 0);
    DeferMoveResizeItemBy(&batch, dialog, IDCANCEL, dx, dy, 0, 0);
    DeferMoveResizeItemBy(&batch, dialog, IDC_FILE_COUNT, 0, dy, dx, 0);
    // A batch that failed on the way moved nothing: keep the old base, so the
    // next size catches up instead of leaving the controls out of step.
    if (EndDeferWindowPos(batch)) g_dialog.lastClient = SIZE{width, height};
    return TRUE;
}

BOOL OnGetMinMaxInfo(LPARAM lParam) {
    // Asked before the dialog is initialised too; the system's limits hold then.
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info == nullptr || !g_dialog.initialised) return FALSE;
    info->ptMinTrackSize = POINT{g_dialog.minimumTrack.cx, g_dialog.minimumTrack.cy};
    return TRUE;
}

void OnColumnClick(HWND dialog, int column) {
    Settings* settings = DialogParam(dialog)->settings;
    settings->listSortAscending =
        column == settings->listSortColumn ? !settings->listSortAscending : true;
    settings->listSortColumn = column;
    Sort(dialog);
}

// The rows' menu, at the mouse pointer. Its commands come back to the dialog.
void ShowRowMenu(HWND dialog) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ROW_MENU));
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

BOOL OnNotify(HWND dialog, WPARAM control, LPARAM lParam) {
    if (control != IDC_FILE_LIST) return FALSE;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
        case LVN_COLUMNCLICK:
            OnColumnClick(dialog, reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
            return TRUE;
        case NM_RCLICK:
            ShowRowMenu(dialog);
            return TRUE;
        case NM_DBLCLK:
            SendMessageA(dialog, WM_COMMAND, IDM_OPEN, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

// Hands every row's item to the engine, in the order shown, converting both
// ways, with the tray icon up while it works.
void Execute(HWND dialog) {
    // The busy window's end dispatches whatever queued up meanwhile; a second
    // Execute among it would convert files rewritten in place once more.
    if (g_dialog.executing) return;
    g_dialog.executing = true;
    const bool keep = DialogParam(dialog)->settings->keepOverwrittenInRecycleBin;
    ShowWindow(dialog, SW_HIDE);
    HWND busy = CreateBusyWindow(GetModuleHandleA(nullptr), kBusyTip);
    HWND list = FileList(dialog);
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; row++) {
        // Rows left on "ignore" carry Undetermined, which the engine skips.
        WorkItem* item = GetRowItem(list, row);
        if (item != nullptr) ProcessWorkItem(item, ConversionMask::BothWays, keep);
    }
    DestroyBusyWindow(busy);
    EndDialog(dialog, IDOK);
}

void MarkSelectedRows(HWND dialog, int command) {
    HWND list = FileList(dialog);
    DetectionCode code = ActionCodeForCommand(command);
    // One repaint for all the rows, however many are selected.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ForEachSelectedRow(list, [&](int row) { SetRowAction(list, row, code, &g_dialog.texts); });
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

void OpenSelectedFiles(HWND dialog) {
    HWND list = FileList(dialog);
    ForEachSelectedRow(list, [&](int row) {
        WorkItem* item = GetRowItem(list, row);
        if (item == nullptr) return;
        ShellExecuteA(dialog, nullptr, item->sourcePath, nullptr, nullptr, SW_SHOWNORMAL);
    });
}

void OpenSelectedFolders(HWND dialog) {
    HWND list = FileList(dialog);
    ForEachSelectedRow(list, [&](int row) {
        WorkItem* item = GetRowItem(list, row);
        if (item != nullptr) OpenFolderOf(dialog, item->sourcePath, SW_SHOWNORMAL);
    });
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
        case IDOK:
            Execute(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDM_MARK_EUC_JP:
        case IDM_MARK_SHIFT_JIS:
        case IDM_MARK_COPY:
        case IDM_MARK_IGNORE:
            MarkSelectedRows(dialog, id);
            return TRUE;
        case IDM_ABOUT: {
            // A box already open is brought forward rather than opened twice.
            const SupportSiteInfo site{kSupportSiteAddress};
            ShowAboutDialog(dialog, &site);
            return TRUE;
        }
        case IDM_OPEN:
            OpenSelectedFiles(dialog);
            return TRUE;
        case IDM_OPEN_FOLDER:
            OpenSelectedFolders(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

void OnDestroy(HWND dialog) {
    auto* param = static_cast<UndeterminedFilesParam*>(
        RemovePropA(dialog, kPropUndeterminedFilesHistoricName));
    if (param != nullptr) {
        // The restored size, also when the dialog is maximised or minimised.
        param->settings->listDialogWidth = GetNormalWindowWidth(dialog);
        param->settings->listDialogHeight = GetNormalWindowHeight(dialog);
    }
    DestroyTitleBarIcons(dialog);
    g_dialog.initialised = false;
    // Gives the table's memory back, not only its rows.
    RowTextTable().swap(g_dialog.texts);
}

}  // namespace

static INT_PTR CALLBACK UndeterminedFilesDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<UndeterminedFilesParam*>(lParam));
        case WM_SIZE:
            return OnSize(dialog, wParam, lParam);
        case WM_GETMINMAXINFO:
            return OnGetMinMaxInfo(lParam);
        case WM_NOTIFY:
            return OnNotify(dialog, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        case WM_DESTROY:
            OnDestroy(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

bool ShowUndeterminedFilesDialog(HWND owner, Settings* settings, WorkList* workList) {
    if (!HasUndecidedItems(workList)) return true;
    UndeterminedFilesParam param{settings, workList};
    INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_UNDETERMINED_FILES), owner,
                        UndeterminedFilesDialogProc, reinterpret_cast<LPARAM>(&param));
    return result == IDOK;
}
