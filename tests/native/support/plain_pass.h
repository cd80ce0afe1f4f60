// The plain detection pass that the fast one must agree with: every byte that
// text mode delivers goes to every recognizer, through the base class, with
// no shortcuts; after a UTF-16 byte-order mark, every unit is decoded. Used
// by the native tests and the detection fuzz target.
#pragma once

#include <cstdint>
#include <string>

#include "engine/detect.h"
#include "engine/recognizers.h"
#include "engine/utf16.h"
#include "tests/native/support/engine_files.h"

struct PlainVerdicts {
    bool iso2022JpClean, shiftJisClean, eucJpClean, escapeOrHighClean, utf8Clean, utf8NonAscii;
    bool dataAfterEndMark;
    bool holdsNul = false;
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;
    ByteOrderMark mark = ByteOrderMark::None;
    bool utf16WellFormed = false;
};

// UTF-16 after its mark, character by character: no U+0000, no broken unit,
// nothing but end marks after an end mark.
inline bool PlainUtf16(const std::string& file, ByteOrder order) {
    const auto* p = reinterpret_cast<const unsigned char*>(file.data()) + 2;
    const unsigned char* end = p + file.size() - 2;
    for (bool ended = false; p < end;) {
        Utf16Char c = DecodeUtf16(p, end, order);
        if (c.codePoint <= 0 || (ended && c.codePoint != 0x1A)) return false;
        ended = c.codePoint == 0x1A;
        p += c.length;
    }
    return true;
}

inline PlainVerdicts PlainPass(const std::string& file) {
    PlainVerdicts plain;
    ByteOrder order = ByteOrder::LittleEndian;
    if (file.size() >= 2 && Utf16MarkOrder(file[0], file[1], &order)) {
        plain.mark =
            order == ByteOrder::BigEndian ? ByteOrderMark::Utf16Be : ByteOrderMark::Utf16Le;
        plain.utf16WellFormed = PlainUtf16(file, order);
        return plain;
    }
    if (file.compare(0, 3, "\xEF\xBB\xBF") == 0) plain.mark = ByteOrderMark::Utf8;
    Iso2022JpRecognizer j;
    ShiftJisRecognizer s;
    EucJpRecognizer e;
    EscapeOrHighByteCounter a;
    Utf8Recognizer u;
    CodeRecognizer* all[] = {&j, &s, &e, &a, &u};
    for (char c : TextModeReading(file)) {
        for (CodeRecognizer* r : all) r->Feed(static_cast<unsigned char>(c));
        plain.bytes++;
        plain.lines += c == '\n';
        plain.holdsNul = plain.holdsNul || c == '\0';
    }
    for (CodeRecognizer* r : all) r->Feed(-1);
    plain.iso2022JpClean = j.count == 0;
    plain.shiftJisClean = s.count == 0;
    plain.eucJpClean = e.count == 0;
    plain.escapeOrHighClean = a.count == 0;
    plain.utf8Clean = u.count == 0;
    plain.utf8NonAscii = plain.utf8Clean && u.nonAscii;
    std::size_t mark = file.find('\x1A');
    plain.dataAfterEndMark =
        mark != std::string::npos && file.find_first_not_of('\x1A', mark) != std::string::npos;
    return plain;
}

// What the fast pass got wrong, or an empty text. When it stopped at a NUL
// byte, nothing else is final; when it settled early otherwise, only the
// three validators' verdicts are, and the UTF-8 check must have failed too.
inline std::string Disagreement(const EncodingEvidence& fast, const PlainVerdicts& plain) {
    if (fast.byteOrderMark != plain.mark) return "byte-order mark";
    if (fast.utf16WellFormed != plain.utf16WellFormed) return "UTF-16 verdict";
    if (plain.mark == ByteOrderMark::Utf16Le || plain.mark == ByteOrderMark::Utf16Be) return "";
    if (fast.holdsNul) return plain.holdsNul && fast.settledEarly ? "" : "NUL verdict";
    if ((fast.iso2022Jp == 0) != plain.iso2022JpClean) return "ISO-2022-JP verdict";
    if ((fast.shiftJis == 0) != plain.shiftJisClean) return "Shift-JIS verdict";
    if ((fast.eucJp == 0) != plain.eucJpClean) return "EUC-JP verdict";
    if (fast.settledEarly) {
        bool allFailed =
            !plain.iso2022JpClean && !plain.shiftJisClean && !plain.eucJpClean && !plain.utf8Clean;
        return allFailed ? "" : "settled too early";
    }
    if (plain.holdsNul) return "NUL verdict";
    if ((fast.escapeOrHigh == 0) != plain.escapeOrHighClean) return "escape or 8-bit verdict";
    if (fast.utf8NonAscii != plain.utf8NonAscii) return "UTF-8 verdict";
    if (fast.dataAfterEndMark != plain.dataAfterEndMark) return "data after the end mark";
    if (fast.bytes != plain.bytes) return "byte count";
    if (fast.lines != plain.lines) return "line count";
    return "";
}
