// The plain detection pass that the fast one must agree with: every byte that
// text mode delivers goes to every recognizer, through the base class, with
// no shortcuts. Used by the native tests and the detection fuzz target.
#pragma once

#include <cstdint>
#include <string>

#include "engine/detect.h"
#include "engine/recognizers.h"
#include "tests/native/support/engine_files.h"

struct PlainVerdicts {
    bool iso2022JpClean, shiftJisClean, eucJpClean, escapeOrHighClean, utf8Clean, utf8NonAscii;
    bool dataAfterEndMark;
    bool holdsNul = false;
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;
};

inline PlainVerdicts PlainPass(const std::string& file) {
    Iso2022JpRecognizer j;
    ShiftJisRecognizer s;
    EucJpRecognizer e;
    EscapeOrHighByteCounter a;
    Utf8Recognizer u;
    CodeRecognizer* all[] = {&j, &s, &e, &a, &u};
    PlainVerdicts plain;
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
