// The conversions into and from UTF-8 over arbitrary bytes: nothing fails,
// and the outcomes hold together. Into UTF-8, a complete conversion writes
// well-formed UTF-8 that converts back into Shift-JIS; a stopped one leaves
// its output marked failed. From UTF-8, substituting 〓 writes exactly the
// same as not substituting whenever nothing is missing, names the same first
// missing character otherwise, and never stops; what it writes reads back.
// From UTF-16, into UTF-8 only broken UTF-16 stops it, and into Shift-JIS
// it writes what the conversion of that UTF-8 writes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/utf8.h"
#include "engine/utf16_transcode.h"
#include "engine/utf8_transcode.h"
#include "tests/fuzz/support/memory_streams.h"

namespace {

struct Run {
    Utf8Result result;
    std::string bytes;
    bool written;
};

Run Into(const std::uint8_t* data, std::size_t size, LegacyEncoding source) {
    MemoryInput input(data, size, kIntoUtf8InputMode);
    MemoryOutput output(kIntoUtf8OutputMode);
    Run run;
    run.result = TranscodeIntoUtf8(input.stream, output.stream, source);
    run.bytes = output.Close(&run.written);
    return run;
}

Run From(const std::string& text, LegacyEncoding target, bool substitute) {
    MemoryInput input(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                      kFromUtf8InputMode);
    MemoryOutput output(FromUtf8OutputMode(target));
    Run run;
    run.result = TranscodeFromUtf8(input.stream, output.stream, target, substitute);
    run.bytes = output.Close(&run.written);
    return run;
}

Run FromUtf16(const std::string& text, ByteOrder order, ConversionMask into, bool substitute) {
    MemoryInput input(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                      kFromUtf16InputMode);
    MemoryOutput output(FromUtf16OutputMode(into));
    Run run;
    run.result = TranscodeFromUtf16(input.stream, output.stream, order, into, substitute);
    run.bytes = output.Close(&run.written);
    return run;
}

bool WellFormed(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end) {
        Utf8Char c = DecodeUtf8(p, end);
        if (c.codePoint < 0) return false;
        p += c.length;
    }
    return true;
}

void CheckFromUtf8(const std::string& text, LegacyEncoding target) {
    Run strict = From(text, target, false);
    Run substituted = From(text, target, true);
    if (substituted.result.outcome == Utf8Outcome::NoCell || !substituted.written) std::abort();
    if (strict.result.outcome == Utf8Outcome::Complete) {
        if (!strict.written || substituted.result.outcome != Utf8Outcome::Complete ||
            substituted.bytes != strict.bytes || strict.result.firstMissing != -1) {
            std::abort();
        }
    } else {
        if (strict.result.outcome != Utf8Outcome::NoCell || strict.written ||
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

void CheckFromUtf16(const std::string& text, ByteOrder order) {
    Run utf8 = FromUtf16(text, order, ConversionMask::IntoUtf8, false);
    const bool complete = utf8.result.outcome == Utf8Outcome::Complete;
    if (complete != utf8.written || (complete && !WellFormed(utf8.bytes)) ||
        (!complete && utf8.result.firstMissing != kMalformedUtf16)) {
        std::abort();
    }
    // A UTF-8 reader takes U+FEFF at the start for its mark.
    if (!complete || utf8.bytes.rfind("\xEF\xBB\xBF", 0) == 0) return;
    for (bool substitute : {false, true}) {
        Run direct = FromUtf16(text, order, ConversionMask::IntoShiftJis, substitute);
        Run byUtf8 = From(utf8.bytes, LegacyEncoding::ShiftJis, substitute);
        if (direct.result.outcome != byUtf8.result.outcome ||
            direct.result.firstMissing != byUtf8.result.firstMissing ||
            (direct.written && direct.bytes != byUtf8.bytes)) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (LegacyEncoding source :
         {LegacyEncoding::ShiftJis, LegacyEncoding::EucJp, LegacyEncoding::Iso2022Jp}) {
        Run run = Into(data, size, source);
        if (run.result.outcome == Utf8Outcome::Complete) {
            if (!run.written || !WellFormed(run.bytes)) std::abort();
            if (From(run.bytes, LegacyEncoding::ShiftJis, false).result.outcome !=
                Utf8Outcome::Complete) {
                std::abort();
            }
        } else if (run.result.outcome != Utf8Outcome::NoCell || run.written ||
                   run.result.firstMissing < 0) {
            std::abort();
        }
    }
    std::string text(reinterpret_cast<const char*>(data), size);
    CheckFromUtf8(text, LegacyEncoding::ShiftJis);
    CheckFromUtf8(text, LegacyEncoding::EucJp);
    CheckFromUtf16(text, ByteOrder::LittleEndian);
    CheckFromUtf16(text, ByteOrder::BigEndian);
    return 0;
}
