#include "ui/undetermined_rows.h"

#include <cstdio>

#include "engine/cp932_table.h"
#include "engine/mappers.h"
#include "engine/utf16.h"
#include "engine/utf8.h"
#include "res/resource.h"
#include "util/text.h"

namespace {

constexpr char16_t kGetaMark = u'〓';

// ASCII text, as the numbers and names in front of a preview are written.
void PutAscii(std::u16string* text, const char* ascii) {
    for (; *ascii != '\0'; ascii++) text->push_back(static_cast<char16_t>(*ascii));
}

void PutCodePoint(std::u16string* text, std::uint32_t codePoint) {
    if (codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        text->push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        text->push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
        text->push_back(static_cast<char16_t>(codePoint));
    }
}

// A character of code page 932 (one byte, or two with the first in bits
// 8-15) as that code page reads it; 〓 for an empty cell.
void PutCell(std::u16string* text, unsigned code) {
    const std::int32_t codePoint = Cp932ToUnicode(code);
    if (codePoint == kNoCell) {
        text->push_back(kGetaMark);
    } else {
        PutCodePoint(text, static_cast<std::uint32_t>(codePoint));
    }
}

// A byte below 0x80. A zero byte is shown as the byte 0xFF, so that the text
// does not end early in the list view.
void PutSingle(std::u16string* text, unsigned byte) {
    if (byte == 0) {
        PutCell(text, 0xFF);
    } else {
        text->push_back(static_cast<char16_t>(byte));
    }
}

std::u16string FromShiftJis(const unsigned char* p, const unsigned char* end) {
    std::u16string text;
    while (p < end) {
        const unsigned first = *p;
        if (first < 0x80) {
            PutSingle(&text, first);
            p++;
        } else if (!IsShiftJisLeadByte(static_cast<unsigned char>(first))) {
            PutCell(&text, first);  // half-width katakana and the odd single bytes
            p++;
        } else if (end - p < 2) {
            break;  // cut by the preview's length, not by the file
        } else if (IsShiftJisTrailByte(p[1])) {
            PutCell(&text, first * 256 + p[1]);
            p += 2;
        } else {
            // The lead byte alone is malformed; what follows it is read anew.
            text.push_back(kGetaMark);
            p++;
        }
    }
    return text;
}

// A Unicode character as it reads once written into Shift-JIS; 〓 for one
// that code page 932 has no cell for, and for broken bytes.
void PutUnicode(std::u16string* text, std::int32_t codePoint) {
    const std::uint16_t* table = Cp932().shiftJis;
    if (codePoint >= 0 && codePoint < 0x80) {
        PutSingle(text, static_cast<unsigned>(codePoint));
    } else if (codePoint >= 0x80 && codePoint <= 0xFFFF && table[codePoint] != 0) {
        PutCell(text, table[codePoint]);
    } else {
        text->push_back(kGetaMark);
    }
}

std::u16string FromUtf8(const unsigned char* p, const unsigned char* end) {
    std::u16string text;
    if (end - p >= 3 && p[0] == kUtf8ByteOrderMark[0] && p[1] == kUtf8ByteOrderMark[1] &&
        p[2] == kUtf8ByteOrderMark[2]) {
        p += 3;
    }
    while (p < end) {
        Utf8Char c = DecodeUtf8(p, end);
        p += c.length;
        if (c.codePoint == kCutUtf8) break;  // cut by the preview's length, not by the file
        PutUnicode(&text, c.codePoint);
    }
    return text;
}

std::u16string FromUtf16(const unsigned char* p, const unsigned char* end, ByteOrder order) {
    std::u16string text;
    ByteOrder marked = order;
    if (end - p >= 2 && Utf16MarkOrder(p[0], p[1], &marked) && marked == order) p += 2;
    while (p < end) {
        Utf16Char c = DecodeUtf16(p, end, order);
        if (c.codePoint == kCutUtf16) break;  // cut by the preview's length, not by the file
        p += c.length;
        PutUnicode(&text, c.codePoint);
    }
    return text;
}

inline bool IsEucJpByte(unsigned b) { return b >= 0xA1 && b <= 0xFE; }

std::u16string FromEucJp(const unsigned char* p, const unsigned char* end) {
    std::u16string text;
    while (p < end) {
        unsigned first = *p;
        if (first < 0x80) {
            PutSingle(&text, first);
            p++;
            continue;
        }
        // A pair cut by the preview's length is left out.
        if (end - p < 2) break;
        unsigned second = p[1];
        if (first == 0x8E && second >= 0xA1 && second <= 0xDF) {
            PutCell(&text, second);  // half-width katakana
        } else if (IsEucJpByte(first) && IsEucJpByte(second)) {
            PutCell(&text, static_cast<unsigned>(
                               EucJpToShiftJis(static_cast<CodeChar>(first * 256 + second))));
        } else {
            text.push_back(kGetaMark);
            p++;
            continue;
        }
        p += 2;
    }
    return text;
}

// The first character without a form, as the front of the text names it.
std::u16string MissingName(const WorkItem& item) {
    std::u16string text;
    if (item.firstMissing < 0) return text;
    char name[24];
    std::snprintf(name, sizeof name, IsUnicodeCode(item.detected) ? "[U+%04X] " : "[0x%02X] ",
                  static_cast<unsigned>(item.firstMissing));
    PutAscii(&text, name);
    return text;
}

}  // namespace

const char16_t* ActionText(DetectionCode code) {
    // Copying is looked at first: it is the one code that is not an encoding.
    if (code == DetectionCode::CopyUnchanged) return u"コピーする";
    if (code == DetectionCode::ShiftJis) return u"日本語EUC へ変換する";
    if (code == DetectionCode::EucJp) return u"Shift-JIS へ変換する";
    return u"無視する";
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

std::u16string PreviewText(const WorkItem& item, const unsigned char* bytes, int count) {
    const unsigned char* end = bytes + count;
    std::u16string text = MissingName(item);
    if (item.detected == DetectionCode::Utf8) {
        text += FromUtf8(bytes, end);
    } else if (item.detected == DetectionCode::Utf16Le) {
        text += FromUtf16(bytes, end, ByteOrder::LittleEndian);
    } else if (item.detected == DetectionCode::Utf16Be) {
        text += FromUtf16(bytes, end, ByteOrder::BigEndian);
    } else if (item.code == DetectionCode::EucJp) {
        text += FromEucJp(bytes, end);
    } else {
        text += FromShiftJis(bytes, end);
    }
    return text;
}
