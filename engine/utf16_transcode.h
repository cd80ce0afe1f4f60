// Conversions out of UTF-16 (engine/utf16.h: a file that starts with its
// byte-order mark) into Shift-JIS, EUC-JP or UTF-8. Into Shift-JIS and EUC-JP
// the characters go through code page 932's table exactly as from UTF-8
// (engine/utf8_transcode.h), and a character without a cell is handled as
// there; the mark is dropped. The input is opened ReadBinary: UTF-16's line
// ends and end mark are code units, which text mode cannot see, so the
// conversion translates them itself as ReadText does for the other
// encodings. Into Shift-JIS and EUC-JP a CR LF pair is one LF (which a
// WriteText output writes as CR LF), as from UTF-8; into UTF-8 the line ends
// stay as they are. The first U+001A ends the text either way.
#pragma once

#include "engine/byte_stream.h"
#include "engine/detection_code.h"
#include "engine/utf16.h"
#include "engine/utf8_transcode.h"

// The modes to open the streams in.
constexpr StreamMode kFromUtf16InputMode = StreamMode::ReadBinary;
constexpr StreamMode FromUtf16OutputMode(ConversionMask into) {
    return into == ConversionMask::IntoShiftJis ? StreamMode::WriteText : StreamMode::WriteBinary;
}

// into is IntoShiftJis, IntoEucJp or IntoUtf8 (any other writes nothing and
// says NoCell). As TranscodeFromUtf8 otherwise: without `substitute` a
// character without a cell stops the conversion with NoCell, and the output
// is marked failed; with it, each such character becomes 〓. Broken UTF-16
// (a lone surrogate, a unit cut by the end) counts as a character without a
// cell, kMalformedUtf16; into UTF-8, where every other character has a
// form, it stops the conversion, substitute or not. A read error of the
// input marks the output failed too.
Utf8Result TranscodeFromUtf16(ByteStream* input, ByteStream* output, ByteOrder order,
                              ConversionMask into, bool substitute);
