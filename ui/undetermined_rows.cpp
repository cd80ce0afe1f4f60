#include "ui/undetermined_rows.h"

#include "res/resource.h"

const char* ActionText(DetectionCode code) {
    // Copying is looked at first: it is the one code that is not an encoding.
    if (code == CopyUnchanged) return "コピーする";
    if (code == ShiftJis) return "日本語EUC へ変換する";
    if (code == EucJp) return "Shift-JIS へ変換する";
    return "無視する";
}

DetectionCode ActionCodeForCommand(int command) {
    // Marking a file with the other encoding's code makes the engine convert
    // it into this one, since the marked files run with both directions.
    switch (command) {
        case IDM_MARK_EUC_JP:
            return EucJp;
        case IDM_MARK_SHIFT_JIS:
            return ShiftJis;
        case IDM_MARK_COPY:
            return CopyUnchanged;
        default:
            return Undetermined;
    }
}

void MakePreviewText(char* bytes, int count) {
    for (int i = 0; i < count; i++) {
        if (bytes[i] == '\0') bytes[i] = '\xFF';
    }
    bytes[count] = '\0';
}

const char* RowText(const RowTextTable& table, const void* item, int column) {
    if (column < 0 || column >= ListColumnCount) return "";
    auto found = table.find(item);
    return found == table.end() ? "" : found->second.columns[column].c_str();
}

void NextSortOrder(std::int32_t column, std::int32_t* sortColumn, bool* ascending) {
    *ascending = column == *sortColumn ? !*ascending : true;
    *sortColumn = column;
}
