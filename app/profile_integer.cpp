#include "app/profile_integer.h"

static bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool ParseProfileInteger(const char* text, std::int32_t* value) {
    const char* p = text;
    while (IsScanSpace(*p)) p++;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!IsDigit(*p)) return false;
    // The magnitude is kept in 64 bits and checked after every digit, so that
    // no run of digits, however long, can overflow it.
    const std::int64_t limit = negative ? INT64_C(2147483648) : INT64_C(2147483647);
    std::int64_t magnitude = 0;
    for (; IsDigit(*p); p++) {
        magnitude = magnitude * 10 + (*p - '0');
        if (magnitude > limit) return false;
    }
    *value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}
