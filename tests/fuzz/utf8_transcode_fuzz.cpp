// The conversions into and from UTF-8 over arbitrary bytes: nothing fails,
// and the outcomes hold together. Into UTF-8, a complete conversion writes
// well-formed UTF-8 that converts back into Shift-JIS; a stopped one leaves
// its output marked failed. From UTF-8, substituting 〓 writes exactly the
// same as not substituting whenever nothing is missing, names the same first
// missing character otherwise, and never stops; what it writes reads back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/utf8.h"
#include "engine/utf8_transcode.h"
#include "tests/fuzz/support/memory_streams.h"
#include "tests/fuzz/support/well_formed_utf8.h"

namespace {

using Run = Converted;

Run Into(const std::uint8_t* data, std::size_t size, LegacyEncoding source) {
    return RunInMemory(std::string(reinterpret_cast<const char*>(data), size), kIntoUtf8InputMode,
                       kIntoUtf8OutputMode, [&](ByteStream* input, ByteStream* output) {
                           return TranscodeIntoUtf8(input, output, source);
                       });
}

Run From(const std::string& text, LegacyEncoding target, bool substitute) {
    return RunInMemory(text, kFromUtf8InputMode, FromUtf8OutputMode(target),
                       [&](ByteStream* input, ByteStream* output) {
                           return TranscodeFromUtf8(input, output, target, substitute);
                       });
}

void CheckFromUtf8(const std::string& text, LegacyEncoding target) {
    Run strict = From(text, target, false);
    Run substituted = From(text, target, true);
    if (substituted.result.outcome == Utf8Outcome::NoCell || !substituted.closed) std::abort();
    if (strict.result.outcome == Utf8Outcome::Complete) {
        if (!strict.closed || substituted.result.outcome != Utf8Outcome::Complete ||
            substituted.bytes != strict.bytes || strict.result.firstMissing != -1) {
            std::abort();
        }
    } else {
        if (strict.result.outcome != Utf8Outcome::NoCell || strict.closed ||
            substituted.result.outcome != Utf8Outcome::Replaced ||
            substituted.result.replaced == 0 ||
            substituted.result.firstMissing != strict.result.firstMissing) {
            std::abort();
        }
    }
    // Every byte written is a character of the target: it reads back.
    Run back = Into(reinterpret_cast<const std::uint8_t*>(substituted.bytes.data()),
                    substituted.bytes.size(), target);
    if (back.result.outcome != Utf8Outcome::Complete) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (LegacyEncoding source :
         {LegacyEncoding::ShiftJis, LegacyEncoding::EucJp, LegacyEncoding::Iso2022Jp}) {
        Run run = Into(data, size, source);
        if (run.result.outcome == Utf8Outcome::Complete) {
            if (!run.closed || !WellFormedUtf8(run.bytes)) std::abort();
            if (From(run.bytes, LegacyEncoding::ShiftJis, false).result.outcome !=
                Utf8Outcome::Complete) {
                std::abort();
            }
        } else if (run.result.outcome != Utf8Outcome::NoCell || run.closed ||
                   run.result.firstMissing < 0) {
            std::abort();
        }
    }
    std::string text(reinterpret_cast<const char*>(data), size);
    CheckFromUtf8(text, LegacyEncoding::ShiftJis);
    CheckFromUtf8(text, LegacyEncoding::EucJp);
    return 0;
}
