// What a work item holds, as decided by the detection (or chosen by the user).
#pragma once

#include <cstdint>

// The numbers are the ones the review stores in an item when the user
// decides about a file.
enum class DetectionCode : std::int32_t {
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
    switch (code) {
        case DetectionCode::Directory:
        case DetectionCode::EucJp:
        case DetectionCode::ShiftJis:
        case DetectionCode::Iso2022Jp:
            return true;
        case DetectionCode::Undetermined:
        case DetectionCode::CopyUnchanged:
            break;
    }
    return false;
}

// Into which encodings a run converts: a bit set.
using ConversionMask = std::int32_t;

enum : ConversionMask {
    IntoShiftJis = 2,
    IntoEucJp = 4,
    BothWays = 6,
};
