// glibc's iconv over whole texts, the independent reference that the
// engine's conversions are compared with, and a readable account of where
// two results part.
#pragma once

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <string>

// The whole text converted by glibc's iconv; false when iconv refuses it.
inline bool Iconv(const char* to, const char* from, const std::string& input, std::string* output) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    output->clear();
    std::string in = input;
    char* inPointer = &in[0];
    std::size_t inLeft = in.size();
    bool ok = true;
    char buffer[4096];
    for (;;) {
        char* outPointer = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t result = inLeft > 0 ? iconv(cd, &inPointer, &inLeft, &outPointer, &outLeft)
                                        : iconv(cd, nullptr, nullptr, &outPointer, &outLeft);
        output->append(buffer, static_cast<std::size_t>(outPointer - buffer));
        if (result != static_cast<std::size_t>(-1) && inLeft == 0) {
            // Flush the shift state (ISO-2022-JP returns to ASCII at the end).
            outPointer = buffer;
            outLeft = sizeof buffer;
            ok = iconv(cd, nullptr, nullptr, &outPointer, &outLeft) != static_cast<std::size_t>(-1);
            output->append(buffer, static_cast<std::size_t>(outPointer - buffer));
            break;
        }
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            ok = false;
            break;
        }
    }
    iconv_close(cd);
    return ok;
}

// Where two byte strings part, in hex, for a readable failure.
inline std::string FirstDifference(const std::string& ours, const std::string& theirs) {
    std::size_t i = 0;
    while (i < ours.size() && i < theirs.size() && ours[i] == theirs[i]) i++;
    if (i == ours.size() && i == theirs.size()) return "identical";
    auto hex = [i](const std::string& s) {
        std::string h;
        char b[4];
        for (std::size_t k = i; k < s.size() && k < i + 8; k++) {
            std::snprintf(b, sizeof b, "%02X ", static_cast<unsigned char>(s[k]));
            h += b;
        }
        return h;
    };
    return "offset " + std::to_string(i) + ": ours " + hex(ours) + "/ expected " + hex(theirs);
}
