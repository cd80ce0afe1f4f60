// The whole work on trees of small files, as a run does it: gather (with the
// detection of every file), then convert every item into an output folder.
// Prints the time per file for a tree of 1,000 and one of 10,000 files; the
// work list is walked once in order, so the two figures should agree.
//
// Usage: tavelin_tree_bench [ROUNDS]. The trees live in the system's
// temporary folder and are removed afterwards; the temporary files of the
// conversions come and go beside this program, as beside TAVELIN.exe.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/gather_win.h"
#include "bench/win32/bench_clock.h"
#include "engine/convert_item_win.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "util/path_win.h"

namespace {

constexpr int kFilesPerFolder = 100;

// A short Japanese memo, in Shift-JIS with CR LF (the literal is code page
// 932); its EUC-JP and ISO-2022-JP forms are made from it below.
const char kMemo[] =
    "会議のメモ\r\n"
    "日時：来週の月曜日、午前十時から\r\n"
    "場所：第二会議室（本館三階）\r\n"
    "議題：新しい変換ツールの導入について、表示と文字コードの確認。\r\n"
    "資料は前日までに共有フォルダへ置いてください。\r\n";

// The memo in its three encodings: Shift-JIS as written, EUC-JP converted by
// the engine, ISO-2022-JP from the EUC-JP bytes (JIS X 0208 is EUC-JP with
// the high bits cleared, between the escape sequences).
bool MakeSamples(const std::string& folder, std::string samples[3]) {
    samples[0] = kMemo;
    std::string sjis = folder + "\\memo.sjis";
    std::string euc = folder + "\\memo.euc";
    const ConversionRule* rule = nullptr;
    if (!WriteBytes(sjis, samples[0]) ||
        FindConversionRule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp, &rule) !=
            RuleOutcome::Convert ||
        !ConvertFile(P(sjis), P(euc), rule, false)) {
        return false;
    }
    samples[1] = ReadBytes(euc);
    DeleteFileW(WidePath(P(sjis)));
    DeleteFileW(WidePath(P(euc)));
    std::string jis;
    bool kanji = false;
    for (std::size_t i = 0; i < samples[1].size(); i++) {
        auto b = static_cast<unsigned char>(samples[1][i]);
        bool pair = b >= 0xA1 && i + 1 < samples[1].size();
        if (pair != kanji) jis += pair ? "\x1b$B" : "\x1b(B";
        kanji = pair;
        if (pair) {
            jis += static_cast<char>(b & 0x7F);
            jis += static_cast<char>(samples[1][++i] & 0x7F);
        } else {
            jis += static_cast<char>(b);
        }
    }
    if (kanji) jis += "\x1b(B";
    samples[2] = jis;
    return !samples[1].empty();
}

bool MakeTree(const std::string& root, int files, const std::string samples[3]) {
    if (!MakeFolder(root)) return false;
    for (int i = 0; i < files; i++) {
        char folder[32];
        char name[32];
        std::snprintf(folder, sizeof folder, "\\d%03d", i / kFilesPerFolder);
        std::snprintf(name, sizeof name, "\\memo%05d.txt", i);
        std::string dir = root + folder;
        if (i % kFilesPerFolder == 0 && !MakeFolder(dir)) return false;
        if (!WriteBytes(dir + name, samples[i % 3])) return false;
    }
    return true;
}

struct Timing {
    double gather = 0;   // seconds: building the list, every file detected
    double convert = 0;  // seconds: every item processed
    int files = 0;       // items that are files
    int written = 0;     // files that reached the output folder converted
};

std::int32_t CountFile(void* element, std::int32_t, void* context) {
    if (static_cast<const WorkItem*>(element)->code != DetectionCode::Directory)
        ++*static_cast<int*>(context);
    return 1;
}

std::int32_t Process(void* element, std::int32_t, void* context) {
    auto* item = static_cast<const WorkItem*>(element);
    if (item->code == DetectionCode::Directory) {
        ProcessWorkItem(item, ConversionMask::BothWays, false);
    } else if (ConvertOrCopyItem(item, ConversionMask::BothWays, false)) {
        ++*static_cast<int*>(context);
    }
    return 1;
}

bool Measure(const std::string& tree, const std::string& out, Timing* timing) {
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, out);
    const Arguments arguments = {u"TAVELIN.exe", P(tree)};
    double start = Now();
    WorkList* list = BuildWorkList(arguments, &settings);
    double gathered = Now();
    if (list == nullptr) return false;
    // One pass in order, in linear time, as the run walks its list.
    PtrListForEach(list, true, Process, &timing->written);
    double done = Now();
    PtrListForEach(list, true, CountFile, &timing->files);
    PtrListDestroy(list);
    timing->gather = gathered - start;
    timing->convert = done - gathered;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = argc > 1 ? std::atoi(argv[1]) : 2;
    if (rounds < 1) rounds = 1;
    CoInitialize(nullptr);
    ScratchFolder scratch;  // removed with everything in it at the end
    const std::string& work = scratch.path();
    std::string samples[3];
    int status = 0;
    const int sizes[] = {100, 1000, 10000};  // the first only warms up
    double perFile[3] = {0, 0, 0};
    if (!MakeSamples(work, samples)) {
        std::fprintf(stderr, "tree bench: cannot make the sample texts\n");
        status = 1;
    }
    if (status == 0) {
        std::printf(
            "Per file under Wine: gather (walk and detection), convert (into an output\n"
            "folder through the temporary file), best of %d rounds; %d files per folder.\n\n",
            rounds, kFilesPerFolder);
        std::printf("%8s %14s %14s %14s\n", "files", "gather us", "convert us", "total us");
    }
    for (int s = 0; s < 3 && status == 0; s++) {
        std::string tree = work + "\\tree";
        std::string out = work + "\\out";
        if (!MakeTree(tree, sizes[s], samples)) {
            std::fprintf(stderr, "tree bench: cannot make a tree of %d files\n", sizes[s]);
            status = 1;
            break;
        }
        Timing best;
        for (int r = 0; r < rounds; r++) {
            RemoveTree(out);
            MakeFolder(out);
            Timing t;
            if (!Measure(tree, out, &t) || t.files != sizes[s] || t.written != sizes[s]) {
                std::fprintf(stderr, "tree bench: %d of %d files gathered, %d converted\n", t.files,
                             sizes[s], t.written);
                status = 1;
                break;
            }
            if (r == 0 || t.gather + t.convert < best.gather + best.convert) best = t;
        }
        RemoveTree(out);
        RemoveTree(tree);
        if (status != 0) break;
        perFile[s] = (best.gather + best.convert) / sizes[s] * 1e6;
        if (s > 0) {
            std::printf("%8d %14.1f %14.1f %14.1f\n", sizes[s], best.gather / sizes[s] * 1e6,
                        best.convert / sizes[s] * 1e6, perFile[s]);
        }
    }
    CoUninitialize();
    if (status != 0) return status;
    double ratio = perFile[2] / perFile[1];
    bool within = ratio >= 0.8 && ratio <= 1.2;
    std::printf("\n10,000 files against 1,000: %.2f times the time per file (within 20%%: %s)\n",
                ratio, within ? "yes" : "NO");
    return within ? 0 : 1;
}
