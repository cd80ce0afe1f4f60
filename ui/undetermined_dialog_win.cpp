#include "ui/undetermined_dialog_win.h"

#include "res/resource.h"
#include "ui/about_dialog_win.h"
#include "ui/app_window_win.h"
#include "ui/list_dialog_win.h"
#include "ui/undetermined_rows.h"
#include "util/path.h"
#include "util/path_win.h"

namespace {

const ColumnHeading kColumns[ListColumnCount] = {
    {L"ファイル名", 110},
    {L"処理方法", 140},
    {L"場所", 300},
    {L"内容", 300},
};

// The list takes all the room the dialog gains; the buttons keep to the
// bottom right corner and the counter to the bottom. The texts at the top
// stay where they are.
const FrameAnchor kAnchors[] = {
    {IDC_FILE_LIST, 0, 0, 1, 1},
    {IDOK, 1, 1, 0, 0},
    {IDCANCEL, 1, 1, 0, 0},
    {IDC_FILE_COUNT, 0, 1, 1, 0},
};

// What a row's text in the action and contents columns depends on.
constexpr std::uint8_t kMarkedColumns = (1u << ActionColumn) | (1u << ContentColumn);

const PathChar* SourcePath(const void* item) {
    return static_cast<const WorkItem*>(item)->sourcePath;
}

// The first bytes of the file as text, read as the row's action takes it
// (PreviewText); empty when it cannot be read. Others may go on reading and
// writing the file meanwhile.
std::u16string ReadPreview(const WorkItem& item) {
    HANDLE file =
        CreateFileW(FileApiPath(item.sourcePath), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::u16string();
    unsigned char bytes[kPreviewBytes];
    DWORD count = 0;
    // A short read is what the file holds; a failed one shows what came.
    if (!ReadFile(file, bytes, sizeof bytes, &count, nullptr)) count = 0;
    CloseHandle(file);
    return PreviewText(item, bytes, static_cast<int>(count));
}

// A row's text: the file's name, the action its mark stands for, its folder
// and its first bytes. Only the rows shown are read.
std::u16string ItemCellText(const void* data, int column) {
    const auto* item = static_cast<const WorkItem*>(data);
    switch (column) {
        case NameColumn:
            return FileNamePart(item->sourcePath);
        case ActionColumn:
            return ActionText(item->code);
        case FolderColumn:
            return FolderPart(item->sourcePath);
        default:
            return ReadPreview(*item);
    }
}

// Records the rows marked for an action, in the order shown, and ends: the
// caller carries the marks out once the dialog is gone.
void Execute(HWND dialog, ListDialog* list) {
    // A second Execute queued behind the first would record the rows twice.
    if (list->acting) return;
    list->acting = true;
    auto* chosen = static_cast<UndeterminedFilesParam*>(list->param)->chosen;
    for (const ListRow& row : list->rows.rows) {
        auto* item = static_cast<WorkItem*>(row.data);
        // Rows left on "ignore" carry Undetermined: nothing to do for them.
        if (chosen != nullptr && item->code != DetectionCode::Undetermined) chosen->push_back(item);
    }
    ShowWindow(dialog, SW_HIDE);
    EndDialog(dialog, IDOK);
}

// Marks the selected rows' items; their action and contents are made anew
// when next shown, and the list is redrawn once however many changed.
void MarkSelectedRows(HWND dialog, ListDialog* list, int command) {
    const DetectionCode code = ActionCodeForCommand(command);
    ForEachSelectedRow(RowListView(dialog), RowCount(list->rows), [&](int row) {
        static_cast<WorkItem*>(list->rows.rows[row].data)->code = code;
        ForgetCells(&list->rows, row, kMarkedColumns);
    });
    ShowChangedRows(dialog, *list);
}

BOOL OnCommand(HWND dialog, ListDialog* list, int id) {
    switch (id) {
        case IDOK:
            Execute(dialog, list);
            return TRUE;
        case IDM_MARK_EUC_JP:
        case IDM_MARK_SHIFT_JIS:
        case IDM_MARK_COPY:
        case IDM_MARK_IGNORE:
            MarkSelectedRows(dialog, list, id);
            return TRUE;
        case IDM_ABOUT: {
            // A box already open is brought forward rather than opened twice.
            const SupportSiteInfo site{kSupportSiteAddress};
            ShowAboutDialog(dialog, &site);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

const ListDialogUse kReview = {
    IDD_UNDETERMINED_FILES,
    kPropUndeterminedFilesHistoricName,
    kColumns,
    ListColumnCount,
    ItemCellText,
    kAnchors,
    sizeof kAnchors / sizeof kAnchors[0],
    IDR_ROW_MENU,
    SourcePath,
    nullptr,
    OnCommand,
};

std::int32_t ListItem(void* element, std::int32_t, void* rows) {
    auto* item = static_cast<WorkItem*>(element);
    if (IsForReview(item)) AddRow(static_cast<RowList*>(rows), item);
    return 1;
}

}  // namespace

bool ShowUndeterminedFilesDialog(HWND owner, Settings* settings, WorkList* workList,
                                 std::vector<WorkItem*>* chosen) {
    if (!HasUndecidedItems(workList)) return true;
    if (chosen != nullptr) chosen->clear();
    UndeterminedFilesParam param{settings, workList, chosen};
    ListDialog list{};
    list.use = &kReview;
    list.param = &param;
    list.width = &settings->listDialogWidth;
    list.height = &settings->listDialogHeight;
    list.sortColumn = &settings->listSortColumn;
    list.sortAscending = &settings->listSortAscending;
    StartRows(&list);
    // One pass along the list, in its order: walking it by index would start
    // from its head for every item.
    PtrListForEach(workList, true, ListItem, &list.rows);
    return RunListDialog(owner, &list) == IDOK;
}
