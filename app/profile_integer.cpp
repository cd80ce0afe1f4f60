#include "app/profile_integer.h"

static bool IsScanSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

static bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool ParseProfileInteger(const std::u16string& text, std::int32_t* value) {
    std::size_t p = 0;
    auto at = [&](std::size_t i) { return i < text.size() ? text[i] : u'\0'; };
    while (IsScanSpace(at(p))) p++;
    bool negative = false;
    if (at(p) == u'+' || at(p) == u'-') negative = at(p++) == u'-';
    if (!IsDigit(at(p))) return false;
    // The magnitude is kept in 64 bits and checked after every digit, so that
    // no run of digits, however long, can overflow it.
    const std::int64_t limit = negative ? INT64_C(2147483648) : INT64_C(2147483647);
    std::int64_t magnitude = 0;
    for (; IsDigit(at(p)); p++) {
        magnitude = magnitude * 10 + (at(p) - u'0');
        if (magnitude > limit) return false;
    }
    *value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

std::u16string ProfileIntegerText(std::int32_t value) {
    // Counted in 64 bits, where the magnitude of INT32_MIN fits.
    std::int64_t magnitude = value < 0 ? -static_cast<std::int64_t>(value) : value;
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    return value < 0 ? u"-" + digits : digits;
}
