// tavelin_bench: the engine's detection and conversions as separate commands,
// so that scripts/bench can time them beside iconv and nkf doing the same work.
//   tavelin_bench detect FILE            prints the detected code
//   tavelin_bench convert RULE IN OUT    RULE: sjis-euc, euc-sjis, jis-sjis, jis-euc,
//                                        sjis-utf8, euc-utf8, jis-utf8, utf8-sjis, utf8-euc,
//                                        utf16-sjis, utf16-utf8 (UTF-16LE with its mark)
//   tavelin_bench measure OUT -- COMMAND ARGS...
//       runs the command with its output into OUT and prints its CPU seconds
//       (user + system), wall seconds and peak resident memory in KiB, measured
//       by the kernel for that process alone, to the microsecond.
//   tavelin_bench item-memory [UNITS]
//       the heap one gathered work item takes, for a source and a destination
//       path of UNITS characters each (default 60), beside a record laid out
//       as before the paths became UTF-16 (two fixed 261-byte paths): bytes
//       per item as glibc counts its heap in use, over 100,000 items, new
//       first.
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "engine/byte_stream.h"
#include "engine/conversion.h"
#include "engine/detect.h"
#include "engine/work_item.h"
#include "util/path.h"

namespace {

struct NamedRule {
    const char* name;
    DetectionCode source;
    ConversionMask mask;
};

const NamedRule kRules[] = {
    {"sjis-euc", DetectionCode::ShiftJis, ConversionMask::IntoEucJp},
    {"euc-sjis", DetectionCode::EucJp, ConversionMask::IntoShiftJis},
    {"jis-sjis", DetectionCode::Iso2022Jp, ConversionMask::IntoShiftJis},
    {"jis-euc", DetectionCode::Iso2022Jp, ConversionMask::IntoEucJp},
    {"sjis-utf8", DetectionCode::ShiftJis, ConversionMask::IntoUtf8},
    {"euc-utf8", DetectionCode::EucJp, ConversionMask::IntoUtf8},
    {"jis-utf8", DetectionCode::Iso2022Jp, ConversionMask::IntoUtf8},
    {"utf8-sjis", DetectionCode::Utf8, ConversionMask::IntoShiftJis},
    {"utf8-euc", DetectionCode::Utf8, ConversionMask::IntoEucJp},
    {"utf16-sjis", DetectionCode::Utf16Le, ConversionMask::IntoShiftJis},
    {"utf16-utf8", DetectionCode::Utf16Le, ConversionMask::IntoUtf8},
};

int Detect(const char* path) {
    EncodingEvidence evidence;
    if (!GatherFileEvidence(path, &evidence)) {
        std::fprintf(stderr, "tavelin_bench: cannot read %s\n", path);
        return 1;
    }
    struct stat info {};
    std::uint64_t size = kUnknownFileSize;
    if (stat(path, &info) == 0) size = static_cast<std::uint64_t>(info.st_size);
    std::printf("%d\n", static_cast<int>(DecideEncoding(evidence, size)));
    return 0;
}

// The rule's conversion, with the modes the program opens its files in.
int Convert(const char* name, const char* from, const char* to) {
    const ConversionRule* rule = nullptr;
    for (const NamedRule& r : kRules) {
        if (std::strcmp(r.name, name) == 0) FindConversionRule(r.source, r.mask, &rule);
    }
    if (rule == nullptr) {
        std::fprintf(stderr, "tavelin_bench: unknown rule %s\n", name);
        return 2;
    }
    ByteStream* input = StreamOpen(from, rule->inputMode);
    ByteStream* output = input ? StreamOpen(to, rule->outputMode) : nullptr;
    if (output == nullptr) {
        StreamClose(input);
        std::fprintf(stderr, "tavelin_bench: cannot open %s or %s\n", from, to);
        return 1;
    }
    Utf8Result result = ConvertStream(input, output, rule, ConversionOptions{});
    bool read = StreamClose(input);
    bool written = StreamClose(output);
    if (result.outcome == Utf8Outcome::NoCell) {
        std::fprintf(stderr, "tavelin_bench: %s has a character without a cell (0x%X)\n", from,
                     static_cast<unsigned>(result.firstMissing));
    }
    return read && written ? 0 : 1;
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

int Measure(const char* outputPath, char** command) {
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) {
        int out = open(outputPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || dup2(out, 1) < 0) _exit(126);
        close(out);
        execvp(command[0], command);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return 1;
    std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    std::printf("%.6f %.6f %ld\n", Seconds(usage.ru_utime) + Seconds(usage.ru_stime), wall.count(),
                usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

// The work item as it was while paths were code page 932 text in fixed
// buffers: the same fields, the paths inside the record.
constexpr std::size_t kFixedPathBytes = 261;
struct FixedPathItem {
    char sourcePath[kFixedPathBytes];
    char destinationPath[kFixedPathBytes];
    DetectionCode code;
    DetectionCode detected;
    std::int32_t firstMissing;
    std::uint32_t openError;
};

constexpr int kItems = 100000;

// The heap in use: the chunks handed out, their headers and alignment
// included, which is what an item really costs.
std::size_t HeapInUse() { return mallinfo2().uordblks; }

// Bytes per item of kItems made by make, freed again afterwards; 0 when one
// could not be made. The array of pointers is made before the count starts.
template <typename Make>
double BytesPerItem(Make make) {
    std::vector<void*> items(kItems, nullptr);
    std::size_t before = HeapInUse();
    bool made = true;
    for (void*& item : items) {
        item = make();
        made = made && item != nullptr;
    }
    std::size_t after = HeapInUse();
    for (void* item : items) std::free(item);
    return made ? static_cast<double>(after - before) / kItems : 0;
}

// A path of that many code units, shaped like one a user drops: a drive, a
// few folders, a name (as long as it needs to be) and an extension; only its
// length counts here.
Path TypicalPath(const Path& folder, std::size_t units) {
    Path path = folder + u"memo_";
    const Path extension = u".txt";
    while (path.size() + extension.size() < units)
        path += static_cast<char16_t>(u'0' + path.size() % 10);
    path += extension;
    path.resize(units);
    return path;
}

int ItemMemory(const char* unitsText) {
    long units = unitsText == nullptr ? 60 : std::strtol(unitsText, nullptr, 10);
    if (units < 1 || units >= static_cast<long>(kFixedPathBytes)) {
        std::fprintf(stderr, "tavelin_bench: item-memory takes 1 to %zu characters\n",
                     kFixedPathBytes - 1);
        return 2;
    }
    const Path source =
        TypicalPath(u"C:\\Users\\sato\\Documents\\議事録\\", static_cast<std::size_t>(units));
    const Path destination =
        TypicalPath(u"D:\\変換済み\\議事録\\", static_cast<std::size_t>(units));
    double wide =
        BytesPerItem([&] { return static_cast<void*>(NewWorkItem(source, destination)); });
    double fixed = BytesPerItem([] {
        auto* item = static_cast<FixedPathItem*>(std::malloc(sizeof(FixedPathItem)));
        if (item != nullptr) *item = FixedPathItem{};
        return static_cast<void*>(item);
    });
    if (wide == 0 || fixed == 0) {
        std::fprintf(stderr, "tavelin_bench: cannot make %d items\n", kItems);
        return 1;
    }
    std::printf("%.1f %.1f %zu %zu\n", wide, fixed, sizeof(WorkItem), sizeof(FixedPathItem));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "measure") == 0 && std::strcmp(argv[3], "--") == 0) {
        return Measure(argv[2], argv + 4);
    }
    if (argc == 3 && std::strcmp(argv[1], "detect") == 0) return Detect(argv[2]);
    if ((argc == 2 || argc == 3) && std::strcmp(argv[1], "item-memory") == 0)
        return ItemMemory(argc == 3 ? argv[2] : nullptr);
    if (argc == 5 && std::strcmp(argv[1], "convert") == 0)
        return Convert(argv[2], argv[3], argv[4]);
    std::fprintf(
        stderr,
        "usage: tavelin_bench detect FILE\n"
        "       tavelin_bench convert sjis-euc|euc-sjis|jis-sjis|jis-euc IN OUT\n"
        "       tavelin_bench convert sjis-utf8|euc-utf8|jis-utf8|utf8-sjis|utf8-euc IN OUT\n"
        "       tavelin_bench convert utf16-sjis|utf16-utf8 IN OUT\n"
        "       tavelin_bench measure OUT -- COMMAND ARGS...\n"
        "       tavelin_bench item-memory [UNITS]\n");
    return 2;
}
