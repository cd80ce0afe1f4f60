#include "ui/file_list_win.h"

#include <cstdio>

#include "ui/app_window_win.h"
#include "util/path.h"
#include "util/text.h"

namespace {

// A column's heading and its width in pixels when the list is made.
struct ColumnHeading {
    const char* text;
    int width;
};

const ColumnHeading kColumns[ListColumnCount] = {
    {"ファイル名", 110},
    {"処理方法", 140},
    {"場所", 300},
    {"内容", 300},
};

// A row text read back from the list view holds at most this many bytes.
constexpr int kRowTextCapacity = 32768;
constexpr int kActionCapacity = 260;

void SetSubItemText(HWND list, int row, int column, const char* text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

// The text as the list view keeps it, which is what the user sees and what
// a sort must compare.
void ReadSubItemText(HWND list, int row, int column, std::string* text) {
    // Too large for the stack of a window procedure; one thread uses it.
    static char buffer[kRowTextCapacity];
    buffer[0] = '\0';
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = kRowTextCapacity - 1;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    buffer[kRowTextCapacity - 1] = '\0';
    *text = buffer;
}

// The file's small shell icon appended to the list's image list; -1 when
// there is no icon or no image list.
int AppendFileIcon(HWND list, const char* path) {
    HICON icon = GetFileIcon(path, SHGFI_SMALLICON);
    if (icon == nullptr) return -1;
    int image = -1;
    auto images =
        reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    if (images != nullptr) image = ImageList_ReplaceIcon(images, -1, icon);
    // The image list keeps a copy of its own.
    DestroyIcon(icon);
    return image;
}

// The first bytes of the file as text, read as the row's action takes it
// (PreviewText); empty when it cannot be read.
std::string ReadPreview(const WorkItem& item) {
    std::FILE* file = std::fopen(item.sourcePath, "rb");
    if (file == nullptr) return std::string();
    unsigned char bytes[kPreviewBytes];
    auto count = static_cast<int>(std::fread(bytes, 1, kPreviewBytes, file));
    std::fclose(file);
    return PreviewText(item, bytes, count);
}

struct SortOrder {
    const RowTextTable* texts;
    int column;
    bool ascending;
};

int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM context) {
    const auto* order = reinterpret_cast<const SortOrder*>(context);
    int result =
        lstrcmpiA(RowText(*order->texts, reinterpret_cast<const void*>(first), order->column),
                  RowText(*order->texts, reinterpret_cast<const void*>(second), order->column));
    return order->ascending ? result : -result;
}

}  // namespace

// The shell's icons of the files, in 16 colours. The list view destroys the
// image list with itself. Every fill appends an image: room is made for the
// rows at once and then in steps as large, since an image list that grows a
// few images at a time copies all its images at every step.
void PrepareFileList(HWND list, int expectedRows) {
    HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR4, expectedRows, expectedRows);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
    LPARAM extended = SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    extended |= LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP;
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
    for (int i = 0; i < ListColumnCount; i++) {
        LVCOLUMNA column{};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = kColumns[i].width;
        column.pszText = const_cast<char*>(kColumns[i].text);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

int FillRow(HWND list, int row, WorkItem* item, RowTextTable* texts) {
    int image = AppendFileIcon(list, item->sourcePath);

    char folder[kPathCapacity];
    CopyBounded(folder, item->sourcePath, sizeof folder);
    const char* name = CutLastComponent(folder);
    // A path without a backslash is all name and no folder.
    if (name == folder) folder[0] = '\0';
    char action[kActionCapacity];
    CopyBounded(action, ActionText(item->code), sizeof action);

    LVITEMA entry{};
    entry.mask = LVIF_IMAGE | LVIF_PARAM;
    entry.iItem = row;
    entry.iSubItem = 0;
    entry.iImage = image;
    entry.lParam = reinterpret_cast<LPARAM>(item);
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
    SetSubItemText(list, row, NameColumn, name);
    SetSubItemText(list, row, FolderColumn, folder);
    SetSubItemText(list, row, ActionColumn, action);
    SetSubItemText(list, row, ContentColumn, ReadPreview(*item).c_str());

    RowTexts& kept = (*texts)[item];
    for (int column = 0; column < ListColumnCount; column++) {
        ReadSubItemText(list, row, column, &kept.columns[column]);
    }
    return row;
}

int InsertRow(HWND list, WorkItem* item, RowTextTable* texts) {
    LVITEMA entry{};
    entry.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int row =
        static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&entry)));
    if (row < 0) return row;
    return FillRow(list, row, item, texts);
}

WorkItem* GetRowItem(HWND list, int row) {
    LVITEMA entry{};
    entry.mask = LVIF_PARAM;
    entry.iItem = row;
    entry.iSubItem = 0;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry))) return nullptr;
    return reinterpret_cast<WorkItem*>(entry.lParam);
}

void SetRowAction(HWND list, int row, DetectionCode code, RowTextTable* texts) {
    WorkItem* item = GetRowItem(list, row);
    if (item == nullptr) return;
    item->code = code;
    FillRow(list, row, item, texts);
}

void SortRows(HWND list, const RowTextTable& texts, int column, bool ascending) {
    SortOrder order{&texts, column, ascending};
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&order),
                 reinterpret_cast<LPARAM>(CompareRows));
}
