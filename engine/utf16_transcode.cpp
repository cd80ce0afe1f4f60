#include "engine/utf16_transcode.h"

#include "engine/cell_lookup.h"
#include "engine/cp932_table.h"
#include "engine/word_scan.h"

namespace {

constexpr int kLf = 0x0A;
constexpr int kCr = 0x0D;
constexpr int kEndMark = static_cast<int>(kUtf16EndMark);

// What a conversion writes: into UTF-8, or into Shift-JIS or EUC-JP through
// the table (Shift-JIS with CR LF line ends).
enum class Into { ShiftJis, EucJp, Utf8 };

template <bool kBigEndian>
inline std::uint32_t UnitAt(const unsigned char* p) {
    return Utf16Unit(p, kBigEndian ? ByteOrder::BigEndian : ByteOrder::LittleEndian);
}

// The next character of the stream, with DecodeUtf16's rules (length 0 at
// its end); a unit or a pair cut by the end is malformed. The unit after a
// lone high surrogate is read again: it starts the next character.
Utf16Char ReadUtf16Char(ByteStream* input, ByteOrder order) {
    int first = StreamReadByte(input);
    if (first < 0) return {kMalformedUtf16, 0};
    int second = StreamReadByte(input);
    if (second < 0) return {kMalformedUtf16, 1};
    unsigned char bytes[4] = {static_cast<unsigned char>(first),
                              static_cast<unsigned char>(second)};
    std::uint32_t unit = Utf16Unit(bytes, order);
    if (IsLowSurrogate(unit)) return {kMalformedUtf16, 2};
    if (!IsHighSurrogate(unit)) return {static_cast<std::int32_t>(unit), 2};
    int third = StreamReadByte(input);
    int fourth = third < 0 ? -1 : StreamReadByte(input);
    if (fourth >= 0) {
        bytes[2] = static_cast<unsigned char>(third);
        bytes[3] = static_cast<unsigned char>(fourth);
        std::uint32_t low = Utf16Unit(bytes + 2, order);
        if (IsLowSurrogate(low)) return {static_cast<std::int32_t>(SurrogatePair(unit, low)), 4};
    }
    // Pushed back the last first; the end marker is not pushed back.
    StreamUnreadByte(input, fourth);
    StreamUnreadByte(input, third);
    return {kMalformedUtf16, 2};
}

// Whether the next unit is LF; it stays to be read.
bool NextIsLineFeed(ByteStream* input, ByteOrder order) {
    int first = StreamReadByte(input);
    int second = first < 0 ? -1 : StreamReadByte(input);
    StreamUnreadByte(input, second);
    StreamUnreadByte(input, first);
    if (second < 0) return false;
    const unsigned char bytes[2] = {static_cast<unsigned char>(first),
                                    static_cast<unsigned char>(second)};
    return Utf16Unit(bytes, order) == kLf;
}

void SkipByteOrderMark(ByteStream* input, ByteOrder order) {
    int first = StreamReadByte(input);
    int second = first < 0 ? -1 : StreamReadByte(input);
    ByteOrder named = order;
    if (second >= 0 &&
        Utf16MarkOrder(static_cast<unsigned char>(first), static_cast<unsigned char>(second),
                       &named) &&
        named == order) {
        return;
    }
    StreamUnreadByte(input, second);
    StreamUnreadByte(input, first);
}

// Puts the character out in UTF-8; false, with the output marked failed,
// for broken UTF-16, which has no form.
bool PutUtf8(std::int32_t codePoint, Utf8Result* result, ByteStream* output) {
    unsigned char bytes[4];
    int length = codePoint < 0 ? 0 : EncodeUtf8(static_cast<std::uint32_t>(codePoint), bytes);
    if (length == 0) {
        result->outcome = Utf8Outcome::NoCell;
        result->firstMissing = codePoint;
        StreamMarkFailed(output);
        return false;
    }
    for (int i = 0; i < length; i++) StreamWriteByte(output, bytes[i]);
    return true;
}

// How many units the loops below take one by one before they look for a
// stretch of plain text again: Japanese text mixes short runs of both.
constexpr int kUnitsBetweenPlainRuns = 16;

// The runs that need no decision, straight from block to block, as
// FromUtf8Runs does for UTF-8: stretches of plain 7-bit text eight units at
// a time, and between them unit by unit plain text, line ends (CR LF or LF
// is one LF, written CR LF into Shift-JIS; a CR alone stays) and characters
// that have a code in the table. A block's end, the end mark, a CR whose
// next unit lies beyond the block, and a character without a code are left
// to the character loop. Returns whether anything was taken.
template <bool kBigEndian, bool kCrLf>
bool TableRuns(ByteStream* input, ByteStream* output, const std::uint16_t* table) {
    auto [p, end, q, limit] = StartBlockRun(input, output);
    for (;;) {
        unsigned char* before = p;
        NarrowPlainRun<kBigEndian, kEndMark, kCr, kCrLf ? kLf : kNoStop>(&p, end, &q, limit);
        // Each unit puts out two bytes at the most.
        for (int n = 0; n < kUnitsBetweenPlainRuns && end - p >= 2 && limit - q >= 2; n++) {
            std::uint32_t unit = UnitAt<kBigEndian>(p);
            if (unit >= 0x80) {
                std::uint32_t code = table[unit];  // none for a surrogate
                if (code == 0) break;
                if (code > 0xFF) *q++ = static_cast<unsigned char>(code >> 8);
                *q++ = static_cast<unsigned char>(code);
                p += 2;
                continue;
            }
            if (unit == kEndMark) break;
            if (unit == kCr) {
                if (end - p < 4) break;
                if (UnitAt<kBigEndian>(p + 2) == kLf) {
                    p += 2;  // the LF stands for both
                    unit = kLf;
                }
            }
            if (kCrLf && unit == kLf) *q++ = kCr;
            *q++ = static_cast<unsigned char>(unit);
            p += 2;
        }
        if (p == before) break;
    }
    return StreamsMovedTo(input, p, output, q);
}

// The same into UTF-8: plain text (line ends too), and every character
// beyond it that is whole, pairs included.
template <bool kBigEndian>
bool Utf8Runs(ByteStream* input, ByteStream* output, const std::uint16_t*) {
    auto [p, end, q, limit] = StartBlockRun(input, output);
    for (;;) {
        unsigned char* before = p;
        NarrowPlainRun<kBigEndian, kEndMark, kNoStop, kNoStop>(&p, end, &q, limit);
        // Each unit puts out three bytes at the most, a pair four.
        for (int n = 0; n < kUnitsBetweenPlainRuns && end - p >= 2 && limit - q >= 4; n++) {
            std::uint32_t unit = UnitAt<kBigEndian>(p);
            if (unit < 0x80) {
                if (unit == kEndMark) break;
                *q++ = static_cast<unsigned char>(unit);
                p += 2;
            } else if (unit < 0x800) {
                q[0] = static_cast<unsigned char>(0xC0 | (unit >> 6));
                q[1] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
                q += 2;
                p += 2;
            } else if (unit < 0xD800 || unit > 0xDFFF) {
                q[0] = static_cast<unsigned char>(0xE0 | (unit >> 12));
                q[1] = static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F));
                q[2] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
                q += 3;
                p += 2;
            } else {
                if (IsLowSurrogate(unit) || end - p < 4) break;
                std::uint32_t low = UnitAt<kBigEndian>(p + 2);
                if (!IsLowSurrogate(low)) break;
                q += EncodeUtf8(SurrogatePair(unit, low), q);
                p += 4;
            }
        }
        if (p == before) break;
    }
    return StreamsMovedTo(input, p, output, q);
}

template <bool kBigEndian, Into kInto>
Utf8Result FromUtf16(ByteStream* input, ByteStream* output, const std::uint16_t* table,
                     std::uint32_t substitute) {
    constexpr ByteOrder kOrder = kBigEndian ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
    Utf8Result result;
    SkipByteOrderMark(input, kOrder);
    for (;;) {
        if constexpr (kInto == Into::Utf8) {
            while (Utf8Runs<kBigEndian>(input, output, table)) {
            }
        } else {
            while (TableRuns<kBigEndian, kInto == Into::ShiftJis>(input, output, table)) {
            }
        }
        Utf16Char c = ReadUtf16Char(input, kOrder);
        if (c.length == 0 || c.codePoint == kEndMark) break;
        if constexpr (kInto == Into::Utf8) {
            if (!PutUtf8(c.codePoint, &result, output)) break;
        } else {
            // The CR of a CR LF pair: the LF alone stands for both.
            if (c.codePoint == kCr && NextIsLineFeed(input, kOrder)) continue;
            if (!PutInTarget(c.codePoint, table, substitute, &result, output)) break;
        }
    }
    return result;
}

template <Into kInto>
Utf8Result FromUtf16In(ByteStream* input, ByteStream* output, ByteOrder order,
                       const std::uint16_t* table, std::uint32_t substitute) {
    return order == ByteOrder::BigEndian
               ? FromUtf16<true, kInto>(input, output, table, substitute)
               : FromUtf16<false, kInto>(input, output, table, substitute);
}

}  // namespace

Utf8Result TranscodeFromUtf16(ByteStream* input, ByteStream* output, ByteOrder order,
                              ConversionMask into, bool substitute) {
    const Cp932Tables& t = Cp932();
    Utf8Result result;
    switch (into) {
        case ConversionMask::IntoShiftJis:
            result = FromUtf16In<Into::ShiftJis>(input, output, order, t.shiftJis,
                                                 substitute ? kGetaMarkShiftJis : 0);
            break;
        case ConversionMask::IntoEucJp:
            result = FromUtf16In<Into::EucJp>(input, output, order, t.eucJp,
                                              substitute ? kGetaMarkEucJp : 0);
            break;
        case ConversionMask::IntoUtf8:
            result = FromUtf16In<Into::Utf8>(input, output, order, nullptr, 0);
            break;
        default:
            // Not a target of this conversion: nothing is written, and the output says so.
            result.outcome = Utf8Outcome::NoCell;
            StreamMarkFailed(output);
            return result;
    }
    if (StreamFailed(input)) StreamMarkFailed(output);
    return result;
}
