// UTF-8 into Shift-JIS and back is the identity for text made of characters
// that code page 932 decodes to (in Windows' forms), with CR LF line ends
// and no 0x1A; into EUC-JP and back too, whenever every character has an
// EUC-JP form, and otherwise the conversion names one that has none. The
// fuzzer's bytes choose the characters.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/cp932_table.h"
#include "engine/utf8.h"
#include "engine/utf8_transcode.h"
#include "tests/fuzz/support/memory_streams.h"

namespace {

// Each code point that some cell decodes to, once; not CR, LF or 0x1A.
const std::vector<std::uint32_t>& CodePoints() {
    static const std::vector<std::uint32_t> points = [] {
        std::vector<std::uint32_t> found;
        std::vector<bool> seen(0x10000);
        auto add = [&](std::uint32_t code) {
            std::int32_t point = Cp932ToUnicode(code);
            if (point < 0 || point == '\r' || point == '\n' || point == 0x1A || seen[point]) return;
            seen[point] = true;
            found.push_back(static_cast<std::uint32_t>(point));
        };
        for (std::uint32_t code = 0; code < 0x100; code++) add(code);
        for (std::uint32_t code = 0x8140; code <= 0xFCFC; code++) add(code);
        return found;
    }();
    return points;
}

std::string Convert(const std::string& text, bool intoUtf8, LegacyEncoding encoding,
                    Utf8Result* result) {
    MemoryInput input(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(),
                      intoUtf8 ? kIntoUtf8InputMode : kFromUtf8InputMode);
    MemoryOutput output(intoUtf8 ? kIntoUtf8OutputMode : FromUtf8OutputMode(encoding));
    *result = intoUtf8 ? TranscodeIntoUtf8(input.stream, output.stream, encoding)
                       : TranscodeFromUtf8(input.stream, output.stream, encoding, false);
    bool written = false;
    std::string bytes = output.Close(&written);
    if (written != (result->outcome == Utf8Outcome::Complete)) std::abort();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint32_t>& points = CodePoints();
    std::string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        std::size_t choice = data[i] * 256u + data[i + 1];
        if (choice % 64 == 0) {
            text += "\r\n";
            continue;
        }
        unsigned char bytes[4];
        int length = EncodeUtf8(points[choice % points.size()], bytes);
        text.append(reinterpret_cast<char*>(bytes), static_cast<std::size_t>(length));
    }
    Utf8Result result;
    std::string sjis = Convert(text, false, LegacyEncoding::ShiftJis, &result);
    if (result.outcome != Utf8Outcome::Complete) std::abort();
    if (Convert(sjis, true, LegacyEncoding::ShiftJis, &result) != text) std::abort();

    std::string euc = Convert(text, false, LegacyEncoding::EucJp, &result);
    if (result.outcome == Utf8Outcome::Complete) {
        std::string lf;
        for (char c : text) {
            if (c != '\r') lf += c;
        }
        if (Convert(euc, true, LegacyEncoding::EucJp, &result) != lf) std::abort();
    } else if (result.firstMissing < 0 ||
               UnicodeToEucJp(static_cast<std::uint32_t>(result.firstMissing)) != kNoCell) {
        std::abort();
    }
    return 0;
}
