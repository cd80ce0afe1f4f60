// What the tray's progress costs a run, counted rather than guessed from two
// noisy runs: the time of one redraw (a new picture and tip handed to the
// shell, or the tip alone) and of one call that the throttle turns away. A
// run redraws at most once per kProgressIntervalMs, so the share of its time
// the progress takes follows from these and from the time a memo takes.
//
// Usage: tavelin_progress_bench WALL_MS CPU_MS [REDRAWS], the wall-clock and
// CPU milliseconds a memo takes in a run. Prints the figures and two last
// lines, "progress.share PERCENT" and "progress.cpushare PERCENT": the share
// of such a run spent on the progress, at the most, by the wall clock (which
// also counts the time the shell takes over the tray) and in CPU time.
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
    const double wallPerMemo = argc > 1 ? std::atof(argv[1]) / 1000.0 : 0.0;
    const double cpuPerMemo = argc > 2 ? std::atof(argv[2]) / 1000.0 : 0.0;
    const int redraws = argc > 3 ? std::atoi(argv[3]) : 400;
    if (wallPerMemo <= 0.0 || cpuPerMemo <= 0.0 || redraws <= 0) {
        std::fprintf(stderr, "usage: tavelin_progress_bench WALL_MS CPU_MS [REDRAWS]\n");
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

    // The worst a run sees: a new picture at every chance (a few each
    // second of the run), and one call per memo. The wall clock counts the
    // shell's work on the tray too.
    const double perSecond = 1000.0 / kProgressIntervalMs;
    const double redrawsPerMemo = perSecond * wallPerMemo;
    const double wallShare = (redrawsPerMemo * picture.wall + call.wall) / wallPerMemo;
    const double cpuShare = (redrawsPerMemo * picture.cpu + call.cpu) / cpuPerMemo;
    std::printf("%-30s %10s %10s\n", "", "wall", "CPU");
    std::printf("%-30s %7.3f ms %7.3f ms\n", "redraw with a new picture", picture.wall * 1e3,
                picture.cpu * 1e3);
    std::printf("%-30s %7.3f ms %7.3f ms\n", "redraw of the tip alone", tip.wall * 1e3,
                tip.cpu * 1e3);
    std::printf("%-30s %7.1f ns %7.1f ns\n", "call turned away", call.wall * 1e9, call.cpu * 1e9);
    std::printf(
        "at most %.0f redraws a second and a call per memo, memos of %.3f ms (%.3f ms CPU): "
        "%.2f%% of a run's time, %.2f%% of its CPU time\n",
        perSecond, wallPerMemo * 1e3, cpuPerMemo * 1e3, wallShare * 100.0, cpuShare * 100.0);
    std::printf("progress.share %.3f\n", wallShare * 100.0);
    std::printf("progress.cpushare %.3f\n", cpuShare * 100.0);
    return 0;
}
