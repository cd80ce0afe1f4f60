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
    Utf8 = 106,
    // UTF-16 with a byte-order mark (FF FE, FE FF), well-formed after it.
    Utf16Le = 107,
    Utf16Be = 108,
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
        case DetectionCode::Utf8:
        case DetectionCode::Utf16Le:
        case DetectionCode::Utf16Be:
            return true;
        case DetectionCode::Undetermined:
        case DetectionCode::CopyUnchanged:
            break;
    }
    return false;
}

// The encodings of Unicode: they reach the older encodings through code page
// 932's table, and a character the table lacks has no form there.
inline bool IsUnicodeCode(DetectionCode code) {
    return code == DetectionCode::Utf8 || code == DetectionCode::Utf16Le ||
           code == DetectionCode::Utf16Be;
}

// Into which encodings a run converts: a bit set, one bit for each encoding
// files are converted into. The switches and the settings dialog choose one
// of the named sets; each rule of the conversion table has one bit.
enum class ConversionMask : std::int32_t {
    None = 0,
    IntoShiftJis = 2,
    IntoEucJp = 4,
    BothWays = IntoShiftJis | IntoEucJp,  // 6: each file into the other encoding
    // Every file into UTF-8. A bit of its own, not combined with the others:
    // the mask is never stored, only chosen for one run.
    IntoUtf8 = 8,
    // Not a direction but how a run writes UTF-8: every file it writes in
    // UTF-8 starts with the byte-order mark EF BB BF (/bom, or the settings'
    // check box), and into UTF-8 a UTF-8 file without one gets one.
    WithByteOrderMark = 16,
};

constexpr ConversionMask operator|(ConversionMask a, ConversionMask b) {
    return static_cast<ConversionMask>(static_cast<std::int32_t>(a) | static_cast<std::int32_t>(b));
}
constexpr ConversionMask operator&(ConversionMask a, ConversionMask b) {
    return static_cast<ConversionMask>(static_cast<std::int32_t>(a) & static_cast<std::int32_t>(b));
}
// The mask's direction alone, without WithByteOrderMark.
constexpr ConversionMask DirectionOf(ConversionMask mask) {
    return static_cast<ConversionMask>(
        static_cast<std::int32_t>(mask) &
        ~static_cast<std::int32_t>(ConversionMask::WithByteOrderMark));
}
// Whether the mask converts into any of the encodings of into.
constexpr bool Includes(ConversionMask mask, ConversionMask into) {
    return (mask & into) != ConversionMask::None;
}
