#include "ui/failed_files_dialog_win.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/busy_window_win.h"
#include "ui/dialog_frame_win.h"
#include "ui/failure_reason.h"
#include "ui/failure_reason_win.h"
#include "ui/file_list_win.h"
#include "util/path.h"

namespace {

enum FailedColumn : int {
    FailedNameColumn = 0,    // "ファイル名"
    FailedFolderColumn = 1,  // "場所"
    ReasonColumn = 2,        // "理由"
    FailedColumnCount = 3,
};

const ColumnHeading kColumns[FailedColumnCount] = {
    {L"ファイル名", 140},
    {L"場所", 260},
    {L"理由", 220},
};

// The list takes all the room the dialog gains; the buttons keep to the
// bottom right corner and the counter to the bottom.
const FrameAnchor kAnchors[] = {
    {IDC_FILE_LIST, 0, 0, 1, 1},
    {IDC_RETRY, 1, 1, 0, 0},
    {IDCANCEL, 1, 1, 0, 0},
    {IDC_FILE_COUNT, 0, 1, 1, 0},
};

// What the dialog keeps while it lives. It is modal and shown once per run,
// so only one exists at a time.
struct FailedDialogState {
    DialogFrame frame;
    bool retrying;  // the files are being tried again
    std::int32_t sortColumn;
    bool sortAscending;
    RowTextTable texts;
};
FailedDialogState g_failed;

FailedFilesParam* DialogParam(HWND dialog) {
    return static_cast<FailedFilesParam*>(GetPropW(dialog, kPropFailedFilesParam));
}

HWND FileList(HWND dialog) { return GetDlgItem(dialog, IDC_FILE_LIST); }

const PathChar* ShownPath(const void* data) {
    const auto* file = static_cast<const FailedFile*>(data);
    return FailedFilePath(file->item, file->result.outcome);
}

void FillFailedRow(HWND list, int row, FailedFile* file) {
    const Path shown = ShownPath(file);
    const Path name = FileNamePart(shown);
    const Path folder = FolderPart(shown);
    const std::u16string reason = DescribeFailure(file->result);
    const char16_t* cells[FailedColumnCount];
    cells[FailedNameColumn] = name.c_str();
    cells[FailedFolderColumn] = folder.c_str();
    cells[ReasonColumn] = reason.c_str();
    // The icon comes from the source, which exists, while a destination in
    // the output folder may not.
    FillRowTexts(list, row, file, file->item->sourcePath, cells, FailedColumnCount,
                 &g_failed.texts);
}

void Sort(HWND dialog) {
    SortRows(FileList(dialog), g_failed.texts, g_failed.sortColumn, g_failed.sortAscending);
}

BOOL OnInitDialog(HWND dialog, FailedFilesParam* param) {
    SetPropW(dialog, kPropFailedFilesParam, param);
    g_failed.retrying = false;
    g_failed.sortColumn = FailedNameColumn;
    g_failed.sortAscending = true;
    StartDialogFrame(&g_failed.frame, dialog, param->settings->failedDialogWidth,
                     param->settings->failedDialogHeight);
    if (param->retry == nullptr) EnableWindow(GetDlgItem(dialog, IDC_RETRY), FALSE);

    HWND list = FileList(dialog);
    PrepareRowList(list, param->count, kColumns, FailedColumnCount);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < param->count; i++) {
        int row = AppendRow(list);
        if (row >= 0) FillFailedRow(list, row, &param->files[i]);
    }
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    Sort(dialog);
    ShowRowCount(GetDlgItem(dialog, IDC_FILE_COUNT), list);
    return TRUE;
}

BOOL OnNotify(HWND dialog, WPARAM control, LPARAM lParam) {
    if (control != IDC_FILE_LIST) return FALSE;
    return AnswerRowListNotify(dialog, lParam,
                               RowListHabits{&g_failed.texts, &g_failed.sortColumn,
                                             &g_failed.sortAscending, IDR_FAILED_ROW_MENU});
}

// Tries every row's file again, in the order shown, with the tray icon up
// and the dialog disabled: the user sees the rows of the files written go,
// and cannot start a second round among the first. Ends the dialog when no
// row is left.
void Retry(HWND dialog) {
    FailedFilesParam* param = DialogParam(dialog);
    if (g_failed.retrying || param == nullptr || param->retry == nullptr) return;
    g_failed.retrying = true;
    EnableWindow(dialog, FALSE);
    HWND busy = CreateBusyWindow(GetModuleHandleW(nullptr), kBusyTip);
    HWND list = FileList(dialog);
    int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const int total = rows;
    int tried = 0;
    for (int row = 0; row < rows;) {
        auto* file = static_cast<FailedFile*>(GetRowData(list, row));
        const bool written = file != nullptr && param->retry(file, param->context);
        UpdateBusyProgress(busy, ++tried, total);
        if (written) {
            DeleteRow(list, row, &g_failed.texts);
            rows--;
        } else {
            if (file != nullptr) FillFailedRow(list, row, file);
            row++;
        }
    }
    // Whatever was clicked meanwhile reached a disabled window and is dropped
    // with the rest of the queue.
    DestroyBusyWindow(busy);
    EnableWindow(dialog, TRUE);
    g_failed.retrying = false;
    ShowRowCount(GetDlgItem(dialog, IDC_FILE_COUNT), list);
    if (rows == 0) {
        EndDialog(dialog, IDOK);
        return;
    }
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_RETRY)),
                 TRUE);
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
        case IDC_RETRY:
            Retry(dialog);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return AnswerOpenCommand(dialog, FileList(dialog), id, ShownPath);
    }
}

void OnDestroy(HWND dialog) {
    auto* param = static_cast<FailedFilesParam*>(RemovePropW(dialog, kPropFailedFilesParam));
    Settings* settings = param != nullptr ? param->settings : nullptr;
    EndDialogFrame(&g_failed.frame, dialog, settings ? &settings->failedDialogWidth : nullptr,
                   settings ? &settings->failedDialogHeight : nullptr);
    // Gives the table's memory back, not only its rows.
    RowTextTable().swap(g_failed.texts);
}

}  // namespace

static INT_PTR CALLBACK FailedFilesDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<FailedFilesParam*>(lParam));
        case WM_SIZE:
            return FollowFrame(&g_failed.frame, dialog, wParam, lParam, kAnchors,
                               sizeof kAnchors / sizeof kAnchors[0]);
        case WM_GETMINMAXINFO:
            return AnswerFrameMinimum(g_failed.frame, lParam);
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

bool ShowFailedFilesDialog(HWND owner, Settings* settings, FailedFile* files, int count,
                           RetryFile retry, void* context) {
    if (files == nullptr || count <= 0) return true;
    FailedFilesParam param{settings, files, count, retry, context};
    INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_FAILED_FILES), owner,
                        FailedFilesDialogProc, reinterpret_cast<LPARAM>(&param));
    return result == IDOK;
}
