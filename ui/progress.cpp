#include "ui/progress.h"

#include <cstring>

#include "util/text.h"

namespace {

// "-2,147,483,648" and its terminator.
constexpr int kCountCapacity = 16;

// The text, cut to leave room for the suffix, then the suffix.
void JoinTip(char* tip, const char* text, const char* suffix) {
    const int suffixLength = static_cast<int>(std::strlen(suffix));
    int room = kTrayTipCapacity - suffixLength;
    if (room < 1) room = 1;
    CopyBounded(tip, text, room);
    const int length = static_cast<int>(std::strlen(tip));
    CopyBounded(tip + length, suffix, kTrayTipCapacity - length);
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

void FormatProgressTip(char* tip, const char* text, std::int32_t done, std::int32_t total) {
    char doneText[kCountCapacity];
    char totalText[kCountCapacity];
    FormatCount(doneText, sizeof doneText, done);
    FormatCount(totalText, sizeof totalText, total);
    char suffix[kTrayTipCapacity];
    FormatBounded(suffix, sizeof suffix, " (%s / %s)", doneText, totalText);
    JoinTip(tip, text, suffix);
}

void FormatGatheringTip(char* tip, const char* text, std::int32_t found) {
    char foundText[kCountCapacity];
    FormatCount(foundText, sizeof foundText, found);
    char suffix[kTrayTipCapacity];
    FormatBounded(suffix, sizeof suffix, " (検索中 %s 件)", foundText);
    JoinTip(tip, text, suffix);
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
