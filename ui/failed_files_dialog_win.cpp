#include "ui/failed_files_dialog_win.h"

#include "res/resource.h"
#include "ui/busy_window_win.h"
#include "ui/failure_reason.h"
#include "ui/failure_reason_win.h"
#include "ui/list_dialog_win.h"
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

// The file the row names: a failure can move from the source to the
// destination once the source could be read.
const PathChar* ShownPath(const void* data) {
    const auto* file = static_cast<const FailedFile*>(data);
    return FailedFilePath(file->item, file->result.outcome);
}

std::u16string FailedCellText(const void* data, int column) {
    switch (column) {
        case FailedNameColumn:
            return FileNamePart(ShownPath(data));
        case FailedFolderColumn:
            return FolderPart(ShownPath(data));
        default:
            return DescribeFailure(static_cast<const FailedFile*>(data)->result);
    }
}

// Tries every row's file again, in the order shown, with the tray icon up
// and the dialog disabled: the user sees the rows of the files written go,
// and cannot start a second round among the first. Ends the dialog when no
// row is left.
void Retry(HWND dialog, ListDialog* list) {
    auto* param = static_cast<FailedFilesParam*>(list->param);
    if (list->acting || param->retry == nullptr) return;
    list->acting = true;
    EnableWindow(dialog, FALSE);
    HWND busy = CreateBusyWindow(GetModuleHandleW(nullptr), kBusyTip);
    HWND view = RowListView(dialog);
    const int total = RowCount(list->rows);
    int tried = 0;
    for (int row = 0; row < RowCount(list->rows);) {
        auto* file = static_cast<FailedFile*>(list->rows.rows[row].data);
        const bool written = param->retry(file, param->context);
        UpdateBusyProgress(busy, ++tried, total);
        if (written) {
            DeleteShownRow(view, &list->rows, row);
        } else {
            ForgetCells(&list->rows, row, kAllColumns);
            row++;
        }
    }
    // Whatever was clicked meanwhile reached a disabled window and is dropped
    // with the rest of the queue.
    DestroyBusyWindow(busy);
    EnableWindow(dialog, TRUE);
    list->acting = false;
    ShowChangedRows(dialog, *list);
    if (RowCount(list->rows) == 0) {
        EndDialog(dialog, IDOK);
        return;
    }
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_RETRY)),
                 TRUE);
}

void Start(HWND dialog, ListDialog* list) {
    if (static_cast<FailedFilesParam*>(list->param)->retry == nullptr) {
        EnableWindow(GetDlgItem(dialog, IDC_RETRY), FALSE);
    }
}

BOOL OnCommand(HWND dialog, ListDialog* list, int id) {
    if (id != IDC_RETRY) return FALSE;
    Retry(dialog, list);
    return TRUE;
}

const ListDialogUse kFailures = {
    IDD_FAILED_FILES,
    kPropFailedFilesParam,
    kColumns,
    FailedColumnCount,
    FailedCellText,
    kAnchors,
    sizeof kAnchors / sizeof kAnchors[0],
    IDR_FAILED_ROW_MENU,
    ShownPath,
    Start,
    OnCommand,
};

}  // namespace

bool ShowFailedFilesDialog(HWND owner, Settings* settings, FailedFile* files, int count,
                           RetryFile retry, void* context) {
    if (files == nullptr || count <= 0) return true;
    FailedFilesParam param{settings, files, count, retry, context};
    // By name at first; the order the user picks lasts while the list shows.
    std::int32_t sortColumn = FailedNameColumn;
    bool sortAscending = true;
    ListDialog list{};
    list.use = &kFailures;
    list.param = &param;
    list.width = &settings->failedDialogWidth;
    list.height = &settings->failedDialogHeight;
    list.sortColumn = &sortColumn;
    list.sortAscending = &sortAscending;
    StartRows(&list);
    for (int i = 0; i < count; i++) AddRow(&list.rows, &files[i]);
    return RunListDialog(owner, &list) == IDOK;
}
