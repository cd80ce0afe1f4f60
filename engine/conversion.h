// The conversion table: for each source encoding and direction, which reader,
// mapper and writer transcode a file, and how its output is opened.
#pragma once

#include <cstdint>

#include "engine/byte_stream.h"
#include "engine/detection_code.h"

// One character: 0x00-0xFF one byte, 0x0100-0xFFFF two bytes (first in bits 8-15).
using CodeChar = std::int32_t;
constexpr CodeChar EndOfInput = -1;

using CodeReader = CodeChar (*)(ByteStream* input, unsigned char* kanjiMode);
using CodeMapper = CodeChar (*)(CodeChar value);
using CodeWriter = void (*)(CodeChar value, ByteStream* output);

struct ConversionRule {
    ConversionMask targetMask;  // ConversionMask::IntoShiftJis or ConversionMask::IntoEucJp
    DetectionCode sourceCode;
    CodeReader reader;
    CodeMapper mapper;
    CodeWriter writer;
    StreamMode outputMode;  // WriteText (LF out as CR LF) or WriteBinary
};

enum class RuleOutcome { Skip, Convert, Copy };

// Skip for undetermined files, Convert with *rule set, or Copy.
RuleOutcome FindConversionRule(DetectionCode code, ConversionMask mask,
                               const ConversionRule** rule);
// Reads, maps and writes until the reader reports the end. The input must be
// opened ReadText, the output with the rule's outputMode.
void TranscodeStream(ByteStream* input, ByteStream* output, const ConversionRule* rule);

// The four rules, searched in this order: Shift-JIS into EUC-JP, EUC-JP into
// Shift-JIS, ISO-2022-JP into Shift-JIS, ISO-2022-JP into EUC-JP. Shift-JIS
// output is written WriteText (CR LF line ends), EUC-JP output WriteBinary
// (LF line ends).
constexpr int kConversionRuleCount = 4;
extern const ConversionRule ConversionTable[kConversionRuleCount];
