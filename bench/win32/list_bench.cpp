// The review of undecided files with many of them, as a user meets it: the
// dialog opened on many undecided files (until its first screen is drawn),
// sorted by the file name and by the contents column, every row marked to be
// copied, and executed. Prints the seconds of each step, one line per number
// of files, and the same figures as "result KEY SECONDS" lines for
// scripts/bench-list. With a display it leaves a picture of the review of
// 5,000 files in the demo folder, as review-5000-LABEL.png.
//
// Usage: tavelin_list_bench LABEL ROUNDS FILES... (the best of ROUNDS counts;
// a first round on 100 files warms up). The files live in the system's
// temporary folder and are removed afterwards. The same source is built
// against the program as it was before (scripts/bench-before), so that both
// take the same steps.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/run_win.h"
#include "bench/win32/bench_clock.h"
#include "engine/work_item_win.h"
#include "res/resource.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/undetermined_dialog_win.h"
#include "util/ptr_list.h"

namespace {

constexpr int kFilesPerFolder = 100;
constexpr int kPictureFiles = 5000;

// Latin-1 text, which the detection leaves undecided. The
// number makes every file's first bytes differ, in no particular order.
std::string Contents(int i) {
    char text[96];
    std::snprintf(text, sizeof text, "caf\xE9 %05d: r\xE9sum\xE9 du jour\n", (i * 7919) % 100000);
    return text;
}

// A tree of undecided files, and the work list a run would make of it.
WorkList* MakeFiles(const std::string& in, const std::string& out, int files) {
    if (!MakeFolder(in) || !MakeFolder(out)) return nullptr;
    WorkList* list = PtrListCreate();
    for (int i = 0; i < files; i++) {
        char folder[32];
        char name[32];
        std::snprintf(folder, sizeof folder, "\\d%03d", i / kFilesPerFolder);
        // Names out of order, so that sorting has work to do.
        std::snprintf(name, sizeof name, "\\note%05d.txt", (i * 4001) % files);
        if (i % kFilesPerFolder == 0 && (!MakeFolder(in + folder) || !MakeFolder(out + folder))) {
            break;
        }
        std::string source = in + folder + name;
        if (!WriteBytes(source, Contents(i))) break;
        WorkItem* item = NewWorkItem(P(source), P(out + folder + name));
        if (item == nullptr || PtrListAppend(list, item) < 0) {
            std::free(item);
            break;
        }
    }
    return list;
}

struct Timing {
    double open = 0;         // until the dialog shows with its first screen drawn
    double sortName = 0;     // one click on the file name's heading
    double sortContent = 0;  // one click on the contents' heading
    double mark = 0;         // every row selected and marked to be copied
    double execute = 0;      // every row copied, until the dialog has ended
    int rows = 0;
    bool executed = false;
    double Total() const { return open + sortName + sortContent + mark + execute; }
};

// Null when it did not show within ten minutes.
HWND WaitForDialog() {
    for (int waited = 0; waited < 600000; waited++) {
        HWND dialog = FindWindowW(L"#32770", kUndeterminedFilesTitle);
        if (dialog != nullptr && IsWindowVisible(dialog)) return dialog;
        Sleep(1);
    }
    return nullptr;
}

// A click on the column's heading, as the list tells it; the seconds until
// the list is drawn again.
double SortBy(HWND dialog, HWND rows, int column) {
    NMLISTVIEW click{};
    click.hdr.hwndFrom = rows;
    click.hdr.idFrom = IDC_FILE_LIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    double at = Now();
    SendMessageA(dialog, WM_NOTIFY, IDC_FILE_LIST, reinterpret_cast<LPARAM>(&click));
    UpdateWindow(rows);
    return Now() - at;
}

// Opens the dialog on this thread; a helper thread drives it as the user
// would, each step a message the dialog handles before the helper goes on,
// then the list drawn.
Timing Measure(WorkList* list, const std::string& out, const std::string& picture) {
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, out);
    Timing timing;
    double start = Now();
    double executeAt = 0;
    std::thread helper([&] {
        HWND dialog = WaitForDialog();
        if (dialog == nullptr) return;
        HWND rows = GetDlgItem(dialog, IDC_FILE_LIST);
        UpdateWindow(rows);
        timing.open = Now() - start;
        timing.rows = static_cast<int>(SendMessageA(rows, LVM_GETITEMCOUNT, 0, 0));
        if (!picture.empty()) SaveScreenshot(dialog, picture.c_str());

        timing.sortName = SortBy(dialog, rows, 0);
        timing.sortContent = SortBy(dialog, rows, 3);

        double at = Now();
        LVITEMA state{};
        state.stateMask = LVIS_SELECTED;
        state.state = LVIS_SELECTED;
        SendMessageA(rows, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(&state));
        SendMessageA(dialog, WM_COMMAND, IDM_MARK_COPY, 0);
        UpdateWindow(rows);
        timing.mark = Now() - at;

        executeAt = Now();
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    // The dialog records the marks and ends; the review then copies the rows.
    timing.executed = ReviewUndecidedFiles(&settings, list);
    double end = Now();
    helper.join();
    if (executeAt > 0) timing.execute = end - executeAt;
    return timing;
}

// The best of the rounds on this many files; false when a round did not
// list every file.
bool MeasureBest(const std::string& folder, int files, int rounds, const std::string& picture,
                 Timing* best) {
    const std::string in = folder + "\\in";
    const std::string out = folder + "\\out";
    for (int r = 0; r < rounds; r++) {
        WorkList* list = MakeFiles(in, out, files);
        Timing t;
        if (list != nullptr) t = Measure(list, out, r == 0 ? picture : std::string());
        bool complete = list != nullptr && t.rows == files && t.executed;
        if (list != nullptr) PtrListDestroy(list);
        RemoveTree(out);
        RemoveTree(in);
        if (!complete) {
            std::fprintf(stderr, "list bench: %d of %d files listed\n", t.rows, files);
            return false;
        }
        if (r == 0 || t.Total() < best->Total()) *best = t;
    }
    return true;
}

void PrintResults(const char* label, int files, const Timing& t) {
    std::printf("%8d %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f\n", files, t.open, t.sortName,
                t.sortContent, t.mark, t.execute, t.Total());
    const char* steps[] = {"open", "sortname", "sortcontent", "mark", "execute"};
    const double seconds[] = {t.open, t.sortName, t.sortContent, t.mark, t.execute};
    for (int i = 0; i < 5; i++) {
        std::printf("result list.%s.%d.%s %.3f\n", steps[i], files, label, seconds[i]);
    }
    // The large cases take minutes: show each line as it is known.
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: tavelin_list_bench LABEL ROUNDS FILES...\n");
        return 2;
    }
    const std::string label = argv[1];
    int rounds = std::atoi(argv[2]);
    if (rounds < 1) rounds = 1;
    CoInitialize(nullptr);
    InitCommonControls();
    ScratchFolder scratch;  // removed with everything in it at the end
    std::printf(
        "The review of undecided files under Wine (%s), seconds, best of %d rounds: open\n"
        "(first screen drawn), sort by name, then by contents, mark (every row), execute "
        "(copy).\n\n",
        label.c_str(), rounds);
    std::printf("%8s %9s %9s %9s %9s %9s %9s\n", "files", "open", "sort name", "contents", "mark",
                "execute", "total");
    Timing warmUp;
    int status = MeasureBest(scratch.path(), 100, 1, "", &warmUp) ? 0 : 1;
    for (int i = 3; i < argc && status == 0; i++) {
        const int files = std::atoi(argv[i]);
        const std::string picture =
            files == kPictureFiles ? "review-" + std::to_string(files) + "-" + label : "";
        Timing best;
        if (files <= 0 || !MeasureBest(scratch.path(), files, rounds, picture, &best)) {
            status = 1;
            break;
        }
        PrintResults(label.c_str(), files, best);
    }
    CoUninitialize();
    return status;
}
