// What the tray's progress costs a run, counted rather than guessed from two
// noisy runs: the time of one redraw (a new picture and tip handed to the
// shell, or the tip alone) and of one call that the throttle turns away. A
// run redraws at most once per kProgressIntervalMs, so the share of its time
// the progress takes follows from these and from the time a memo takes.
//
// Usage: tavelin_progress_bench MS_PER_MEMO [REDRAWS]. Prints the figures and
// a last line "progress.share PERCENT": the share of a run of such memos
// spent on the progress, at the most, by the wall clock (which also counts
// the shell's work on the tray).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "bench/win32/bench_clock.h"
#include "ui/busy_window_win.h"
#include "ui/progress.h"

namespace {

// CPU seconds (user and kernel) this process has used.
double CpuNow() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

// Wall-clock and CPU seconds of one call, on average.
struct CallCost {
    double wall;
    double cpu;
};

// Seconds per redraw: count redraws, each kProgressIntervalMs after the last
// on the tray's clock (*clock, which moves on). With changeBar each one moves
// the bar between a fifth and four fifths (a new picture and tip); without,
// only the count in the tip moves.
CallCost TimeRedraws(HWND busy, int count, bool changeBar, DWORD* clock, int* made) {
    const int total = 1000000;
    *made = 0;
    double began = Now();
    double cpuBegan = CpuNow();
    for (int i = 0; i < count; i++) {
        int done = changeBar ? (i % 2 == 0 ? total / 5 : total * 4 / 5) + i : total / 2 + i;
        *clock += kProgressIntervalMs;
        if (UpdateBusyProgressAt(busy, done, total, *clock)) ++*made;
    }
    return CallCost{(Now() - began) / count, (CpuNow() - cpuBegan) / count};
}

// Seconds per call the throttle turns away, the clock read as a run reads
// it. The redraws above went ahead of the real clock, so every call here
// comes too soon after the last of them.
CallCost TimeTurnedAway(HWND busy, int count, int* made) {
    const int total = count + 1;
    *made = 0;
    double began = Now();
    double cpuBegan = CpuNow();
    for (int i = 0; i < count; i++) {
        if (UpdateBusyProgress(busy, i, total)) ++*made;
    }
    return CallCost{(Now() - began) / count, (CpuNow() - cpuBegan) / count};
}

}  // namespace

int main(int argc, char** argv) {
    const double msPerMemo = argc > 1 ? std::atof(argv[1]) : 0.0;
    const int redraws = argc > 2 ? std::atoi(argv[2]) : 400;
    if (msPerMemo <= 0.0 || redraws <= 0) {
        std::fprintf(stderr, "usage: tavelin_progress_bench MS_PER_MEMO [REDRAWS]\n");
        return 2;
    }
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (RegisterBusyWindowClass(instance) == 0) return 1;
    HWND busy = CreateBusyWindow(instance, kBusyTip);
    if (busy == nullptr) return 1;

    int pictures = 0;
    int tips = 0;
    int redrawnAmongCalls = 0;
    const int calls = 10000000;
    DWORD clock = GetTickCount() + kProgressDelayMs;
    const CallCost picture = TimeRedraws(busy, redraws, true, &clock, &pictures);
    const CallCost tip = TimeRedraws(busy, redraws, false, &clock, &tips);
    const CallCost call = TimeTurnedAway(busy, calls, &redrawnAmongCalls);
    DestroyBusyWindow(busy);
    if (pictures != redraws || tips != redraws || redrawnAmongCalls != 0) {
        std::fprintf(stderr,
                     "the throttle did not do as timed: %d, %d of %d redraws, %d among calls\n",
                     pictures, tips, redraws, redrawnAmongCalls);
        return 1;
    }

    // The worst a run sees: a new picture at every chance, and one call per
    // memo. The wall clock counts the shell's work on the tray too.
    const double perSecond = 1000.0 / kProgressIntervalMs;
    const double memo = msPerMemo / 1000.0;
    const double wallShare = perSecond * picture.wall + call.wall / memo;
    const double cpuShare = perSecond * picture.cpu + call.cpu / memo;
    std::printf("%-30s %10s %10s\n", "", "wall", "CPU");
    std::printf("%-30s %7.3f ms %7.3f ms\n", "redraw with a new picture", picture.wall * 1e3,
                picture.cpu * 1e3);
    std::printf("%-30s %7.3f ms %7.3f ms\n", "redraw of the tip alone", tip.wall * 1e3,
                tip.cpu * 1e3);
    std::printf("%-30s %7.1f ns %7.1f ns\n", "call turned away", call.wall * 1e9, call.cpu * 1e9);
    std::printf(
        "at most %.0f redraws a second and a call per memo of %.3f ms: %.2f%% of a run's "
        "time, %.2f%% of its CPU time\n",
        perSecond, msPerMemo, wallShare * 100.0, cpuShare * 100.0);
    std::printf("progress.share %.3f\n", wallShare * 100.0);
    return 0;
}
