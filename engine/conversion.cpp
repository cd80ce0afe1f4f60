#include "engine/conversion.h"

#include <cstddef>
#include <cstring>

#include "engine/mappers.h"
#include "engine/pair_table.h"
#include "engine/readers.h"
#include "engine/utf16_transcode.h"
#include "engine/utf8.h"
#include "engine/word_scan.h"

const ConversionRule ConversionTable[kConversionRuleCount] = {
    {ConversionMask::IntoEucJp, DetectionCode::ShiftJis, ReadShiftJisChar, ShiftJisToEucJp,
     WriteCodeChar, StreamMode::WriteBinary, Transcoder::CodeByCode, LegacyEncoding::ShiftJis,
     StreamMode::ReadText},
    {ConversionMask::IntoShiftJis, DetectionCode::EucJp, ReadEucJpChar, EucJpToShiftJis,
     WriteCodeChar, StreamMode::WriteText, Transcoder::CodeByCode, LegacyEncoding::EucJp,
     StreamMode::ReadText},
    {ConversionMask::IntoShiftJis, DetectionCode::Iso2022Jp, ReadIso2022JpChar, JisToShiftJis,
     WriteCodeChar, StreamMode::WriteText, Transcoder::CodeByCode, LegacyEncoding::Iso2022Jp,
     StreamMode::ReadText},
    {ConversionMask::IntoEucJp, DetectionCode::Iso2022Jp, ReadIso2022JpChar, JisToEucJp,
     WriteCodeChar, StreamMode::WriteBinary, Transcoder::CodeByCode, LegacyEncoding::Iso2022Jp,
     StreamMode::ReadText},
};

const ConversionRule Utf8ConversionTable[kUtf8ConversionRuleCount] = {
    {ConversionMask::IntoUtf8, DetectionCode::ShiftJis, nullptr, nullptr, nullptr,
     kIntoUtf8OutputMode, Transcoder::IntoUtf8, LegacyEncoding::ShiftJis, kIntoUtf8InputMode},
    {ConversionMask::IntoUtf8, DetectionCode::EucJp, nullptr, nullptr, nullptr, kIntoUtf8OutputMode,
     Transcoder::IntoUtf8, LegacyEncoding::EucJp, kIntoUtf8InputMode},
    {ConversionMask::IntoUtf8, DetectionCode::Iso2022Jp, nullptr, nullptr, nullptr,
     kIntoUtf8OutputMode, Transcoder::IntoUtf8, LegacyEncoding::Iso2022Jp, kIntoUtf8InputMode},
    {ConversionMask::IntoShiftJis, DetectionCode::Utf8, nullptr, nullptr, nullptr,
     FromUtf8OutputMode(LegacyEncoding::ShiftJis), Transcoder::FromUtf8, LegacyEncoding::ShiftJis,
     kFromUtf8InputMode},
    {ConversionMask::IntoEucJp, DetectionCode::Utf8, nullptr, nullptr, nullptr,
     FromUtf8OutputMode(LegacyEncoding::EucJp), Transcoder::FromUtf8, LegacyEncoding::EucJp,
     kFromUtf8InputMode},
    {ConversionMask::IntoUtf8, DetectionCode::Utf8, nullptr, nullptr, nullptr,
     StreamMode::WriteBinary, Transcoder::CopyBytes, LegacyEncoding{}, StreamMode::ReadBinary},
};

namespace {

// One UTF-16 rule: its byte order and its target.
constexpr ConversionRule Utf16Rule(DetectionCode source, ConversionMask into) {
    return {into,
            source,
            nullptr,
            nullptr,
            nullptr,
            FromUtf16OutputMode(into),
            Transcoder::FromUtf16,
            LegacyEncoding{},
            kFromUtf16InputMode};
}

}  // namespace

const ConversionRule Utf16ConversionTable[kUtf16ConversionRuleCount] = {
    Utf16Rule(DetectionCode::Utf16Le, ConversionMask::IntoShiftJis),
    Utf16Rule(DetectionCode::Utf16Le, ConversionMask::IntoEucJp),
    Utf16Rule(DetectionCode::Utf16Le, ConversionMask::IntoUtf8),
    Utf16Rule(DetectionCode::Utf16Be, ConversionMask::IntoShiftJis),
    Utf16Rule(DetectionCode::Utf16Be, ConversionMask::IntoEucJp),
    Utf16Rule(DetectionCode::Utf16Be, ConversionMask::IntoUtf8),
};

namespace {

// The first row of the table whose source is the code and whose target the
// mask includes; null when there is none.
template <std::size_t Rows>
const ConversionRule* MatchingRow(const ConversionRule (&table)[Rows], DetectionCode code,
                                  ConversionMask mask) {
    for (const ConversionRule& row : table) {
        if (Includes(mask, row.targetMask) && row.sourceCode == code) return &row;
    }
    return nullptr;
}

}  // namespace

RuleOutcome FindConversionRule(DetectionCode code, ConversionMask mask,
                               const ConversionRule** rule) {
    if (rule != nullptr) *rule = nullptr;
    if (code == DetectionCode::Undetermined) return RuleOutcome::Skip;
    const ConversionMask direction = DirectionOf(mask);
    if (IsUnicodeCode(code) && direction == ConversionMask::BothWays) return RuleOutcome::Copy;
    if (code == DetectionCode::Utf8 && direction == ConversionMask::IntoUtf8 &&
        !Includes(mask, ConversionMask::WithByteOrderMark)) {
        return RuleOutcome::Copy;
    }
    const ConversionRule* found = MatchingRow(ConversionTable, code, direction);
    if (found == nullptr) found = MatchingRow(Utf8ConversionTable, code, direction);
    if (found == nullptr) found = MatchingRow(Utf16ConversionTable, code, direction);
    if (found == nullptr) return RuleOutcome::Copy;
    if (rule != nullptr) *rule = found;
    return RuleOutcome::Convert;
}

RuleOutcome FindItemRule(const WorkItem* item, ConversionMask mask, const ConversionRule** rule,
                         ConversionOptions* options) {
    *options = ConversionOptions{};
    if (IsUnicodeCode(item->detected) &&
        (item->code == DetectionCode::EucJp || item->code == DetectionCode::ShiftJis)) {
        // The review's marks name the encoding the file is taken for; the
        // conversion goes into the other one (engine/work_item.h).
        options->substitute = true;
        ConversionMask into = item->code == DetectionCode::EucJp ? ConversionMask::IntoShiftJis
                                                                 : ConversionMask::IntoEucJp;
        return FindConversionRule(item->detected, into, rule);
    }
    const bool intoUtf8 = DirectionOf(mask) == ConversionMask::IntoUtf8;
    if (intoUtf8 && item->code == DetectionCode::Utf8 && item->byteOrderMark) {
        // Already what the run writes, its mark included.
        return FindConversionRule(item->code, ConversionMask::IntoUtf8, rule);
    }
    options->byteOrderMark = intoUtf8 && Includes(mask, ConversionMask::WithByteOrderMark);
    return FindConversionRule(item->code, mask, rule);
}

namespace {

// The rest of the input, byte for byte, block by block.
void CopyBytes(ByteStream* input, ByteStream* output) {
    while (StreamHasBufferedBytes(input)) {
        for (const unsigned char* p = input->readNext; p < input->readEnd; p++) {
            StreamWriteByte(output, *p);
        }
        input->readNext = input->readEnd;
    }
    if (StreamFailed(input)) StreamMarkFailed(output);
}

ByteOrder OrderOf(DetectionCode code) {
    return code == DetectionCode::Utf16Be ? ByteOrder::BigEndian : ByteOrder::LittleEndian;
}

}  // namespace

Utf8Result ConvertStream(ByteStream* input, ByteStream* output, const ConversionRule* rule,
                         const ConversionOptions& options) {
    if (options.byteOrderMark && rule->targetMask == ConversionMask::IntoUtf8) {
        for (unsigned char b : kUtf8ByteOrderMark) StreamWriteByte(output, b);
    }
    switch (rule->transcoder) {
        case Transcoder::IntoUtf8:
            return TranscodeIntoUtf8(input, output, rule->legacy);
        case Transcoder::FromUtf8:
            return TranscodeFromUtf8(input, output, rule->legacy, options.substitute);
        case Transcoder::FromUtf16:
            return TranscodeFromUtf16(input, output, OrderOf(rule->sourceCode), rule->targetMask,
                                      options.substitute);
        case Transcoder::CopyBytes:
            CopyBytes(input, output);
            return Utf8Result{};
        case Transcoder::CodeByCode:
            break;
    }
    TranscodeStream(input, output, rule);
    return Utf8Result{};
}

namespace {

constexpr int kLf = 0x0A;
constexpr int kEscape = 0x1B;

// Takes the run of 7-bit bytes other than ESC at the input's read position
// straight into the output block (CopyPlainRun, engine/word_scan.h), with a
// CR before each LF in WriteText. Each such byte is a character of its own
// for every reader (in the one-byte mode of ISO-2022-JP), every mapper
// returns it unchanged, and the writer puts it out as one byte.
bool TakePlainRun(ByteStream* input, ByteStream* output) {
    auto [p, end, q, limit] = StartBlockRun(input, output);
    if (output->writeSpecial == kLf) {
        CopyPlainRun<kEscape, kNoStop, true>(&p, end, &q, limit);
    } else {
        CopyPlainRun<kEscape, kNoStop, false>(&p, end, &q, limit);
    }
    return StreamsMovedTo(input, p, output, q);
}

// Whether two bytes at a character start are read as one double-byte
// character: by the Shift-JIS reader (a lead byte, whatever follows), by the
// EUC-JP reader (0x8E or 0xA1-0xFE, whatever follows), or by the ISO-2022-JP
// reader in two-byte mode (neither byte an ESC).
using PairTest = bool (*)(unsigned first, unsigned second);
inline bool ShiftJisPair(unsigned first, unsigned) {
    return IsShiftJisLeadByte(static_cast<unsigned char>(first));
}
inline bool EucJpPair(unsigned first, unsigned) {
    return first == 0x8E || (first >= 0xA1 && first <= 0xFE);
}
inline bool TwoByteModePair(unsigned first, unsigned second) {
    return first != kEscape && second != kEscape;
}

#if TAVELIN_SSE2
// JIS X 0208 into EUC-JP sixteen bytes at a time: for a pair of bytes
// 0x21-0x7E each, JisToEucJp sets the top bit of both, and the result holds
// no byte the writer translates. Takes the whole pairs of such bytes at *p
// and returns whether it took any; a block that stops early leaves the rest
// to the pair loop.
bool SetTopBitsOfJisPairs(unsigned char** from, const unsigned char* end, unsigned char** to,
                          const unsigned char* limit) {
    unsigned char* p = *from;
    unsigned char* q = *to;
    const __m128i low = _mm_set1_epi8(0x21);
    const __m128i erase = _mm_set1_epi8(0x7F);
    const __m128i top = _mm_set1_epi8(static_cast<char>(0x80));
    while (end - p >= kBlockBytes && limit - q >= kBlockBytes) {
        __m128i block = LoadBlock(p);
        // Signed: the bytes of 0x80 and above count as below 0x21.
        __m128i outside = _mm_or_si128(_mm_cmplt_epi8(block, low), _mm_cmpeq_epi8(block, erase));
        auto stop = static_cast<unsigned>(_mm_movemask_epi8(outside));
        StoreBlock(q, _mm_or_si128(block, top));  // the bytes beyond a stop are written over later
        if (stop == 0) {
            p += kBlockBytes;
            q += kBlockBytes;
            continue;
        }
        auto taken = static_cast<std::size_t>(BytesBeforeFirstInMask(stop)) & ~std::size_t{1};
        p += taken;
        q += taken;
        break;
    }
    bool moved = p != *from;
    *from = p;
    *to = q;
    return moved;
}
#endif

// The mapper's value for a pair from the rule's table (see engine/pair_table.h),
// or 0 when the table does not cover it or the rule has none.
using PairLookup = unsigned (*)(unsigned first, unsigned second);
inline unsigned NoTable(unsigned, unsigned) { return 0; }
inline unsigned EucJpToShiftJisTable(unsigned first, unsigned second) {
    return LookUpPair(kEucJpToShiftJisPairs, first, second);
}
inline unsigned ShiftJisToEucJpTable(unsigned first, unsigned second) {
    return LookUpPair(kShiftJisToEucJpPairs, first, second);
}
inline unsigned JisToShiftJisTable(unsigned first, unsigned second) {
    return LookUpPair(kJisToShiftJisPairs, first, second);
}

// Maps the run of double-byte characters at the input's read position
// straight into the output block, as far as both blocks allow: the same
// value the reader would return goes through the same mapper and comes out
// as the writer would put it. A pair cut by the end of the block, and a
// result byte that the writer must translate (LF in WriteText), are left to the
// character loop.
template <CodeMapper Map, PairTest IsPair, PairLookup LookUp, bool kSetTopBits>
bool ConvertPairRun(ByteStream* input, ByteStream* output) {
    auto [p, end, q, limit] = StartBlockRun(input, output);
    const int special = output->writeSpecial;
    while (end - p >= 2 && limit - q >= 2) {
#if TAVELIN_SSE2
        if constexpr (kSetTopBits) {
            if (SetTopBitsOfJisPairs(&p, end, &q, limit)) continue;
        }
#endif
        unsigned first = p[0];
        unsigned second = p[1];
        unsigned looked = LookUp(first, second);
        if (looked != 0) {
            q[0] = static_cast<unsigned char>(looked >> 8);
            q[1] = static_cast<unsigned char>(looked);
            q += 2;
            p += 2;
            continue;
        }
        if (!IsPair(first, second)) break;
        auto value = static_cast<std::uint32_t>(Map(static_cast<CodeChar>(first * 256 + second)));
        int high = static_cast<int>((value >> 8) & 0xFF);
        int low = static_cast<int>(value & 0xFF);
        if (high == special || low == special) break;
        if (high != 0) *q++ = static_cast<unsigned char>(high);
        *q++ = static_cast<unsigned char>(low);
        p += 2;
    }
    return StreamsMovedTo(input, p, output, q);
}

// A whole escape sequence that switches ISO-2022-JP's mode at the input's
// read position (ModeSwitchAt), taken at once: the reader would take it the
// same way and put nothing out for it. Anything else, and a sequence cut by
// the end of the block, is left to the reader. Kept out of line: inlined
// into the loop below, it costs the runs of JIS pairs their registers
// (ISO-2022-JP into EUC-JP a tenth slower).
__attribute__((noinline)) bool TakeModeSwitch(ByteStream* input, unsigned char* kanjiMode) {
    int length = ModeSwitchAt(input->readNext, input->readEnd, kanjiMode);
    input->readNext += length;
    return length != 0;
}

// The loop with the reader and the mapper known at compile time, so that
// both and the writer are inlined: no call per character. Between two
// characters the runs that need no decision are done in bulk: plain 7-bit
// text and double-byte characters in turn for Shift-JIS and EUC-JP (every
// position between two characters is a character start for their readers);
// for ISO-2022-JP, the mode switches, plain text in one-byte mode and pairs
// in two-byte mode. What the runs leave (a block's end, a character whose
// result the writer must translate, anything unusual) goes through the
// reader, the mapper and the writer one character at a time.
template <CodeReader Read, CodeMapper Map, PairTest IsPair, PairLookup LookUp, bool kSetTopBits,
          bool kShifting>
void TranscodeWith(ByteStream* input, ByteStream* output) {
    unsigned char kanjiMode = OneByteMode;
    for (;;) {
        // The runs, until none moves on.
        for (bool moved = true; moved;) {
            if (kShifting) {
                moved = TakeModeSwitch(input, &kanjiMode);
                if (kanjiMode == OneByteMode
                        ? TakePlainRun(input, output)
                        : ConvertPairRun<Map, IsPair, LookUp, kSetTopBits>(input, output)) {
                    moved = true;
                }
            } else {
                moved = TakePlainRun(input, output);
                if (ConvertPairRun<Map, IsPair, LookUp, kSetTopBits>(input, output)) moved = true;
            }
        }
        CodeChar c = Read(input, &kanjiMode);
        if (c == EndOfInput) break;
        WriteCodeChar(Map(c), output);
    }
}

void TranscodeThrough(ByteStream* input, ByteStream* output, const ConversionRule* rule) {
    unsigned char kanjiMode = OneByteMode;
    for (CodeChar c = rule->reader(input, &kanjiMode); c != EndOfInput;
         c = rule->reader(input, &kanjiMode)) {
        rule->writer(rule->mapper(c), output);
    }
}

// The last two arguments of TranscodeWith, by name. JIS X 0208 pairs go into
// EUC-JP by setting the top bit of both bytes, many pairs at a time; the
// other rules look up or map each pair. ISO-2022-JP shifts between its
// one-byte and two-byte modes with escape sequences; the others have no
// modes.
constexpr bool kSetsTopBits = true;
constexpr bool kMapsEachPair = false;
constexpr bool kShiftsModes = true;
constexpr bool kHasNoModes = false;

template <CodeReader Read, CodeMapper Map>
bool Uses(const ConversionRule* rule) {
    return rule->reader == Read && rule->mapper == Map && rule->writer == WriteCodeChar;
}

}  // namespace

void TranscodeStream(ByteStream* input, ByteStream* output, const ConversionRule* rule) {
    if (input == nullptr || output == nullptr || rule == nullptr) return;
    if (Uses<ReadShiftJisChar, ShiftJisToEucJp>(rule)) {
        TranscodeWith<ReadShiftJisChar, ShiftJisToEucJp, ShiftJisPair, ShiftJisToEucJpTable,
                      kMapsEachPair, kHasNoModes>(input, output);
    } else if (Uses<ReadEucJpChar, EucJpToShiftJis>(rule)) {
        TranscodeWith<ReadEucJpChar, EucJpToShiftJis, EucJpPair, EucJpToShiftJisTable,
                      kMapsEachPair, kHasNoModes>(input, output);
    } else if (Uses<ReadIso2022JpChar, JisToShiftJis>(rule)) {
        TranscodeWith<ReadIso2022JpChar, JisToShiftJis, TwoByteModePair, JisToShiftJisTable,
                      kMapsEachPair, kShiftsModes>(input, output);
    } else if (Uses<ReadIso2022JpChar, JisToEucJp>(rule)) {
        TranscodeWith<ReadIso2022JpChar, JisToEucJp, TwoByteModePair, NoTable, kSetsTopBits,
                      kShiftsModes>(input, output);
    } else {
        TranscodeThrough(input, output, rule);
    }
    // The input ended early on a read error: the output is only part of the
    // text, and closing it must say so rather than let it replace the file.
    if (StreamFailed(input)) StreamMarkFailed(output);
}
