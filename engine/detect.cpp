#include "engine/detect.h"

#include <cstddef>

#include "engine/recognizers.h"
#include "engine/utf16.h"
#include "engine/utf8.h"
#include "engine/word_scan.h"

namespace {

constexpr int kLf = 0x0A;

constexpr std::uint8_t kIso2022Jp = 1;
constexpr std::uint8_t kShiftJis = 2;
constexpr std::uint8_t kEucJp = 4;
constexpr std::uint8_t kEscapeOrHigh = 8;
constexpr std::uint8_t kUtf8 = 16;
// The checks that can still give the file an encoding: while one is open the
// pass reads on.
constexpr std::uint8_t kChecks = kIso2022Jp | kShiftJis | kEucJp | kUtf8;

#if TAVELIN_SSE2
// The two 64-bit halves of a block, added.
inline std::uint64_t SumOfHalves(__m128i sums) {
    auto low = static_cast<std::uint64_t>(_mm_cvtsi128_si32(sums));
    auto high = static_cast<std::uint64_t>(_mm_cvtsi128_si32(_mm_unpackhi_epi64(sums, sums)));
    return low + high;
}
#endif

// A byte that every recognizer at a character start accepts and stays.
inline bool IsPlainByte(int b) { return b < 0x80 && b != kEsc && b != 0; }

// Skips the run of plain bytes (7-bit, not ESC, not NUL) that starts at p, counting
// its LF bytes; returns where the run ends. Sixteen or eight bytes at a time
// (see engine/word_scan.h).
inline __attribute__((always_inline)) unsigned char* SkipPlainRun(unsigned char* p,
                                                                  const unsigned char* end,
                                                                  std::uint64_t* lines) {
#if TAVELIN_SSE2
    // The LF bytes of whole blocks are summed as bytes of 1 (psadbw adds
    // each half of a block), and told only once the run ends.
    const __m128i lineFeed = _mm_set1_epi8(kLf);
    const __m128i one = _mm_set1_epi8(1);
    __m128i counted = _mm_setzero_si128();
    while (end - p >= kBlockBytes) {
        __m128i block = LoadBlock(p);
        __m128i lf = _mm_cmpeq_epi8(block, lineFeed);
        unsigned stop = HighBytesMask(block) | BytesEqualToMask(block, 0) |
                        BytesEqualToMask(block, static_cast<unsigned char>(kEsc));
        if (stop != 0) {
            int plain = BytesBeforeFirstInMask(stop);
            auto before = static_cast<unsigned>(_mm_movemask_epi8(lf)) & ((1u << plain) - 1);
            *lines += static_cast<std::uint64_t>(CountInMask(before)) + SumOfHalves(counted);
            return p + plain;
        }
        counted = _mm_add_epi64(counted, _mm_sad_epu8(_mm_and_si128(lf, one), _mm_setzero_si128()));
        p += kBlockBytes;
    }
    *lines += SumOfHalves(counted);
#endif
    while (end - p >= 8) {
        std::uint64_t word = LoadWord(p);
        std::uint64_t lf = BytesEqualTo(word, kLf);
        std::uint64_t stop = HighBytes(word) | ZeroBytes(word) | BytesEqualTo(word, kEsc);
        if (stop != 0) {
            *lines += CountFlaggedBytes(lf & FlagsBeforeFirst(stop));
            return p + BytesBeforeFirst(stop);
        }
        *lines += CountFlaggedBytes(lf);
        p += 8;
    }
    while (p < end && IsPlainByte(*p)) {
        *lines += *p == kLf;
        p++;
    }
    return p;
}

// What each byte can be in Shift-JIS, looked up: two range tests per byte
// are most of the time spent on a pair.
constexpr std::uint8_t kLeadByte = 1;
constexpr std::uint8_t kTrailByte = 2;
struct ShiftJisByteKinds {
    std::uint8_t kind[256];
};
constexpr ShiftJisByteKinds MakeShiftJisByteKinds() {
    ShiftJisByteKinds kinds{};
    for (int b = 0; b < 256; b++) {
        auto byte = static_cast<unsigned char>(b);
        kinds.kind[b] = static_cast<std::uint8_t>((IsShiftJisLeadByte(byte) ? kLeadByte : 0) |
                                                  (IsShiftJisTrailByte(byte) ? kTrailByte : 0));
    }
    return kinds;
}
constexpr ShiftJisByteKinds kShiftJisByteKinds = MakeShiftJisByteKinds();

// Skips the well-formed double-byte characters that start at p, for a
// validator that runs alone and stands at a character start: each leaves it
// there without a violation, and none holds an LF, an ESC or a NUL. Returns
// where they end (p itself when none starts there).
unsigned char* SkipValidPairs(const ShiftJisRecognizer&, unsigned char* p,
                              const unsigned char* end) {
    while (end - p >= 2 && (kShiftJisByteKinds.kind[p[0]] & kLeadByte) != 0 &&
           (kShiftJisByteKinds.kind[p[1]] & kTrailByte) != 0) {
        p += 2;
    }
    return p;
}

unsigned char* SkipValidPairs(const EucJpRecognizer&, unsigned char* p, const unsigned char* end) {
    while (end - p >= 2) {
        unsigned first = p[0];
        unsigned second = p[1];
        bool kanji = first >= 0xA1 && first <= 0xFE && second >= 0xA1 && second <= 0xFE;
        bool katakana = first == 0x8E && second >= 0xA1 && second <= 0xDF;
        if (!kanji && !katakana) break;
        p += 2;
    }
    return p;
}

// ISO-2022-JP has no 8-bit pairs; its text between escapes is plain bytes.
unsigned char* SkipValidPairs(const Iso2022JpRecognizer&, unsigned char* p, const unsigned char*) {
    return p;
}

// The well-formed UTF-8 sequences of two to four bytes that start at p, by
// the same table of leads the recognizer's rules come from (engine/utf8.h).
unsigned char* SkipValidPairs(Utf8Recognizer& recognizer, unsigned char* p,
                              const unsigned char* end) {
    unsigned char* start = p;
    while (end - p >= 2) {
        const Utf8Lead& lead = Utf8LeadOf(p[0]);
        if (lead.continuations < 1 || end - p <= lead.continuations) break;
        if (p[1] < lead.low || p[1] > lead.high) break;
        bool whole = true;
        for (int k = 2; k <= lead.continuations; k++) whole = whole && (p[k] & 0xC0) == 0x80;
        if (!whole) break;
        p += 1 + lead.continuations;
    }
    if (p != start) recognizer.nonAscii = true;
    return p;
}

// One pass over the delivered bytes. A recognizer that has found a violation
// has given its verdict (its count can only grow, and only whether it is zero
// is ever asked), so it is no longer fed. Once a single check is left open
// (one validator, or the UTF-8 check), it alone is fed; once none is, nothing
// later can make the file anything but undetermined and the pass stops. While
// the UTF-8 check is open the pass reads on to the end, so that a NUL or data
// after the end mark is still seen.
class EvidenceScanner {
  public:
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;
    bool holdsNul = false;
    bool settled = false;

    // Consumes the stream's buffered bytes (or stops where the verdict is settled).
    void ScanBlock(ByteStream* input) {
        unsigned char* p = input->readNext;
        unsigned char* end = input->readEnd;
        unsigned char* start = p;
        while (p < end && !settled) {
            // A validator runs alone only when every other check has its
            // verdict, the UTF-8 check included.
            switch (open_) {
                case kUtf8:
                    p = ScanWithOnly(kUtf8, utf8_, p, end);
                    break;
                case kEucJp:
                    p = ScanWithOnly(kEucJp, eucJp_, p, end);
                    break;
                case kShiftJis:
                    p = ScanWithOnly(kShiftJis, shiftJis_, p, end);
                    break;
                case kIso2022Jp:
                    p = ScanWithOnly(kIso2022Jp, iso2022Jp_, p, end);
                    break;
                case kIso2022Jp | kUtf8: {
                    // 7-bit text is well-formed UTF-8 and leaves that check
                    // where it is: ISO-2022-JP runs alone up to an 8-bit byte.
                    unsigned char* stop = p;
                    if (utf8_.state == 0) {
                        stop =
                            ScanWithOnly<Iso2022JpRecognizer, true>(kIso2022Jp, iso2022Jp_, p, end);
                    }
                    p = stop != p ? stop : ScanWithAll(p, end);
                    break;
                }
                default:
                    p = ScanWithAll(p, end);
                    break;
            }
        }
        bytes += static_cast<std::uint64_t>(p - start);
        input->readNext = p;
    }

    void Finish(EncodingEvidence* evidence) {
        FeedOpen(EndOfInput);
        evidence->iso2022Jp = iso2022Jp_.count;
        evidence->shiftJis = shiftJis_.count;
        evidence->eucJp = eucJp_.count;
        evidence->escapeOrHigh = escapeOrHigh_.count;
        evidence->bytes = bytes;
        evidence->lines = lines;
        evidence->utf8NonAscii = utf8_.count == 0 && utf8_.nonAscii;
        evidence->holdsNul = holdsNul;
        evidence->settledEarly = settled;
    }

  private:
    Iso2022JpRecognizer iso2022Jp_;
    ShiftJisRecognizer shiftJis_;
    EucJpRecognizer eucJp_;
    EscapeOrHighByteCounter escapeOrHigh_;
    Utf8Recognizer utf8_;
    std::uint8_t open_ = kIso2022Jp | kShiftJis | kEucJp | kEscapeOrHigh | kUtf8;
    // Every open recognizer stands at a character start. Then a plain byte
    // changes nothing in any of them: they all accept it and stay.
    bool atRest_ = true;

    template <typename Recognizer>
    void FeedIf(std::uint8_t bit, Recognizer& recognizer, int input) {
        if ((open_ & bit) != 0 && recognizer.Feed(input) != 0) open_ &= ~bit;
    }

    void FeedOpen(int input) {
        FeedIf(kIso2022Jp, iso2022Jp_, input);
        FeedIf(kShiftJis, shiftJis_, input);
        FeedIf(kEucJp, eucJp_, input);
        FeedIf(kEscapeOrHigh, escapeOrHigh_, input);
        FeedIf(kUtf8, utf8_, input);
    }

    template <typename Recognizer>
    bool AtRest(std::uint8_t bit, const Recognizer& recognizer) const {
        return (open_ & bit) == 0 || recognizer.state == 0;
    }

    bool AllAtRest() const {
        return AtRest(kIso2022Jp, iso2022Jp_) && AtRest(kShiftJis, shiftJis_) &&
               AtRest(kEucJp, eucJp_) && AtRest(kUtf8, utf8_);
    }

    // A NUL byte makes the file undetermined, whatever else it holds.
    bool SettlesAtNul(int b) {
        if (b != 0) return false;
        holdsNul = true;
        settled = true;
        return true;
    }

    unsigned char* ScanWithAll(unsigned char* p, const unsigned char* end) {
        const std::uint8_t before = open_;
        atRest_ = AllAtRest();  // a single validator may have moved on meanwhile
        while (p < end) {
            int b = *p;
            if (atRest_ && IsPlainByte(b)) {
                p = SkipPlainRun(p, end, &lines);
                continue;
            }
            p++;
            if (SettlesAtNul(b)) break;
            lines += b == kLf;
            FeedOpen(b);
            atRest_ = AllAtRest();
            if (open_ != before) break;  // a verdict fell: choose the scan anew
        }
        if ((open_ & kChecks) == 0) settled = true;
        return p;
    }

    // With kSevenBitOnly, stops in front of a byte of 0x80 or above.
    template <typename Recognizer, bool kSevenBitOnly = false>
    unsigned char* ScanWithOnly(std::uint8_t bit, Recognizer& recognizer, unsigned char* p,
                                const unsigned char* end) {
        while (p < end) {
            int b = *p;
            if (kSevenBitOnly && b >= 0x80) break;
            if (recognizer.state == 0) {
                if (IsPlainByte(b)) {
                    p = SkipPlainRun(p, end, &lines);
                    continue;
                }
                unsigned char* after = SkipValidPairs(recognizer, p, end);
                if (after != p) {
                    p = after;
                    continue;
                }
            }
            p++;
            if (SettlesAtNul(b)) break;
            lines += b == kLf;
            if (recognizer.Feed(b) != 0) {
                // Settled unless the UTF-8 check is still open beside a
                // 7-bit validator.
                open_ &= ~bit;
                settled = (open_ & kChecks) == 0;
                break;
            }
        }
        return p;
    }
};

// The mark at the start of the stream's first block, which stays unread.
ByteOrderMark MarkAtStart(ByteStream* input) {
    if (!StreamHasBufferedBytes(input)) return ByteOrderMark::None;
    const unsigned char* p = input->readNext;
    const std::ptrdiff_t length = input->readEnd - p;
    ByteOrder order = ByteOrder::LittleEndian;
    if (length >= 2 && Utf16MarkOrder(p[0], p[1], &order)) {
        return order == ByteOrder::LittleEndian ? ByteOrderMark::Utf16Le : ByteOrderMark::Utf16Be;
    }
    if (length >= 3 && p[0] == kUtf8ByteOrderMark[0] && p[1] == kUtf8ByteOrderMark[1] &&
        p[2] == kUtf8ByteOrderMark[2]) {
        return ByteOrderMark::Utf8;
    }
    return ByteOrderMark::None;
}

// Whether the rest of a UTF-16 file is well-formed after its mark; it stops
// at the first flaw.
bool IsWellFormedUtf16(ByteStream* input, ByteOrder order) {
    input->readNext += 2;  // the mark
    Utf16Check check(order);
    while (StreamHasBufferedBytes(input)) {
        const bool open = check.Feed(input->readNext, input->readEnd);
        input->readNext = input->readEnd;
        if (!open) return false;
    }
    return check.Finish();
}

}  // namespace

void GatherEvidence(ByteStream* input, EncodingEvidence* evidence) {
    evidence->byteOrderMark = MarkAtStart(input);
    if (evidence->byteOrderMark == ByteOrderMark::Utf16Le ||
        evidence->byteOrderMark == ByteOrderMark::Utf16Be) {
        evidence->utf16WellFormed = IsWellFormedUtf16(
            input, evidence->byteOrderMark == ByteOrderMark::Utf16Le ? ByteOrder::LittleEndian
                                                                     : ByteOrder::BigEndian);
        return;
    }
    StreamSwitchToText(input);
    EvidenceScanner scanner;
    while (!scanner.settled && StreamHasBufferedBytes(input)) scanner.ScanBlock(input);
    scanner.Finish(evidence);
    evidence->dataAfterEndMark = !scanner.settled && StreamDataFollowsEndMark(input);
}

bool GatherFileEvidence(const char* path, EncodingEvidence* evidence) {
    ByteStream* input = StreamOpen(path, StreamMode::ReadBinary);
    if (input == nullptr) return false;
    return GatherStreamEvidence(input, evidence);
}

bool GatherStreamEvidence(ByteStream* input, EncodingEvidence* evidence) {
    GatherEvidence(input, evidence);
    // A read error cut the input short: the counts describe only a part.
    return StreamClose(input);
}

DetectionCode DecideByContent(const EncodingEvidence& e) {
    // Only a byte-order mark makes a file UTF-16; then nothing else counts.
    if (e.byteOrderMark == ByteOrderMark::Utf16Le) {
        return e.utf16WellFormed ? DetectionCode::Utf16Le : DetectionCode::Undetermined;
    }
    if (e.byteOrderMark == ByteOrderMark::Utf16Be) {
        return e.utf16WellFormed ? DetectionCode::Utf16Be : DetectionCode::Undetermined;
    }
    // A text file ends at its end mark; bytes after it mean a binary file
    // (every PNG starts with 0x89 'P' 'N' 'G' CR LF 0x1A).
    if (e.dataAfterEndMark) return DetectionCode::Undetermined;
    // Text in these encodings never holds a NUL byte; UTF-16 without a
    // byte-order mark does, and would be destroyed by a conversion.
    if (e.holdsNul) return DetectionCode::Undetermined;
    // Well-formed UTF-8 beyond ASCII is UTF-8: short Japanese in it often
    // passes every Shift-JIS rule too, and taking it for Shift-JIS would
    // destroy it.
    if (e.utf8NonAscii) return DetectionCode::Utf8;
    const bool iso = e.iso2022Jp == 0;
    const bool sjis = e.shiftJis == 0;
    const bool euc = e.eucJp == 0;
    // Exactly one clean validator decides.
    if (sjis && !euc && !iso) return DetectionCode::ShiftJis;
    if (euc && !sjis && !iso) return DetectionCode::EucJp;
    if (iso && !sjis && !euc) return DetectionCode::Iso2022Jp;
    // Otherwise the line ends decide, but 8-bit or escaped text only when it
    // is clean both as Shift-JIS and as EUC-JP and has a line end at all.
    if (e.escapeOrHigh != 0 && !(e.lines != 0 && sjis && euc)) return DetectionCode::Undetermined;
    return LineEndsDecide;
}

DetectionCode DecideByLineEnds(std::uint64_t bytes, std::uint64_t lines, std::uint64_t fileSize) {
    if (fileSize == kUnknownFileSize) return DetectionCode::Undetermined;
    if (bytes == fileSize) return DetectionCode::EucJp;  // nothing removed: no CR LF pair, no 0x1A
    if (bytes > fileSize) return DetectionCode::Undetermined;
    if (bytes + lines == fileSize) return DetectionCode::ShiftJis;  // one CR removed for every LF
    return DetectionCode::Undetermined;
}

DetectionCode DecideEncoding(const EncodingEvidence& evidence, std::uint64_t fileSize) {
    DetectionCode code = DecideByContent(evidence);
    if (code != LineEndsDecide) return code;
    return DecideByLineEnds(evidence.bytes, evidence.lines, fileSize);
}
