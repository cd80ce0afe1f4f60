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

// Into which encodings a run converts: a bit set.
using ConversionMask = std::int32_t;

enum : ConversionMask {
    IntoShiftJis = 2,
    IntoEucJp = 4,
    BothWays = 6,
};
