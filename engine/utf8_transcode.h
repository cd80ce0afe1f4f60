// Conversions between UTF-8 and the three older encodings, by way of code
// page 932 (engine/cp932_table.h). Each works on streams the caller opened
// and closes itself: the caller converts into a temporary file and puts it
// in place only when the outcome is not NoCell and both streams closed well.
//
// Into UTF-8, from Shift-JIS, EUC-JP or ISO-2022-JP: the input opened
// ReadBinary (CR LF stays CR LF, LF stays LF), the output WriteBinary, no
// byte-order mark. The
// first 0x1A ends the text (it is never part of a character in these
// encodings) and nothing after it is written. EUC-JP and ISO-2022-JP
// characters go through the Shift-JIS cell that the conversion into
// Shift-JIS gives them, so a text's UTF-8 form does not depend on which of
// the three it came in.
//
// From UTF-8, into Shift-JIS or EUC-JP: the input opened ReadText (CR LF
// arrives as LF, the first 0x1A ends it), the output WriteText for Shift-JIS
// (CR LF line ends) or WriteBinary for EUC-JP (LF). A byte-order mark at the
// start is dropped.
#pragma once

#include <cstdint>

#include "engine/byte_stream.h"

// The encodings a text comes from into UTF-8, or goes to from UTF-8.
enum class LegacyEncoding { ShiftJis, EucJp, Iso2022Jp };

// The modes to open the streams in, as above.
constexpr StreamMode kIntoUtf8InputMode = StreamMode::ReadBinary;
constexpr StreamMode kIntoUtf8OutputMode = StreamMode::WriteBinary;
constexpr StreamMode kFromUtf8InputMode = StreamMode::ReadText;
constexpr StreamMode FromUtf8OutputMode(LegacyEncoding target) {
    return target == LegacyEncoding::ShiftJis ? StreamMode::WriteText : StreamMode::WriteBinary;
}

enum class Utf8Outcome {
    Complete,  // every character was converted
    Replaced,  // written, with 〓 for each of `replaced` characters that have no cell
    NoCell,    // stopped at a character without a cell: the output must not be used
};

struct Utf8Result {
    Utf8Outcome outcome = Utf8Outcome::Complete;
    // The first character that has no cell (NoCell, Replaced), for telling the
    // user; -1 when there is none. From UTF-8 or UTF-16: its code point, or
    // kMalformedUtf8 (engine/utf8.h) for bytes that are not UTF-8 at all
    // (kMalformedUtf16, the same value, for broken UTF-16).
    // Into UTF-8: the character as the source encoding's reader returns it
    // (engine/readers.h): a byte, or two bytes with the first in bits 8-15;
    // a character cut short by the end of the text is its first byte alone.
    std::int32_t firstMissing = -1;
    // From UTF-8 or UTF-16 with substitution: how many characters became 〓.
    std::uint64_t replaced = 0;
};

// Into UTF-8. On NoCell the output is marked failed (engine/byte_stream.h),
// so that closing it reports false: a partial text is never taken for the
// result. A read error of the input marks it failed too.
Utf8Result TranscodeIntoUtf8(ByteStream* input, ByteStream* output, LegacyEncoding source);

// From UTF-8 into Shift-JIS or EUC-JP (not ISO-2022-JP). Without
// `substitute`, a character without a cell (an emoji, a kanji outside the
// sets, bytes that are not UTF-8) stops the conversion with NoCell, as
// above. With it, which the user asks for by choosing the conversion, each
// such character is written as 〓 and the outcome is Replaced.
Utf8Result TranscodeFromUtf8(ByteStream* input, ByteStream* output, LegacyEncoding target,
                             bool substitute);
