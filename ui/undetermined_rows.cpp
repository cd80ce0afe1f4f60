#include "ui/undetermined_rows.h"

#include <cstdio>

#include "engine/cp932_table.h"
#include "engine/mappers.h"
#include "engine/utf8.h"
#include "res/resource.h"

namespace {

constexpr char kGetaMark[] = "\x81\xAC";  // 〓 in code page 932

// A byte of the text; a zero byte is shown as 0xFF, so that the text does
// not end early.
void PutByte(std::string* text, unsigned byte) {
    text->push_back(static_cast<char>(byte == 0 ? 0xFF : byte));
}

// A character of code page 932: one byte, or two with the first in bits 8-15.
void PutCode(std::string* text, unsigned code) {
    if (code > 0xFF) text->push_back(static_cast<char>(code >> 8));
    PutByte(text, code & 0xFF);
}

std::string FromUtf8(const unsigned char* p, const unsigned char* end) {
    std::string text;
    if (end - p >= 3 && p[0] == kUtf8ByteOrderMark[0] && p[1] == kUtf8ByteOrderMark[1] &&
        p[2] == kUtf8ByteOrderMark[2]) {
        p += 3;
    }
    const std::uint16_t* table = Cp932().shiftJis;
    while (p < end) {
        Utf8Char c = DecodeUtf8(p, end);
        p += c.length;
        if (c.codePoint == kCutUtf8) break;  // cut by the preview's length, not by the file
        if (c.codePoint >= 0 && c.codePoint < 0x80) {
            PutByte(&text, static_cast<unsigned>(c.codePoint));
        } else if (c.codePoint >= 0x80 && c.codePoint <= 0xFFFF && table[c.codePoint] != 0) {
            PutCode(&text, table[c.codePoint]);
        } else {
            text += kGetaMark;
        }
    }
    return text;
}

inline bool IsEucJpByte(unsigned b) { return b >= 0xA1 && b <= 0xFE; }

std::string FromEucJp(const unsigned char* p, const unsigned char* end) {
    std::string text;
    while (p < end) {
        unsigned first = *p;
        if (first < 0x80) {
            PutByte(&text, first);
            p++;
            continue;
        }
        // A pair cut by the preview's length is left out.
        if (end - p < 2) break;
        unsigned second = p[1];
        if (first == 0x8E && second >= 0xA1 && second <= 0xDF) {
            PutByte(&text, second);  // half-width katakana
        } else if (IsEucJpByte(first) && IsEucJpByte(second)) {
            PutCode(&text, static_cast<unsigned>(
                               EucJpToShiftJis(static_cast<CodeChar>(first * 256 + second))));
        } else {
            text += kGetaMark;
            p++;
            continue;
        }
        p += 2;
    }
    return text;
}

// The first character without a form, as the front of the text names it.
std::string MissingName(const WorkItem& item) {
    if (item.firstMissing < 0) return std::string();
    char name[24];
    std::snprintf(name, sizeof name,
                  item.detected == DetectionCode::Utf8 ? "[U+%04X] " : "[0x%02X] ",
                  static_cast<unsigned>(item.firstMissing));
    return name;
}

}  // namespace

const char* ActionText(DetectionCode code) {
    // Copying is looked at first: it is the one code that is not an encoding.
    if (code == DetectionCode::CopyUnchanged) return "コピーする";
    if (code == DetectionCode::ShiftJis) return "日本語EUC へ変換する";
    if (code == DetectionCode::EucJp) return "Shift-JIS へ変換する";
    return "無視する";
}

DetectionCode ActionCodeForCommand(int command) {
    // Marking a file with the other encoding's code makes the engine convert
    // it into this one, since the marked files run with both directions.
    switch (command) {
        case IDM_MARK_EUC_JP:
            return DetectionCode::EucJp;
        case IDM_MARK_SHIFT_JIS:
            return DetectionCode::ShiftJis;
        case IDM_MARK_COPY:
            return DetectionCode::CopyUnchanged;
        default:
            return DetectionCode::Undetermined;
    }
}

std::string PreviewText(const WorkItem& item, const unsigned char* bytes, int count) {
    const unsigned char* end = bytes + count;
    std::string text = MissingName(item);
    if (item.detected == DetectionCode::Utf8) {
        text += FromUtf8(bytes, end);
    } else if (item.code == DetectionCode::EucJp) {
        text += FromEucJp(bytes, end);
    } else {
        for (const unsigned char* p = bytes; p < end; p++) PutByte(&text, *p);
    }
    return text;
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
