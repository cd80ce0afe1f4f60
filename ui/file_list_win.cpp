#include "ui/file_list_win.h"

#include <shellapi.h>

#include "res/resource.h"
#include "ui/app_window_win.h"
#include "ui/shell_open_win.h"
#include "util/path.h"
#include "util/path_win.h"

namespace {

const ColumnHeading kColumns[ListColumnCount] = {
    {L"ファイル名", 110},
    {L"処理方法", 140},
    {L"場所", 300},
    {L"内容", 300},
};

// A row text read back from the list view holds at most this many code units.
constexpr int kRowTextCapacity = 32768;

void SetSubItemText(HWND list, int row, int column, const char16_t* text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = const_cast<wchar_t*>(WideText(text));
    SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

// The text as the list view keeps it, which is what the user sees and what
// a sort must compare.
void ReadSubItemText(HWND list, int row, int column, std::u16string* text) {
    // Too large for the stack of a window procedure; one thread uses it.
    static wchar_t buffer[kRowTextCapacity];
    buffer[0] = L'\0';
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = kRowTextCapacity - 1;
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    buffer[kRowTextCapacity - 1] = L'\0';
    *text = PathFromWide(buffer);
}

// The file's small shell icon appended to the list's image list; -1 when
// there is no icon or no image list.
int AppendFileIcon(HWND list, const PathChar* path) {
    HICON icon = GetFileIcon(path, SHGFI_SMALLICON);
    if (icon == nullptr) return -1;
    int image = -1;
    auto images =
        reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    if (images != nullptr) image = ImageList_ReplaceIcon(images, -1, icon);
    // The image list keeps a copy of its own.
    DestroyIcon(icon);
    return image;
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

struct SortOrder {
    const RowTextTable* texts;
    int column;
    bool ascending;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
    const auto* order = reinterpret_cast<const SortOrder*>(context);
    int result = lstrcmpiW(
        WideText(RowText(*order->texts, reinterpret_cast<const void*>(first), order->column)),
        WideText(RowText(*order->texts, reinterpret_cast<const void*>(second), order->column)));
    return order->ascending ? result : -result;
}

}  // namespace

// The shell's icons of the files, in 16 colours. The list view destroys the
// image list with itself. Every fill appends an image: room is made for the
// rows at once and then in steps as large, since an image list that grows a
// few images at a time copies all its images at every step.
void PrepareRowList(HWND list, int expectedRows, const ColumnHeading* columns, int count) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR4, expectedRows, expectedRows);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    LPARAM extended = SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    extended |= LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    // The table keeps the texts of ListColumnCount columns at most.
    if (count > ListColumnCount) count = ListColumnCount;
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

int AppendRow(HWND list) {
    LVITEMW entry{};
    entry.iItem = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    return static_cast<int>(
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry)));
}

void FillRowTexts(HWND list, int row, void* data, const PathChar* iconPath,
                  const char16_t* const* texts, int count, RowTextTable* table) {
    if (count > ListColumnCount) count = ListColumnCount;
    LVITEMW entry{};
    entry.mask = LVIF_IMAGE | LVIF_PARAM;
    entry.iItem = row;
    entry.iSubItem = 0;
    entry.iImage = AppendFileIcon(list, iconPath);
    entry.lParam = reinterpret_cast<LPARAM>(data);
    SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry));
    for (int column = 0; column < count; column++) {
        SetSubItemText(list, row, column, texts[column]);
    }
    RowTexts& kept = (*table)[data];
    for (int column = 0; column < count; column++) {
        ReadSubItemText(list, row, column, &kept.columns[column]);
    }
}

void* GetRowData(HWND list, int row) {
    LVITEMW entry{};
    entry.mask = LVIF_PARAM;
    entry.iItem = row;
    entry.iSubItem = 0;
    if (!SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry))) return nullptr;
    return reinterpret_cast<void*>(entry.lParam);
}

void DeleteRow(HWND list, int row, RowTextTable* table) {
    void* data = GetRowData(list, row);
    // The row's icon stays in the image list: removing it would renumber the
    // icons of the rows after it.
    if (SendMessageW(list, LVM_DELETEITEM, row, 0)) table->erase(data);
}

void ShowRowCount(HWND label, HWND list) {
    const std::u16string count =
        RowCountText(static_cast<std::int32_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
    SetWindowTextW(label, WideText(count.c_str()));
}

static void OpenSelectedRowFiles(HWND owner, HWND list, RowPath path) {
    ForEachSelectedRow(list, [&](int row) {
        const void* data = GetRowData(list, row);
        if (data == nullptr) return;
        OpenWithShell(owner, path(data), SW_SHOWNORMAL);
    });
}

static void OpenSelectedRowFolders(HWND owner, HWND list, RowPath path) {
    ForEachSelectedRow(list, [&](int row) {
        const void* data = GetRowData(list, row);
        if (data != nullptr) OpenFolderOf(owner, path(data), SW_SHOWNORMAL);
    });
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

BOOL AnswerRowListNotify(HWND dialog, LPARAM lParam, const RowListHabits& habits) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    switch (header->code) {
        case LVN_COLUMNCLICK:
            NextSortOrder(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem, habits.sortColumn,
                          habits.sortAscending);
            SortRows(header->hwndFrom, *habits.texts, *habits.sortColumn, *habits.sortAscending);
            return TRUE;
        case NM_RCLICK:
            ShowRowMenu(dialog, habits.menuId);
            return TRUE;
        case NM_DBLCLK:
            SendMessageW(dialog, WM_COMMAND, IDM_OPEN, 0);
            return TRUE;
        default:
            return FALSE;
    }
}

bool AnswerOpenCommand(HWND dialog, HWND list, int command, RowPath path) {
    if (command == IDM_OPEN) {
        OpenSelectedRowFiles(dialog, list, path);
    } else if (command == IDM_OPEN_FOLDER) {
        OpenSelectedRowFolders(dialog, list, path);
    } else {
        return false;
    }
    return true;
}

void PrepareFileList(HWND list, int expectedRows) {
    PrepareRowList(list, expectedRows, kColumns, ListColumnCount);
}

int FillRow(HWND list, int row, WorkItem* item, RowTextTable* texts) {
    const Path source = item->sourcePath;
    const Path name = FileNamePart(source);
    const Path folder = FolderPart(source);
    const std::u16string preview = ReadPreview(*item);
    const char16_t* cells[ListColumnCount];
    cells[NameColumn] = name.c_str();
    cells[FolderColumn] = folder.c_str();
    cells[ActionColumn] = ActionText(item->code);
    cells[ContentColumn] = preview.c_str();
    FillRowTexts(list, row, item, item->sourcePath, cells, ListColumnCount, texts);
    return row;
}

int InsertRow(HWND list, WorkItem* item, RowTextTable* texts) {
    int row = AppendRow(list);
    if (row < 0) return row;
    return FillRow(list, row, item, texts);
}

WorkItem* GetRowItem(HWND list, int row) { return static_cast<WorkItem*>(GetRowData(list, row)); }

void SetRowAction(HWND list, int row, DetectionCode code, RowTextTable* texts) {
    WorkItem* item = GetRowItem(list, row);
    if (item == nullptr) return;
    item->code = code;
    FillRow(list, row, item, texts);
}

void SortRows(HWND list, const RowTextTable& texts, int column, bool ascending) {
    SortOrder order{&texts, column, ascending};
    SendMessageW(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&order),
                 reinterpret_cast<LPARAM>(CompareRows));
}
