// Whether a conversion's UTF-8 output is well-formed, by the engine's own
// decoder (engine/utf8.h), for the fuzz targets that write UTF-8.
#pragma once

#include <string>

#include "engine/utf8.h"

inline bool WellFormedUtf8(const std::string& text) {
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* end = p + text.size();
    while (p < end) {
        Utf8Char c = DecodeUtf8(p, end);
        if (c.codePoint < 0) return false;
        p += c.length;
    }
    return true;
}
