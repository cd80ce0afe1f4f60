// What a work item holds, as decided by the detection (or chosen by the user).
#pragma once

#include <cstdint>

using DetectionCode = std::int32_t;

enum : DetectionCode {
    Directory = 100,
    Undetermined = 101,
    EucJp = 102,
    ShiftJis = 103,
    Iso2022Jp = 104,
    CopyUnchanged = 105,
};

// A folder, or a file whose encoding was decided. Everything else (an
// undetermined file, or one the user chose to copy) is what the user is
// asked about after a run.
inline bool IsDecidedCode(DetectionCode code) {
    return code == Directory || code == EucJp || code == ShiftJis || code == Iso2022Jp;
}

// Into which encodings a run converts: a bit set.
using ConversionMask = std::int32_t;

enum : ConversionMask {
    IntoShiftJis = 2,
    IntoEucJp = 4,
    BothWays = 6,
};
