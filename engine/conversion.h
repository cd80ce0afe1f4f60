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
// and writer, or through the UTF-8 transcoder (engine/utf8_transcode.h).
enum class Transcoder { CodeByCode, IntoUtf8, FromUtf8 };

struct ConversionRule {
    ConversionMask targetMask;  // the one bit of the encoding the rule converts into
    DetectionCode sourceCode;
    CodeReader reader;  // CodeByCode only, as the mapper and the writer
    CodeMapper mapper;
    CodeWriter writer;
    StreamMode outputMode;  // WriteText (LF out as CR LF) or WriteBinary
    Transcoder transcoder;
    LegacyEncoding legacy;  // IntoUtf8: the source's encoding; FromUtf8: the target's
    StreamMode inputMode;   // ReadText, or ReadBinary into UTF-8 (line ends stay)
};

enum class RuleOutcome { Skip, Convert, Copy };

// Skip for undetermined files, Convert with *rule set, or Copy. A UTF-8 file
// is converted only into Shift-JIS or EUC-JP alone: both ways means each file
// into the other of those two, and UTF-8 is neither, so it is copied.
RuleOutcome FindConversionRule(DetectionCode code, ConversionMask mask,
                               const ConversionRule** rule);
// As FindConversionRule for the item's code, except for a file decided as
// UTF-8 that the user then marked in the review: marked as EUC-JP (to become
// Shift-JIS) or as Shift-JIS (to become EUC-JP), it is converted from UTF-8
// into that encoding, with 〓 for each character that has no cell there
// (*substitute set). *substitute is false otherwise.
RuleOutcome FindItemRule(const WorkItem* item, ConversionMask mask, const ConversionRule** rule,
                         bool* substitute);
// Converts by the rule, the input opened with its inputMode and the output
// with its outputMode. CodeByCode rules always give Complete; the others say
// what engine/utf8_transcode.h says (on NoCell the output is marked failed).
Utf8Result ConvertStream(ByteStream* input, ByteStream* output, const ConversionRule* rule,
                         bool substitute);
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
// WriteBinary).
constexpr int kUtf8ConversionRuleCount = 5;
extern const ConversionRule Utf8ConversionTable[kUtf8ConversionRuleCount];
