// From Unicode into Shift-JIS or EUC-JP through code page 932's table
// (engine/cp932_table.h): a code point's code, and what becomes of a
// character that has none. The UTF-8 and the UTF-16 transcoders share them,
// so that both name and replace the same characters.
#pragma once

#include <cstdint>

#include "engine/byte_stream.h"
#include "engine/mappers.h"
#include "engine/utf8_transcode.h"

// The code of a code point in the target's table (Cp932Tables::shiftJis or
// eucJp), 0 when there is none; ASCII is itself.
inline std::uint32_t CodeOf(const std::uint16_t* table, std::int32_t codePoint) {
    if (codePoint < 0) return 0;
    if (codePoint < 0x80) return static_cast<std::uint32_t>(codePoint);
    return codePoint <= 0xFFFF ? table[codePoint] : 0;
}

// Puts one character out in the target: its code; for one without a code
// (or for bytes that are no character, a negative codePoint) the substitute,
// counted, where the user asked for the conversion all the same. Without a
// substitute (0) such a character stops the conversion: the output is
// marked failed, so that it is never taken for the result, and the answer
// is false. The first such character is kept in *result either way.
inline bool PutInTarget(std::int32_t codePoint, const std::uint16_t* table,
                        std::uint32_t substitute, Utf8Result* result, ByteStream* output) {
    std::uint32_t code = CodeOf(table, codePoint);
    if (code == 0 && codePoint != 0) {
        if (result->outcome == Utf8Outcome::Complete) result->firstMissing = codePoint;
        if (substitute == 0) {
            result->outcome = Utf8Outcome::NoCell;
            StreamMarkFailed(output);
            return false;
        }
        result->outcome = Utf8Outcome::Replaced;
        result->replaced++;
        code = substitute;
    }
    WriteCodeChar(static_cast<CodeChar>(code), output);
    return true;
}
