#include "ui/undetermined_dialog_win.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/about_dialog_win.h"
#include "ui/app_window_win.h"
#include "ui/dialog_frame_win.h"
#include "ui/file_list_win.h"
#include "ui/geometry_win.h"

namespace {

// The list takes all the room the dialog gains; the buttons keep to the
// bottom right corner and the counter to the bottom. The texts at the top
// stay where they are.
const FrameAnchor kAnchors[] = {
    {IDC_FILE_LIST, 0, 0, 1, 1},
    {IDOK, 1, 1, 0, 0},
    {IDCANCEL, 1, 1, 0, 0},
    {IDC_FILE_COUNT, 0, 1, 1, 0},
};

// What the dialog keeps while it lives. Only one such dialog exists at a
// time (it is modal and shown once per run), so this lives here.
struct ListDialogState {
    DialogFrame frame;
    bool executing;      // the marks are being carried out
    Settings* settings;  // the caller's, while the dialog lives
    RowTextTable texts;
};
ListDialogState g_dialog;

UndeterminedFilesParam* DialogParam(HWND dialog) {
    return static_cast<UndeterminedFilesParam*>(
        GetPropW(dialog, kPropUndeterminedFilesHistoricName));
}

HWND FileList(HWND dialog) { return GetDlgItem(dialog, IDC_FILE_LIST); }

std::int32_t CountListed(void* element, std::int32_t, void* count) {
    if (IsForReview(static_cast<const WorkItem*>(element))) ++*static_cast<int*>(count);
    return 1;
}

std::int32_t ListItem(void* element, std::int32_t, void* list) {
    auto* item = static_cast<WorkItem*>(element);
    if (IsForReview(item)) InsertRow(static_cast<HWND>(list), item, &g_dialog.texts);
    return 1;
}

void Sort(HWND dialog) {
    const Settings* settings = DialogParam(dialog)->settings;
    SortRows(FileList(dialog), g_dialog.texts, settings->listSortColumn,
             settings->listSortAscending);
}

BOOL OnInitDialog(HWND dialog, UndeterminedFilesParam* param) {
    SetPropW(dialog, kPropUndeterminedFilesHistoricName, param);
    g_dialog.executing = false;
    g_dialog.settings = param->settings;
    StartDialogFrame(&g_dialog.frame, dialog, param->settings->listDialogWidth,
                     param->settings->listDialogHeight);

    HWND list = FileList(dialog);
    int listed = 0;
    PtrListForEach(param->workList, true, CountListed, &listed);
    PrepareFileList(list, listed);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    // One pass along the list, in its order: walking it by index would start
    // from its head for every item.
    PtrListForEach(param->workList, true, ListItem, list);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    Sort(dialog);
    ShowRowCount(GetDlgItem(dialog, IDC_FILE_COUNT), list);
    return TRUE;
}

BOOL OnNotify(HWND dialog, WPARAM control, LPARAM lParam) {
    // The list also notifies while it is destroyed, after the dialog let go
    // of the settings.
    Settings* settings = g_dialog.settings;
    if (control != IDC_FILE_LIST || settings == nullptr) return FALSE;
    return AnswerRowListNotify(dialog, lParam,
                               RowListHabits{&g_dialog.texts, &settings->listSortColumn,
                                             &settings->listSortAscending, IDR_ROW_MENU});
}

// Records the rows marked for an action, in the order shown, and ends: the
// caller carries the marks out once the dialog is gone.
void Execute(HWND dialog) {
    // A second Execute queued behind the first would record the rows twice.
    if (g_dialog.executing) return;
    g_dialog.executing = true;
    std::vector<WorkItem*>* chosen = DialogParam(dialog)->chosen;
    HWND list = FileList(dialog);
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; chosen != nullptr && row < rows; row++) {
        WorkItem* item = GetRowItem(list, row);
        // Rows left on "ignore" carry Undetermined: nothing to do for them.
        if (item != nullptr && item->code != DetectionCode::Undetermined) chosen->push_back(item);
    }
    ShowWindow(dialog, SW_HIDE);
    EndDialog(dialog, IDOK);
}

void MarkSelectedRows(HWND dialog, int command) {
    HWND list = FileList(dialog);
    DetectionCode code = ActionCodeForCommand(command);
    // One repaint for all the rows, however many are selected.
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ForEachSelectedRow(list, [&](int row) { SetRowAction(list, row, code, &g_dialog.texts); });
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
}

const PathChar* SourcePath(const void* item) {
    return static_cast<const WorkItem*>(item)->sourcePath;
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
        default:
            return AnswerOpenCommand(dialog, FileList(dialog), id, SourcePath);
    }
}

void OnDestroy(HWND dialog) {
    auto* param = static_cast<UndeterminedFilesParam*>(
        RemovePropW(dialog, kPropUndeterminedFilesHistoricName));
    Settings* settings = param != nullptr ? param->settings : nullptr;
    g_dialog.settings = nullptr;
    EndDialogFrame(&g_dialog.frame, dialog, settings ? &settings->listDialogWidth : nullptr,
                   settings ? &settings->listDialogHeight : nullptr);
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
            return FollowFrame(&g_dialog.frame, dialog, wParam, lParam, kAnchors,
                               sizeof kAnchors / sizeof kAnchors[0]);
        case WM_GETMINMAXINFO:
            return AnswerFrameMinimum(g_dialog.frame, lParam);
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

bool ShowUndeterminedFilesDialog(HWND owner, Settings* settings, WorkList* workList,
                                 std::vector<WorkItem*>* chosen) {
    if (!HasUndecidedItems(workList)) return true;
    if (chosen != nullptr) chosen->clear();
    UndeterminedFilesParam param{settings, workList, chosen};
    INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_UNDETERMINED_FILES), owner,
                        UndeterminedFilesDialogProc, reinterpret_cast<LPARAM>(&param));
    return result == IDOK;
}
