#include "engine/conversion.h"

#include <cstring>

#include "engine/mappers.h"
#include "engine/readers.h"
#include "engine/word_scan.h"

const ConversionRule ConversionTable[kConversionRuleCount] = {
    {IntoEucJp, ShiftJis, ReadShiftJisChar, ShiftJisToEucJp, WriteCodeChar, "wb"},
    {IntoShiftJis, EucJp, ReadEucJpChar, EucJpToShiftJis, WriteCodeChar, "w"},
    {IntoShiftJis, Iso2022Jp, ReadIso2022JpChar, JisToShiftJis, WriteCodeChar, "w"},
    {IntoEucJp, Iso2022Jp, ReadIso2022JpChar, JisToEucJp, WriteCodeChar, "wb"},
};

RuleOutcome FindConversionRule(DetectionCode code, ConversionMask mask, const ConversionRule** rule) {
    if (rule != nullptr) *rule = nullptr;
    if (code == Undetermined) return RuleOutcome::Skip;
    for (const ConversionRule& row : ConversionTable) {
        if ((row.targetMask & mask) != 0 && row.sourceCode == code) {
            if (rule != nullptr) *rule = &row;
            return RuleOutcome::Convert;
        }
    }
    return RuleOutcome::Copy;
}

namespace {

constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kEscape = 0x1B;

// Copies the run of 7-bit bytes other than ESC that starts at the input's
// read position straight into the output block, as far as both blocks
// allow. Each such byte is a character of its own for every reader (in the
// one-byte mode of ISO-2022-JP), every mapper returns it unchanged, and the
// writer puts it out as one byte, with a CR before an LF in "w": so copying
// gives exactly the bytes that reading, mapping and writing one by one would.
void CopyPlainRun(ByteStream* input, ByteStream* output) {
    unsigned char* p = input->readNext;
    const unsigned char* end = input->readEnd;
    unsigned char* q = output->writeNext;
    const unsigned char* limit = output->writeEnd;
    const bool crLf = output->writeSpecial == kLf;
    for (;;) {
        if (end - p >= 8 && limit - q >= 8) {
            // Eight bytes at a time (see engine/word_scan.h).
            std::uint64_t word = LoadWord(p);
            std::uint64_t stop = HighBytes(word) | BytesEqualTo(word, kEscape);
            if (crLf) stop |= BytesEqualTo(word, kLf);
            std::memcpy(q, &word, sizeof word);  // the bytes beyond a stop are written over later
            if (stop == 0) {
                p += 8;
                q += 8;
                continue;
            }
            auto plain = static_cast<std::size_t>(BytesBeforeFirst(stop));
            p += plain;
            q += plain;
        }
        // One byte: the end of a block, or the byte that stopped the word.
        if (p == end || q == limit) break;
        unsigned char b = *p;
        if (b >= 0x80 || b == kEscape) break;
        if (b == kLf && crLf) {
            if (limit - q < 2) break;
            *q++ = kCr;
        }
        *q++ = b;
        p++;
    }
    input->readNext = p;
    output->writeNext = q;
}

// The loop with the reader and the mapper known at compile time, so that
// both and the writer are inlined: no call per character. After a 7-bit
// character in one-byte mode, the plain text that follows is copied in bulk.
template <CodeReader Read, CodeMapper Map>
void TranscodeWith(ByteStream* input, ByteStream* output) {
    unsigned char kanjiMode = OneByteMode;
    for (;;) {
        CodeChar c = Read(input, &kanjiMode);
        if (c == EndOfInput) break;
        WriteCodeChar(Map(c), output);
        if (c < 0x80 && kanjiMode == OneByteMode) CopyPlainRun(input, output);
    }
}

void TranscodeThrough(ByteStream* input, ByteStream* output, const ConversionRule* rule) {
    unsigned char kanjiMode = OneByteMode;
    for (CodeChar c = rule->reader(input, &kanjiMode); c != EndOfInput;
         c = rule->reader(input, &kanjiMode)) {
        rule->writer(rule->mapper(c), output);
    }
}

template <CodeReader Read, CodeMapper Map>
bool Uses(const ConversionRule* rule) {
    return rule->reader == Read && rule->mapper == Map && rule->writer == WriteCodeChar;
}

}  // namespace

void TranscodeStream(ByteStream* input, ByteStream* output, const ConversionRule* rule) {
    if (input == nullptr || output == nullptr || rule == nullptr) return;
    if (Uses<ReadShiftJisChar, ShiftJisToEucJp>(rule)) {
        TranscodeWith<ReadShiftJisChar, ShiftJisToEucJp>(input, output);
    } else if (Uses<ReadEucJpChar, EucJpToShiftJis>(rule)) {
        TranscodeWith<ReadEucJpChar, EucJpToShiftJis>(input, output);
    } else if (Uses<ReadIso2022JpChar, JisToShiftJis>(rule)) {
        TranscodeWith<ReadIso2022JpChar, JisToShiftJis>(input, output);
    } else if (Uses<ReadIso2022JpChar, JisToEucJp>(rule)) {
        TranscodeWith<ReadIso2022JpChar, JisToEucJp>(input, output);
    } else {
        TranscodeThrough(input, output, rule);
    }
    // The input ended early on a read error: the output is only part of the
    // text, and closing it must say so rather than let it replace the file.
    if (StreamFailed(input)) StreamMarkFailed(output);
}
