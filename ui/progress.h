// What the tray icon tells of a long run, decided without the window system:
// the tip with the count, how much of the bar over the icon is filled, and
// when a redraw is worth its cost. The Win32 side (busy_window_win.h) asks
// this for every file and draws only when told to.
#pragma once

#include <cstdint>

// The tip of the first version of the tray record: 63 UTF-16 code units and
// a terminator.
constexpr int kTrayTipCapacity = 64;

// The bar drawn over the bottom of the icon: a black frame this many pixels
// high, as wide as the icon, holding one row of cells one pixel wide each.
constexpr int kProgressBarHeight = 5;
// A run shorter than this looks as it always did: the plain icon and tip.
constexpr std::uint32_t kProgressDelayMs = 500;
// The least time between two redraws, bar the last one.
constexpr std::uint32_t kProgressIntervalMs = 250;

// The count with a comma every three digits ("1,234,567"). The length, or -1
// when the buffer was too small (it then holds a cut text).
int FormatCount(char* buffer, int capacity, std::int32_t count);

// The text alone: the tip before any count.
void FormatPlainTip(char16_t* tip, const char16_t* text);
// "<text> (1,234 / 10,000)": the tip while the run converts.
void FormatProgressTip(char16_t* tip, const char16_t* text, std::int32_t done, std::int32_t total);
// "<text> (検索中 1,234 件)": the tip while the files are still being found.
void FormatGatheringTip(char16_t* tip, const char16_t* text, std::int32_t found);
// All three write kTrayTipCapacity code units at most and keep the numbers whole:
// when the text and the numbers do not fit the tip together, the text is
// cut, never between the two halves of a surrogate pair.

// How many of the bar's cells done of total fills, rounded down, so the bar
// is full only when everything is done. Nothing to do counts as done.
std::int32_t FilledCells(std::int32_t done, std::int32_t total, std::int32_t cells);

// What the tray shows beyond the plain icon and tip.
struct TrayView {
    std::int32_t count;  // files done, or found while gathering
    std::int32_t total;  // files to do; kGatheringTotal while gathering
    std::int32_t cells;  // filled cells of the bar; kNoBar for the plain icon
};
constexpr std::int32_t kGatheringTotal = -1;
constexpr std::int32_t kNoBar = -1;

// Which parts of the tray a redraw changes.
enum TrayRedraw : unsigned {
    RedrawNothing = 0,
    RedrawTip = 1,
    RedrawIcon = 2,
};

// When the tray is redrawn. The clock is any millisecond counter that wraps
// at 2^32 (GetTickCount): only differences are used, and a reading a little
// behind the last one counts as no time passed.
struct ProgressThrottle {
    std::uint32_t startMs;  // when the busy window appeared
    std::uint32_t shownMs;  // when the last redraw happened
    bool showing;           // the progress has been shown at least once
    TrayView shown;
};

void StartProgressThrottle(ProgressThrottle* throttle, std::uint32_t nowMs);
// Whether to redraw for done of total files, on a bar of barCells cells, and
// what: nothing during the first kProgressDelayMs, nothing within
// kProgressIntervalMs of the last redraw unless everything is done, and
// nothing when neither the count nor the bar would change. A redraw it
// answers is taken as made.
unsigned TakeProgressRedraw(ProgressThrottle* throttle, std::int32_t done, std::int32_t total,
                            std::int32_t barCells, std::uint32_t nowMs);
// The same while the files are gathered: only the tip changes, the icon
// stays plain.
unsigned TakeGatheringRedraw(ProgressThrottle* throttle, std::int32_t found, std::uint32_t nowMs);
