// The conversion table: for each source encoding and direction, which reader,
// mapper and writer transcode a file, and how its output is opened.
#pragma once

#include <cstdint>

#include "engine/byte_stream.h"
#include "engine/detection_code.h"
#include "engine/utf8_transcode.h"
#include "engine/work_item.h"

// One character: 0x00-0xFF one byte, 0x0100-0xFFFF two bytes (first in bits 8-15).
using CodeChar = std::int32_t;
constexpr CodeChar EndOfInput = -1;

using CodeReader = CodeChar (*)(ByteStream* input, unsigned char* kanjiMode);
using CodeMapper = CodeChar (*)(CodeChar value);
using CodeWriter = void (*)(CodeChar value, ByteStream* output);

// How a rule converts: character by character through its reader, mapper
// and writer; through the UTF-8 transcoder (engine/utf8_transcode.h) or the
// UTF-16 one (engine/utf16_transcode.h); or byte for byte (a UTF-8 file
// that only gains a byte-order mark).
enum class Transcoder { CodeByCode, IntoUtf8, FromUtf8, FromUtf16, CopyBytes };

struct ConversionRule {
    ConversionMask targetMask;  // the one bit of the encoding the rule converts into
    DetectionCode sourceCode;
    CodeReader reader;  // CodeByCode only, as the mapper and the writer
    CodeMapper mapper;
    CodeWriter writer;
    StreamMode outputMode;  // WriteText (LF out as CR LF) or WriteBinary
    Transcoder transcoder;
    // IntoUtf8: the source's encoding; FromUtf8: the target's; unused by the
    // others (FromUtf16 takes its target from targetMask, its byte order
    // from sourceCode).
    LegacyEncoding legacy;
    StreamMode inputMode;  // ReadText, or ReadBinary into UTF-8 (line ends stay)
};

enum class RuleOutcome { Skip, Convert, Copy };

// What a conversion does beyond its rule.
struct ConversionOptions {
    // From UTF-8 or UTF-16 into Shift-JIS or EUC-JP: each character without a
    // cell is written as 〓 (the user asked for the conversion in the review).
    bool substitute = false;
    // Into UTF-8: the output starts with the byte-order mark EF BB BF.
    bool byteOrderMark = false;
};

// Skip for undetermined files, Convert with *rule set, or Copy. A UTF-8 or
// UTF-16 file is converted only into one encoding alone: both ways means
// each file into the other of Shift-JIS and EUC-JP, and it is neither, so it
// is copied. Into UTF-8 a UTF-8 file is copied, unless the mask asks for the
// byte-order mark: then it is copied with the mark in front (FindItemRule
// leaves a file that has one alone).
RuleOutcome FindConversionRule(DetectionCode code, ConversionMask mask,
                               const ConversionRule** rule);
// As FindConversionRule for the item's code, except for a file decided as
// UTF-8 or UTF-16 that the user then marked in the review: marked as EUC-JP
// (to become Shift-JIS) or as Shift-JIS (to become EUC-JP), it is converted
// from its encoding into that one, with 〓 for each character that has no
// cell there (options->substitute); and for a UTF-8 file that starts with a
// byte-order mark, which a run into UTF-8 copies as it is. Into UTF-8, with
// the mask's WithByteOrderMark, options->byteOrderMark is set.
RuleOutcome FindItemRule(const WorkItem* item, ConversionMask mask, const ConversionRule** rule,
                         ConversionOptions* options);
// Converts by the rule, the input opened with its inputMode and the output
// with its outputMode, the byte-order mark first when options ask for it.
// CodeByCode and CopyBytes rules always give Complete; the others say what
// their transcoder says (on NoCell the output is marked failed).
Utf8Result ConvertStream(ByteStream* input, ByteStream* output, const ConversionRule* rule,
                         const ConversionOptions& options);
// Reads, maps and writes until the reader reports the end. The input must be
// opened ReadText, the output with the rule's outputMode.
void TranscodeStream(ByteStream* input, ByteStream* output, const ConversionRule* rule);

// The four rules, searched in this order: Shift-JIS into EUC-JP, EUC-JP into
// Shift-JIS, ISO-2022-JP into Shift-JIS, ISO-2022-JP into EUC-JP. Shift-JIS
// output is written WriteText (CR LF line ends), EUC-JP output WriteBinary
// (LF line ends).
constexpr int kConversionRuleCount = 4;
extern const ConversionRule ConversionTable[kConversionRuleCount];

// The rules through the UTF-8 transcoder, searched after those: Shift-JIS,
// EUC-JP and ISO-2022-JP into UTF-8 (ReadBinary, WriteBinary), and UTF-8
// into Shift-JIS (ReadText, WriteText) and into EUC-JP (ReadText,
// WriteBinary); then UTF-8 into UTF-8, byte for byte (ReadBinary,
// WriteBinary), for the byte-order mark alone.
constexpr int kUtf8ConversionRuleCount = 6;
extern const ConversionRule Utf8ConversionTable[kUtf8ConversionRuleCount];

// The rules through the UTF-16 transcoder, searched last: little-endian
// UTF-16 into Shift-JIS (WriteText), EUC-JP and UTF-8 (WriteBinary), then
// big-endian UTF-16 likewise; all read ReadBinary.
constexpr int kUtf16ConversionRuleCount = 6;
extern const ConversionRule Utf16ConversionTable[kUtf16ConversionRuleCount];
