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

Path PathFromUtf8(const std::string& text) {
    Path path;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end) {
        Utf8Char c = DecodeUtf8(p, end);
        p += c.length;
        auto code = static_cast<std::uint32_t>(c.codePoint < 0 ? 0xFFFD : c.codePoint);
        if (code >= 0x10000) {
            code -= 0x10000;
            path.push_back(static_cast<PathChar>(0xD800 + (code >> 10)));
            path.push_back(static_cast<PathChar>(0xDC00 + (code & 0x3FF)));
        } else {
            path.push_back(static_cast<PathChar>(code));
        }
    }
    return path;
}

std::string Utf8FromPath(const Path& path) {
    std::string text;
    for (std::size_t i = 0; i < path.size(); i++) {
        std::uint32_t c = path[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 &&
            path[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (path[++i] - 0xDC00);
        }
        unsigned char bytes[4];
        int length = EncodeUtf8(c, bytes);
        if (length == 0) length = EncodeUtf8(0xFFFD, bytes);  // an unpaired surrogate
        text.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    }
    return text;
}
