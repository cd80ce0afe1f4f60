#include "engine/utf8.h"

Utf8Char DecodeUtf8(const unsigned char* p, const unsigned char* end) {
    const Utf8Lead& lead = Utf8LeadOf(p[0]);
    if (lead.continuations < 0) return {kMalformedUtf8, 1};
    std::uint32_t codePoint = Utf8LeadBits(p[0], lead.continuations);
    unsigned low = lead.low;
    unsigned high = lead.high;
    for (int i = 1; i <= lead.continuations; i++) {
        if (p + i == end) return {kCutUtf8, i};
        if (p[i] < low || p[i] > high) return {kMalformedUtf8, i};
        codePoint = (codePoint << 6) | (p[i] & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    return {static_cast<std::int32_t>(codePoint), lead.continuations + 1};
}

int EncodeUtf8(std::uint32_t codePoint, unsigned char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<unsigned char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
    if (codePoint < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    if (codePoint > 0x10FFFF) return 0;
    out[0] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 4;
}

std::uint32_t PackUtf8(std::uint32_t codePoint) {
    unsigned char bytes[4];
    if (codePoint > 0xFFFF) return 0;
    int length = EncodeUtf8(codePoint, bytes);
    if (length == 0) return 0;
    std::uint32_t packed = static_cast<std::uint32_t>(length) << 24;
    for (int i = 0; i < length; i++) packed |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return packed;
}
