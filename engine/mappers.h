// Mappers: arithmetic between Shift-JIS, EUC-JP and the 7-bit JIS code, with
// no tables. Every mapper returns EndOfInput unchanged and otherwise works on
// the value's low 16 bits; invalid input gives deterministic, meaningless
// output. The writer puts a value out as one or two bytes.
// Inline, so that the transcoding loop runs without a call per character, and
// constexpr, so that tables can be built from them at compile time.
#pragma once

#include <cstdint>

#include "engine/byte_stream.h"
#include "engine/conversion.h"

namespace mapper_detail {
// The low byte of a number, also of a negative one (modulo 256).
constexpr CodeChar LowByte(CodeChar value) { return static_cast<CodeChar>(value & 0xFF); }
constexpr CodeChar Low16(CodeChar value) { return static_cast<CodeChar>(value & 0xFFFF); }
}  // namespace mapper_detail

// EUC-JP to JIS. ASCII (0x00-0x7F) stays; 0x8E with half-width katakana
// 0xA1-0xDF becomes the katakana byte alone; a two-byte character
// 0xA1-0xFE 0xA1-0xFE loses the top bit of both bytes (row and cell
// 0x21-0x7E). Anything else gets the same subtraction, possibly negative:
// the next stage uses only the low 16 bits.
constexpr CodeChar EucJpToJis(CodeChar value) {
    if (value == EndOfInput) return EndOfInput;
    CodeChar v = mapper_detail::Low16(value);
    if (v <= 0x7F) return v;
    if (v >= 0x8E80 && v <= 0x8EFF) return v - 0x8E00;
    return v - 0x8080;
}

// JIS to Shift-JIS. With the character's index t = 94 * (j1 - 0x21) + (j2 - 0x21),
// two JIS rows share one Shift-JIS lead byte (188 cells each):
//   s1 = t / 188 + 0x81, moved up by 0x40 past 0x9F (leads 0x81-0x9F, 0xE0-0xEF)
//   s2 = t % 188 + 0x40, moved up by 1 past 0x7E (trails 0x40-0x7E, 0x80-0xFC)
// Values below 0x2121 (ASCII, half-width katakana) pass unchanged.
constexpr CodeChar JisToShiftJis(CodeChar value) {
    if (value == EndOfInput) return EndOfInput;
    CodeChar v = mapper_detail::Low16(value);
    if (v < 0x2121) return v;
    CodeChar j1 = v / 256;
    CodeChar j2 = v % 256;
    CodeChar t = j1 * 94 + j2 - 3135;  // (j1 - 0x21) * 94 + (j2 - 0x21)
    CodeChar s1 = t / 188 + 0x81;
    if (s1 > 0x9F) s1 += 0x40;
    CodeChar s2 = t % 188 + 0x40;
    if (s2 > 0x7E) s2 += 1;
    return mapper_detail::LowByte(s1) * 256 + mapper_detail::LowByte(s2);
}

// Shift-JIS to JIS, the same formula backwards:
//   t = 188 * (s1 - (s1 < 0xE0 ? 0x81 : 0xC1)) + (s2 - (s2 < 0x80 ? 0x40 : 0x41))
//   j1 = t / 94 + 0x21, j2 = t % 94 + 0x21
// Single bytes (ASCII, half-width katakana 0xA1-0xDF) pass unchanged. A trail
// byte below 0x40 makes t negative; division and remainder then truncate
// toward zero and only the low byte of each is kept.
constexpr CodeChar ShiftJisToJis(CodeChar value) {
    if (value == EndOfInput) return EndOfInput;
    CodeChar v = mapper_detail::Low16(value);
    if (v < 0x4081) return v;
    CodeChar s1 = v / 256;
    if (s1 > 0x9F) s1 -= 0x40;
    s1 -= 0x81;
    CodeChar s2 = v % 256;
    if (s2 > 0x7E) s2 -= 1;
    CodeChar t = s1 * 188 + s2 - 0x40;
    return mapper_detail::LowByte(t / 94 + 0x21) * 256 + mapper_detail::LowByte(t % 94 + 0x21);
}

// JIS to EUC-JP: ASCII stays; a single 8-bit byte (half-width katakana) gets
// the single shift 0x8E in front; a two-byte code gets the top bit of both
// bytes set (the result may pass 0xFFFF; the writer keeps the low 16 bits).
constexpr CodeChar JisToEucJp(CodeChar value) {
    if (value == EndOfInput) return EndOfInput;
    CodeChar v = mapper_detail::Low16(value);
    if (v <= 0x7F) return v;
    if (v <= 0xFF) return v + 0x8E00;
    return v + 0x8080;
}

constexpr CodeChar ShiftJisToEucJp(CodeChar value) { return JisToEucJp(ShiftJisToJis(value)); }
constexpr CodeChar EucJpToShiftJis(CodeChar value) { return JisToShiftJis(EucJpToJis(value)); }

// Bits 8-15, when not zero, then bits 0-7; higher bits are ignored.
inline void WriteCodeChar(CodeChar value, ByteStream* output) {
    auto bits = static_cast<std::uint32_t>(value);
    std::uint32_t first = (bits >> 8) & 0xFF;
    if (first != 0) StreamWriteByte(output, static_cast<int>(first));
    StreamWriteByte(output, static_cast<int>(bits & 0xFF));
}
