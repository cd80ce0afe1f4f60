// The conversions out of UTF-16 over arbitrary bytes, in either byte order:
// nothing fails, and the outcomes hold together. Into UTF-8, a complete
// conversion writes well-formed UTF-8, and a stopped one (broken UTF-16)
// leaves its output marked failed; whatever the detection's check calls
// well-formed converts completely. Into Shift-JIS and EUC-JP the result is
// exactly that of converting the UTF-8 result from UTF-8 (the same table,
// the same line ends), with 〓 or without; substituting never stops, and
// what it writes reads back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/utf16.h"
#include "engine/utf16_transcode.h"
#include "engine/utf8.h"
#include "engine/utf8_transcode.h"
#include "tests/fuzz/support/memory_streams.h"
#include "tests/fuzz/support/well_formed_utf8.h"

namespace {

using Run = Converted;

Run FromUtf16(const std::string& text, ByteOrder order, ConversionMask into, bool substitute) {
    return RunInMemory(text, kFromUtf16InputMode, FromUtf16OutputMode(into),
                       [&](ByteStream* input, ByteStream* output) {
                           return TranscodeFromUtf16(input, output, order, into, substitute);
                       });
}

Run FromUtf8(const std::string& text, LegacyEncoding target, bool substitute) {
    return RunInMemory(text, kFromUtf8InputMode, FromUtf8OutputMode(target),
                       [&](ByteStream* input, ByteStream* output) {
                           return TranscodeFromUtf8(input, output, target, substitute);
                       });
}

Utf8Outcome ReadBack(const std::string& text, LegacyEncoding source) {
    return RunInMemory(text, kIntoUtf8InputMode, kIntoUtf8OutputMode,
                       [&](ByteStream* input, ByteStream* output) {
                           return TranscodeIntoUtf8(input, output, source);
                       })
        .result.outcome;
}

bool Same(const Run& a, const Run& b) {
    return a.result.outcome == b.result.outcome && a.result.firstMissing == b.result.firstMissing &&
           a.result.replaced == b.result.replaced && a.closed == b.closed &&
           (!a.closed || a.bytes == b.bytes);
}

void Check(const std::string& text, ByteOrder order) {
    Run utf8 = FromUtf16(text, order, ConversionMask::IntoUtf8, false);
    if (utf8.result.outcome == Utf8Outcome::Complete) {
        if (!utf8.closed || !WellFormedUtf8(utf8.bytes)) std::abort();
    } else if (utf8.result.outcome != Utf8Outcome::NoCell || utf8.closed ||
               utf8.result.firstMissing != kMalformedUtf16) {
        std::abort();
    }
    // What the detection calls well-formed (after the mark, when there is one).
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    ByteOrder marked = order;
    std::size_t skip = text.size() >= 2 && Utf16MarkOrder(p[0], p[1], &marked) && marked == order;
    Utf16Check check(order);
    check.Feed(p + 2 * skip, p + text.size());
    if (check.Finish() && utf8.result.outcome != Utf8Outcome::Complete) std::abort();

    for (LegacyEncoding target : {LegacyEncoding::ShiftJis, LegacyEncoding::EucJp}) {
        ConversionMask into = target == LegacyEncoding::ShiftJis ? ConversionMask::IntoShiftJis
                                                                 : ConversionMask::IntoEucJp;
        Run strict = FromUtf16(text, order, into, false);
        Run substituted = FromUtf16(text, order, into, true);
        if (substituted.result.outcome == Utf8Outcome::NoCell || !substituted.closed) std::abort();
        if (strict.result.outcome == Utf8Outcome::Complete
                ? !strict.closed || !Same(strict, substituted)
                : strict.closed || strict.result.outcome != Utf8Outcome::NoCell ||
                      substituted.result.firstMissing != strict.result.firstMissing) {
            std::abort();
        }
        if (ReadBack(substituted.bytes, target) != Utf8Outcome::Complete) std::abort();
        // The same as by way of UTF-8, unless the UTF-8 starts with U+FEFF,
        // which a UTF-8 reader takes for its mark.
        if (utf8.result.outcome == Utf8Outcome::Complete &&
            utf8.bytes.rfind("\xEF\xBB\xBF", 0) != 0) {
            if (!Same(strict, FromUtf8(utf8.bytes, target, false)) ||
                !Same(substituted, FromUtf8(utf8.bytes, target, true))) {
                std::abort();
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Check(text, ByteOrder::LittleEndian);
    Check(text, ByteOrder::BigEndian);
    return 0;
}
