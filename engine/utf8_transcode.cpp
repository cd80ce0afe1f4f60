#include "engine/utf8_transcode.h"

#include <cstring>

#include "engine/cell_lookup.h"
#include "engine/conversion.h"
#include "engine/cp932_table.h"
#include "engine/mappers.h"
#include "engine/readers.h"
#include "engine/utf8.h"
#include "engine/word_scan.h"

namespace {

constexpr int kLf = 0x0A;
constexpr int kEndMark = 0x1A;
constexpr int kEscape = 0x1B;
// Puts out packed UTF-8 (engine/utf8.h): all four bytes of the word, of
// which the ones beyond its length are written over later. Needs room for four.
inline unsigned char* PutPacked(unsigned char* q, std::uint32_t packed) {
    std::memcpy(q, &packed, sizeof packed);
    return q + PackedUtf8Length(packed);
}

void WritePacked(ByteStream* output, std::uint32_t packed) {
    for (int i = 0; i < PackedUtf8Length(packed); i++) {
        StreamWriteByte(output, static_cast<int>((packed >> (8 * i)) & 0xFF));
    }
}

// ---- into UTF-8 ---------------------------------------------------------------

inline bool IsJisByte(unsigned b) { return b >= 0x21 && b <= 0x7E; }
inline bool IsEucJpByte(unsigned b) { return b >= 0xA1 && b <= 0xFE; }
inline bool IsKatakana(unsigned b) { return b >= 0xA1 && b <= 0xDF; }

inline std::uint32_t JisPair(const Cp932Tables& t, unsigned first, unsigned second) {
    return t.jisUtf8[(first - 0x21) * kJisCells + (second - 0x21)];
}

inline std::uint32_t ShiftJisCell(const Cp932Tables& t, std::uint32_t cell) {
    if (cell < 0x100) return t.singleUtf8[cell];
    return t.pairUtf8[t.leadRow[(cell >> 8) & 0xFF]][cell & 0xFF];
}

// What one character from a reader is in UTF-8.
struct IntoChar {
    std::uint32_t packed;  // 0 when it has none
    bool endMark;          // the 0x1A that ends the text
    std::int32_t missing;  // when it has none: the value to report
};

IntoChar Missing(std::int32_t value) { return {0, false, value}; }
IntoChar Found(const Cp932Tables& t, std::uint32_t cell, std::int32_t value) {
    std::uint32_t packed = ShiftJisCell(t, cell);
    return {packed, false, packed == 0 ? value : -1};
}

// The reader's value, as engine/readers.h returns it from a stream opened
// ReadBinary: the 0x1A at which ReadText would have ended the input arrives
// as a byte; as the first byte of a character it ends the text, as the
// second it cuts the character short.
IntoChar FromShiftJis(const Cp932Tables& t, CodeChar value, unsigned char) {
    if (value == kEndMark) return {0, true, -1};
    if (value > 0xFF && (value & 0xFF) == kEndMark) return Missing(value >> 8);
    return Found(t, static_cast<std::uint32_t>(value), value);
}

IntoChar FromEucJp(const Cp932Tables& t, CodeChar value, unsigned char) {
    if (value == kEndMark) return {0, true, -1};
    if (value < 0x80) return Found(t, static_cast<std::uint32_t>(value), value);
    if (value <= 0xFF) return Missing(value);  // no character is one 8-bit byte
    unsigned first = static_cast<unsigned>(value) >> 8;
    unsigned second = static_cast<unsigned>(value) & 0xFF;
    if (second == kEndMark) return Missing(static_cast<std::int32_t>(first));
    bool character = first == 0x8E ? IsKatakana(second) : IsEucJpByte(first) && IsEucJpByte(second);
    if (!character) return Missing(value);
    return Found(t, static_cast<std::uint32_t>(EucJpToShiftJis(value)), value);
}

IntoChar FromIso2022Jp(const Cp932Tables& t, CodeChar value, unsigned char kanjiMode) {
    // An escape sequence that the reader did not recognise comes back as its
    // first byte or two: not text in this encoding.
    if (value == kEscape || value == 0x1B24 || value == 0x1B28) return Missing(value);
    if (kanjiMode == OneByteMode) {
        if (value == kEndMark) return {0, true, -1};
        if (value < 0x80 || IsKatakana(static_cast<unsigned>(value)))
            return Found(t, static_cast<std::uint32_t>(value), value);
        return Missing(value);
    }
    unsigned first = static_cast<unsigned>(value) >> 8;
    unsigned second = static_cast<unsigned>(value) & 0xFF;
    if (value == kEndMark || first == kEndMark) return {0, true, -1};
    if (value <= 0xFF) return Missing(value);  // a lone byte in two-byte mode
    if (second == kEndMark) return Missing(static_cast<std::int32_t>(first));
    if (!IsJisByte(first) || !IsJisByte(second)) return Missing(value);
    return Found(t, static_cast<std::uint32_t>(JisToShiftJis(value)), value);
}

// A character of 0x80 or above at p, with a byte after it in the block:
// its UTF-8 form, packed, and its length in the source; 0 when it has none.
inline std::uint32_t ShiftJisHighChar(const Cp932Tables& t, const unsigned char* p, int* length) {
    unsigned row = t.leadRow[p[0]];
    *length = row != 0 ? 2 : 1;
    return row != 0 ? t.pairUtf8[row][p[1]] : t.singleUtf8[p[0]];
}

inline std::uint32_t EucJpHighChar(const Cp932Tables& t, const unsigned char* p, int* length) {
    *length = 2;
    if (IsEucJpByte(p[0]) && IsEucJpByte(p[1])) return JisPair(t, p[0] - 0x80u, p[1] - 0x80u);
    if (p[0] == 0x8E && IsKatakana(p[1])) return t.singleUtf8[p[1]];
    return 0;
}

using HighCharLookup = std::uint32_t (*)(const Cp932Tables&, const unsigned char*, int*);

// The runs that need no decision, straight from block to block: for
// Shift-JIS and EUC-JP, plain 7-bit text and the characters whose cells
// have a UTF-8 form, alternately (every position between two characters is
// a character start); for ISO-2022-JP, the mode switches, plain text in
// one-byte mode and JIS X 0208 pairs in two-byte mode. Anything else (a
// block's end, 0x1A, a character without a form, an unusual escape) is left
// to the reader. Returns whether anything was taken.
template <HighCharLookup LookUp>
bool StatelessRuns(ByteStream* input, ByteStream* output, const Cp932Tables& t, unsigned char*) {
    auto [p, end, q, limit] = StartBlockRun(input, output);
    for (;;) {
        CopyPlainRun<kEndMark, kNoStop, false>(&p, end, &q, limit);
        unsigned char* before = p;
        while (end - p >= 2 && limit - q >= 4 && *p >= 0x80) {
            int length = 0;
            std::uint32_t packed = LookUp(t, p, &length);
            if (packed == 0) break;
            p += length;
            q = PutPacked(q, packed);
        }
        if (p == before) break;
    }
    return StreamsMovedTo(input, p, output, q);
}

bool Iso2022JpRuns(ByteStream* input, ByteStream* output, const Cp932Tables& t,
                   unsigned char* kanjiMode) {
    auto [p, end, q, limit] = StartBlockRun(input, output);
    for (;;) {
        unsigned char* before = p;
        if (*kanjiMode == OneByteMode) {
            CopyPlainRun<kEndMark, kEscape, false>(&p, end, &q, limit);
            while (p < end && limit - q >= 4 && IsKatakana(*p))
                q = PutPacked(q, t.singleUtf8[*p++]);
        } else {
            while (end - p >= 2 && limit - q >= 4 && IsJisByte(p[0]) && IsJisByte(p[1])) {
                std::uint32_t packed = JisPair(t, p[0], p[1]);
                if (packed == 0) break;
                p += 2;
                q = PutPacked(q, packed);
            }
        }
        p += ModeSwitchAt(p, end, kanjiMode);
        if (p == before) break;
    }
    return StreamsMovedTo(input, p, output, q);
}

using RunsFunction = bool (*)(ByteStream*, ByteStream*, const Cp932Tables&, unsigned char*);
using IntoFunction = IntoChar (*)(const Cp932Tables&, CodeChar, unsigned char);

template <CodeReader Read, IntoFunction Classify, RunsFunction Runs>
Utf8Result IntoUtf8(ByteStream* input, ByteStream* output) {
    const Cp932Tables& t = Cp932();
    Utf8Result result;
    unsigned char kanjiMode = OneByteMode;
    for (;;) {
        while (Runs(input, output, t, &kanjiMode)) {
        }
        CodeChar value = Read(input, &kanjiMode);
        if (value == EndOfInput) break;
        IntoChar c = Classify(t, value, kanjiMode);
        if (c.endMark) break;
        if (c.packed == 0) {
            result.outcome = Utf8Outcome::NoCell;
            result.firstMissing = c.missing;
            StreamMarkFailed(output);
            break;
        }
        WritePacked(output, c.packed);
    }
    return result;
}

// ---- from UTF-8 -----------------------------------------------------------------

// The next character of a UTF-8 stream (length 0 at its end), with
// DecodeUtf8's rules; a sequence cut by the end of the input is malformed.
// The byte that breaks a sequence is pushed back: it starts the next one.
Utf8Char ReadUtf8Char(ByteStream* input) {
    int b = StreamReadByte(input);
    if (b < 0) return {kMalformedUtf8, 0};
    const Utf8Lead& lead = Utf8LeadOf(static_cast<unsigned char>(b));
    if (lead.continuations < 0) return {kMalformedUtf8, 1};
    std::uint32_t codePoint = Utf8LeadBits(static_cast<unsigned char>(b), lead.continuations);
    int low = lead.low;
    int high = lead.high;
    for (int i = 1; i <= lead.continuations; i++) {
        int c = StreamReadByte(input);
        if (c < low || c > high) {
            StreamUnreadByte(input, c);  // the end is not pushed back
            return {kMalformedUtf8, i};
        }
        codePoint = (codePoint << 6) | (static_cast<unsigned>(c) & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    return {static_cast<std::int32_t>(codePoint), lead.continuations + 1};
}

void SkipByteOrderMark(ByteStream* input) {
    int read[3];
    int count = 0;
    while (count < 3) {
        read[count] = StreamReadByte(input);
        if (read[count] != kUtf8ByteOrderMark[count]) break;
        count++;
    }
    if (count == 3) return;
    // Not a mark: every byte goes back, the last read first.
    for (int i = count; i >= 0; i--) StreamUnreadByte(input, read[i]);
}

// The characters that need no decision, straight from block to block: plain
// 7-bit text (with LF put out as CR LF when the output is WriteText) and
// well-formed characters that have a cell. A block's end, anything
// malformed and a character without a cell are left to the character loop.
template <bool kCrLf>
bool FromUtf8Runs(ByteStream* input, ByteStream* output, const std::uint16_t* table) {
    auto [p, end, q, limit] = StartBlockRun(input, output);
    for (;;) {
        CopyPlainRun<kNoStop, kNoStop, kCrLf>(&p, end, &q, limit);
        unsigned char* before = p;
        while (p < end && *p >= 0x80 && limit - q >= 2) {
            const Utf8Lead& lead = Utf8LeadOf(*p);
            // Four-byte forms (beyond U+FFFF) have no cell: the loop tells.
            if (lead.continuations < 1 || lead.continuations > 2 || end - p <= lead.continuations)
                break;
            if (p[1] < lead.low || p[1] > lead.high) break;
            std::uint32_t codePoint = Utf8LeadBits(p[0], lead.continuations);
            codePoint = (codePoint << 6) | (p[1] & 0x3Fu);
            if (lead.continuations == 2) {
                if ((p[2] & 0xC0) != 0x80) break;
                codePoint = (codePoint << 6) | (p[2] & 0x3Fu);
            }
            std::uint32_t code = table[codePoint];
            if (code == 0) break;
            p += lead.continuations + 1;
            if (code > 0xFF) *q++ = static_cast<unsigned char>(code >> 8);
            *q++ = static_cast<unsigned char>(code);
        }
        if (p == before) break;
    }
    return StreamsMovedTo(input, p, output, q);
}

template <bool kCrLf>
Utf8Result FromUtf8(ByteStream* input, ByteStream* output, const std::uint16_t* table,
                    std::uint32_t substitute) {
    Utf8Result result;
    SkipByteOrderMark(input);
    for (;;) {
        while (FromUtf8Runs<kCrLf>(input, output, table)) {
        }
        Utf8Char c = ReadUtf8Char(input);
        if (c.length == 0) break;
        if (!PutInTarget(c.codePoint, table, substitute, &result, output)) break;
    }
    return result;
}

}  // namespace

Utf8Result TranscodeIntoUtf8(ByteStream* input, ByteStream* output, LegacyEncoding source) {
    Utf8Result result;
    switch (source) {
        case LegacyEncoding::ShiftJis:
            result = IntoUtf8<ReadShiftJisChar, FromShiftJis, StatelessRuns<ShiftJisHighChar>>(
                input, output);
            break;
        case LegacyEncoding::EucJp:
            result =
                IntoUtf8<ReadEucJpChar, FromEucJp, StatelessRuns<EucJpHighChar>>(input, output);
            break;
        case LegacyEncoding::Iso2022Jp:
            result = IntoUtf8<ReadIso2022JpChar, FromIso2022Jp, Iso2022JpRuns>(input, output);
            break;
    }
    // The input ended early on a read error: the output is only part of the
    // text, and closing it must say so.
    if (StreamFailed(input)) StreamMarkFailed(output);
    return result;
}

Utf8Result TranscodeFromUtf8(ByteStream* input, ByteStream* output, LegacyEncoding target,
                             bool substitute) {
    const Cp932Tables& t = Cp932();
    Utf8Result result;
    if (target == LegacyEncoding::Iso2022Jp) {
        // Not a target of this conversion: nothing is written, and the output says so.
        result.outcome = Utf8Outcome::NoCell;
        StreamMarkFailed(output);
        return result;
    }
    const bool shiftJis = target == LegacyEncoding::ShiftJis;
    const std::uint16_t* table = shiftJis ? t.shiftJis : t.eucJp;
    std::uint32_t mark = !substitute ? 0 : shiftJis ? kGetaMarkShiftJis : kGetaMarkEucJp;
    if (output->writeSpecial == kLf) {
        result = FromUtf8<true>(input, output, table, mark);
    } else {
        result = FromUtf8<false>(input, output, table, mark);
    }
    if (StreamFailed(input)) StreamMarkFailed(output);
    return result;
}
