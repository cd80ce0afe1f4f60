// Shift-JIS to EUC-JP and back is the identity for text made of ASCII (CR
// only in CR LF line ends, no 0x1A), half-width katakana and JIS X 0208
// characters (any row and cell 0x21-0x7E). The fuzzer's bytes choose the
// characters.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/conversion.h"
#include "tests/fuzz/support/memory_streams.h"

namespace {

const ConversionRule* Rule(DetectionCode source, ConversionMask mask) {
    const ConversionRule* rule = nullptr;
    if (FindConversionRule(source, mask, &rule) != RuleOutcome::Convert) std::abort();
    return rule;
}

// The Shift-JIS form of a JIS X 0208 row and cell (1 to 94 each).
std::string ShiftJisChar(int row, int cell) {
    int t = (row - 1) * 94 + (cell - 1);
    int lead = t / 188 + 0x81;
    if (lead > 0x9F) lead += 0x40;
    int trail = t % 188 + 0x40;
    if (trail > 0x7E) trail++;
    return {static_cast<char>(lead), static_cast<char>(trail)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; i++) {
        std::uint8_t b = data[i];
        switch (b % 4) {
            case 0: {            // ASCII other than CR, LF and 0x1A; or a CR LF line end
                int c = b >> 2;  // 0-63, then shifted into 0x00-0x7F
                c = (c * 2 + (i & 1)) & 0x7F;
                if (c == '\r' || c == '\n') {
                    text += "\r\n";
                } else if (c != 0x1A) {
                    text += static_cast<char>(c);
                }
                break;
            }
            case 1:  // half-width katakana 0xA1-0xDF
                text += static_cast<char>(0xA1 + (b >> 2) % 63);
                break;
            default: {  // a JIS X 0208 character from two bytes
                std::uint8_t next = i + 1 < size ? data[++i] : 0;
                text += ShiftJisChar(1 + (b >> 1) % 94, 1 + next % 94);
                break;
            }
        }
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    std::string euc =
        Transcode(bytes, text.size(), Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp));
    std::string back = Transcode(reinterpret_cast<const std::uint8_t*>(euc.data()), euc.size(),
                                 Rule(DetectionCode::EucJp, ConversionMask::IntoShiftJis));
    if (back != text) std::abort();
    return 0;
}
