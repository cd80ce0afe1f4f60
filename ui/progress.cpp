#include "ui/progress.h"

#include <cstddef>
#include <string>

#include "util/text.h"

namespace {

// "-2,147,483,648" and its terminator.
constexpr int kCountCapacity = 16;

std::size_t Length(const char16_t* text) {
    std::size_t length = 0;
    while (text[length] != u'\0') length++;
    return length;
}

// The text, cut to leave room for the suffix (never between the halves of a
// surrogate pair), then the suffix.
void JoinTip(char16_t* tip, const char16_t* text, const std::u16string& suffix) {
    const std::size_t room = kTrayTipCapacity - 1;
    std::size_t suffixLength = suffix.size() < room ? suffix.size() : room;
    std::size_t textLength = Length(text);
    if (textLength > room - suffixLength) {
        textLength = room - suffixLength;
        // A high surrogate at the cut would stand without its partner.
        if (textLength > 0 && text[textLength - 1] >= 0xD800 && text[textLength - 1] <= 0xDBFF) {
            textLength--;
        }
    }
    std::size_t at = 0;
    for (std::size_t i = 0; i < textLength; i++) tip[at++] = text[i];
    for (std::size_t i = 0; i < suffixLength; i++) tip[at++] = suffix[i];
    tip[at] = u'\0';
}

// The count as FormatCount writes it, in UTF-16.
std::u16string CountText(std::int32_t count) {
    char digits[kCountCapacity];
    FormatCount(digits, sizeof digits, count);
    std::u16string text;
    for (const char* p = digits; *p != '\0'; p++) text.push_back(static_cast<char16_t>(*p));
    return text;
}

unsigned TakeRedraw(ProgressThrottle* throttle, const TrayView& next, std::uint32_t nowMs) {
    unsigned parts = RedrawNothing;
    if (next.count != throttle->shown.count || next.total != throttle->shown.total) {
        parts |= RedrawTip;
    }
    if (next.cells != throttle->shown.cells) parts |= RedrawIcon;
    if (parts == RedrawNothing) return RedrawNothing;
    throttle->shown = next;
    throttle->shownMs = nowMs;
    throttle->showing = true;
    return parts;
}

// Milliseconds from then to now, across the clock's wrap; negative for a
// reading taken a little before then.
std::int32_t Since(std::uint32_t thenMs, std::uint32_t nowMs) {
    return static_cast<std::int32_t>(nowMs - thenMs);
}

// Whether the clock keeps the tray as it is, whatever it would show. This is
// what nearly every call ends in, so it looks at nothing else.
bool TooSoon(const ProgressThrottle* throttle, bool last, std::uint32_t nowMs) {
    if (!throttle->showing) return Since(throttle->startMs, nowMs) < std::int32_t{kProgressDelayMs};
    return !last && Since(throttle->shownMs, nowMs) < std::int32_t{kProgressIntervalMs};
}

}  // namespace

int FormatCount(char* buffer, int capacity, std::int32_t count) {
    // The digits backwards, with a comma before every fourth; the magnitude
    // of the smallest count does not fit its own type.
    char reversed[kCountCapacity];
    int length = 0;
    std::int64_t rest = count < 0 ? -static_cast<std::int64_t>(count) : count;
    do {
        if (length % 4 == 3) reversed[length++] = ',';
        reversed[length++] = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (count < 0) reversed[length++] = '-';
    char text[kCountCapacity];
    for (int i = 0; i < length; i++) text[i] = reversed[length - 1 - i];
    text[length] = '\0';
    if (capacity < 1) return -1;
    CopyBounded(buffer, text, capacity);
    return length < capacity ? length : -1;
}

void FormatPlainTip(char16_t* tip, const char16_t* text) { JoinTip(tip, text, u""); }

void FormatProgressTip(char16_t* tip, const char16_t* text, std::int32_t done, std::int32_t total) {
    JoinTip(tip, text, u" (" + CountText(done) + u" / " + CountText(total) + u")");
}

void FormatGatheringTip(char16_t* tip, const char16_t* text, std::int32_t found) {
    JoinTip(tip, text, u" (検索中 " + CountText(found) + u" 件)");
}

std::int32_t FilledCells(std::int32_t done, std::int32_t total, std::int32_t cells) {
    if (cells <= 0) return 0;
    if (done >= total) return cells;
    if (done <= 0) return 0;
    // In 64 bits: a count of millions times the cells overflows 32.
    return static_cast<std::int32_t>(static_cast<std::int64_t>(done) * cells / total);
}

void StartProgressThrottle(ProgressThrottle* throttle, std::uint32_t nowMs) {
    throttle->startMs = nowMs;
    throttle->shownMs = nowMs;
    throttle->showing = false;
    // Nothing a run can show: the first view that gets past the clock differs.
    throttle->shown = TrayView{-1, kGatheringTotal - 1, kNoBar};
}

unsigned TakeProgressRedraw(ProgressThrottle* throttle, std::int32_t done, std::int32_t total,
                            std::int32_t barCells, std::uint32_t nowMs) {
    const bool last = done >= total;
    if (TooSoon(throttle, last, nowMs)) return RedrawNothing;
    return TakeRedraw(throttle, TrayView{done, total, FilledCells(done, total, barCells)}, nowMs);
}

unsigned TakeGatheringRedraw(ProgressThrottle* throttle, std::int32_t found, std::uint32_t nowMs) {
    if (TooSoon(throttle, false, nowMs)) return RedrawNothing;
    return TakeRedraw(throttle, TrayView{found, kGatheringTotal, kNoBar}, nowMs);
}
