// A long run of the whole program as its user watches it: the tray's tip
// counting the memos done up to the end, and the icon's bar filling, read
// from the running program and photographed where Wine shows its own tray.
#include <windows.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/program_runner.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/busy_window_win.h"
#include "util/path_win.h"

namespace {

constexpr char kWineTrayTitle[] = "Wine System Tray";
constexpr DWORD kGreen = 0x00A800;
constexpr int kMemos = 3000;

// One look at the program's tray icon.
struct TraySight {
    std::string tip;
    int green;  // pixels of the bar's filled cells on the screen
};

// The tip of the program's busy window, read from the program's memory (the
// window's property points at the record the program gives the shell), in
// code page 932 as this test's texts are. Empty when the program has no busy
// window just now.
std::string TipOf(HANDLE process, DWORD processId) {
    HWND busy = nullptr;
    while ((busy = FindWindowExW(nullptr, busy, kBusyWindowClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(busy, &owner);
        if (owner == processId) break;
    }
    if (busy == nullptr) return "";
    void* record = GetPropW(busy, kPropTrayIconData);
    if (record == nullptr) return "";
    // The program may be writing the tip just then: only a tip read the same
    // twice in a row counts.
    std::wstring last;
    for (int attempt = 0; attempt < 10; attempt++) {
        NOTIFYICONDATAW copy{};
        SIZE_T read = 0;
        if (!ReadProcessMemory(process, record, &copy, NOTIFYICONDATAW_V1_SIZE, &read) ||
            read != NOTIFYICONDATAW_V1_SIZE) {
            return "";
        }
        copy.szTip[ARRAYSIZE(copy.szTip) - 1] = L'\0';
        // The program lets go of the property before it frees the record: a
        // property still there after the read means the read was of it.
        if (GetPropW(busy, kPropTrayIconData) != record) return "";
        if (attempt > 0 && last == copy.szTip) return Cp932(PathFromWide(last.c_str()));
        last = copy.szTip;
    }
    return "";
}

int CountGreen(HWND tray) {
    int green = 0;
    for (DWORD pixel : ScreenPixels(tray)) green += pixel == kGreen ? 1 : 0;
    return green;
}

// The number a gathering tip ends with, "(検索中 1,234 件)"; -1 for any
// other tip.
int ParseGathering(const std::string& tip) {
    const std::string start = " (検索中 ";
    const std::string end = " 件)";
    std::size_t at = tip.rfind(start);
    if (at == std::string::npos || tip.size() < end.size() ||
        tip.compare(tip.size() - end.size(), end.size(), end) != 0) {
        return -1;
    }
    int found = 0;
    for (std::size_t i = at + start.size(); i < tip.size() - end.size(); i++) {
        if (tip[i] == ',') continue;
        if (tip[i] < '0' || tip[i] > '9') return -1;
        found = found * 10 + (tip[i] - '0');
    }
    return found;
}

// The count a progress tip ends with, "(1,234 / 3,001)", as done and total;
// false for any other tip.
bool ParseProgress(const std::string& tip, int* done, int* total) {
    std::string digits;
    std::size_t open = tip.rfind(" (");
    if (open == std::string::npos || tip.back() != ')') return false;
    for (char c : tip.substr(open + 2)) {
        if (c != ',') digits += c;
    }
    char end = '\0';
    return std::sscanf(digits.c_str(), "%d / %d%c", done, total, &end) == 3 && end == ')';
}

TEST(ProgramProgress, TheTipCountsThousandsOfMemosAndTheBarFills) {
    ProgramCopy program;
    ScratchFolder data;
    ScratchFolder output;
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    std::string memos = data / "memos";
    ASSERT_TRUE(MakeFolder(memos));
    for (int i = 0; i < kMemos; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "\\memo%04d.txt", i);
        ASSERT_TRUE(WriteBytes(memos + name, "\xA4\xA2\xA4\xA4\n"));
    }

    std::vector<TraySight> sights;
    HWND tray = nullptr;
    bool earlySaved = false;
    bool lateSaved = false;
    RunResult r = RunProgram(program.exe(), "/noui " + Quoted(memos), 180000, [&](DWORD processId) {
        HANDLE process = OpenProcess(PROCESS_VM_READ | SYNCHRONIZE, FALSE, processId);
        if (process == nullptr) return;
        while (WaitForSingleObject(process, 20) == WAIT_TIMEOUT) {
            std::string tip = TipOf(process, processId);
            if (tip.empty()) continue;
            if (tray == nullptr) tray = FindWindowA(nullptr, kWineTrayTitle);
            if (!sights.empty() && sights.back().tip == tip) continue;
            int green = tray != nullptr ? CountGreen(tray) : 0;
            sights.push_back(TraySight{tip, green});
            // A picture with a fifth of the bar or more, and one with
            // more than three quarters: the user sees them change.
            int done = 0;
            int total = 0;
            if (tray != nullptr && ParseProgress(tip, &done, &total)) {
                if (!earlySaved && done >= total / 5 && done < total / 2) {
                    earlySaved = SaveScreenshot(tray, "program-progress-early");
                } else if (!lateSaved && done > 3 * total / 4) {
                    lateSaved = SaveScreenshot(tray, "program-progress-late");
                }
            }
        }
        CloseHandle(process);
    });
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(ReadBytes(output / "memos\\memo2999.txt"), "\x82\xA0\x82\xA2\r\n");

    // Every tip is the run's text, then a count: first of the files found,
    // then of the files done out of one total (the folder and its memos).
    // Each count only grows.
    std::vector<int> found;
    std::vector<int> counts;
    const std::string busyTip = Cp932(PathFromWide(kBusyTip));
    for (const TraySight& sight : sights) {
        ASSERT_EQ(sight.tip.compare(0, busyTip.size(), busyTip), 0) << sight.tip;
        int gathered = ParseGathering(sight.tip);
        if (gathered >= 0) {
            EXPECT_TRUE(counts.empty()) << "still finding files after the work began";
            EXPECT_TRUE(found.empty() || gathered > found.back()) << sight.tip;
            EXPECT_LE(gathered, kMemos + 1) << sight.tip;
            found.push_back(gathered);
            continue;
        }
        int done = 0;
        int total = 0;
        if (!ParseProgress(sight.tip, &done, &total)) {
            EXPECT_EQ(sight.tip, busyTip) << "a tip of neither kind";
            continue;
        }
        EXPECT_EQ(total, kMemos + 1) << sight.tip;
        if (!counts.empty()) {
            EXPECT_GT(done, counts.back()) << sight.tip;
        }
        counts.push_back(done);
    }
    // The gathering shows only when it outlasts the first half second, which
    // here it does (3,000 files under Wine); on a fast machine it may not.
    std::printf("tips seen: %zu while gathering, %zu while converting\n", found.size(),
                counts.size());
    ASSERT_GE(counts.size(), 3u) << "the tip's count was seen too seldom to grow";
    EXPECT_GT(counts.back(), (kMemos + 1) / 2);

    // Where Wine shows its own tray, the bar was seen on the screen, filling.
    if (tray == nullptr) return;
    int least = 3 * 14;
    int most = 0;
    for (const TraySight& sight : sights) {
        if (sight.green == 0) continue;
        least = std::min(least, sight.green);
        most = std::max(most, sight.green);
    }
    EXPECT_GT(most, least) << "the icon's bar did not change on the screen";
}

}  // namespace
