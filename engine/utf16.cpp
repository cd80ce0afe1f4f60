#include "engine/utf16.h"

Utf16Char DecodeUtf16(const unsigned char* p, const unsigned char* end, ByteOrder order) {
    if (end - p < 2) return {kCutUtf16, static_cast<int>(end - p)};
    std::uint32_t unit = Utf16Unit(p, order);
    if (IsLowSurrogate(unit)) return {kMalformedUtf16, 2};
    if (!IsHighSurrogate(unit)) return {static_cast<std::int32_t>(unit), 2};
    if (end - p < 4) return {kCutUtf16, static_cast<int>(end - p)};
    std::uint32_t low = Utf16Unit(p + 2, order);
    if (!IsLowSurrogate(low)) return {kMalformedUtf16, 2};
    return {static_cast<std::int32_t>(SurrogatePair(unit, low)), 4};
}

bool Utf16Check::TakeUnit(std::uint32_t unit) {
    if (ended_) {
        broken_ = unit != kUtf16EndMark;
    } else if (highPending_) {
        broken_ = !IsLowSurrogate(unit);
        highPending_ = false;
    } else if (IsHighSurrogate(unit)) {
        highPending_ = true;
    } else {
        broken_ = unit == 0 || IsLowSurrogate(unit);
        ended_ = unit == kUtf16EndMark;
    }
    return !broken_;
}

bool Utf16Check::Feed(const unsigned char* p, const unsigned char* end) {
    if (broken_) return false;
    if (bytePending_ && p < end) {
        const unsigned char pair[2] = {pendingByte_, *p++};
        bytePending_ = false;
        if (!TakeUnit(Utf16Unit(pair, order_))) return false;
    }
    // Most units are neither zero, the end mark nor a surrogate: one test
    // each, the rest only for those that fail it.
    for (; end - p >= 2; p += 2) {
        std::uint32_t unit = Utf16Unit(p, order_);
        bool plain =
            unit > kUtf16EndMark && (unit < 0xD800 || unit > 0xDFFF) && !highPending_ && !ended_;
        if (!plain && !TakeUnit(unit)) return false;
    }
    if (p < end) {
        pendingByte_ = *p;
        bytePending_ = true;
    }
    return true;
}

bool Utf16Check::Finish() const { return !broken_ && !bytePending_ && !highPending_; }
