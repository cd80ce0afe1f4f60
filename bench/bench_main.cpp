// tavelin_bench: the engine's detection and conversions as separate commands,
// so that scripts/bench can time them beside iconv and nkf doing the same work.
//   tavelin_bench detect FILE            prints the detected code
//   tavelin_bench convert RULE IN OUT    RULE: sjis-euc, euc-sjis, jis-sjis, jis-euc,
//                                        sjis-utf8, euc-utf8, jis-utf8, utf8-sjis, utf8-euc
//   tavelin_bench measure OUT -- COMMAND ARGS...
//       runs the command with its output into OUT and prints its CPU seconds
//       (user + system), wall seconds and peak resident memory in KiB, measured
//       by the kernel for that process alone, to the microsecond.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include <cstdio>
#include <cstring>

#include "engine/byte_stream.h"
#include "engine/conversion.h"
#include "engine/detect.h"
#include "engine/utf8_transcode.h"

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

// The conversions into and out of UTF-8, with the modes the program opens their files in.
struct NamedUtf8Rule {
    const char* name;
    bool intoUtf8;
    LegacyEncoding encoding;
};

const NamedUtf8Rule kUtf8Rules[] = {
    {"sjis-utf8", true, LegacyEncoding::ShiftJis}, {"euc-utf8", true, LegacyEncoding::EucJp},
    {"jis-utf8", true, LegacyEncoding::Iso2022Jp}, {"utf8-sjis", false, LegacyEncoding::ShiftJis},
    {"utf8-euc", false, LegacyEncoding::EucJp},
};

int ConvertUtf8(const NamedUtf8Rule& rule, const char* from, const char* to) {
    StreamMode outputMode = rule.intoUtf8 ? kIntoUtf8OutputMode : FromUtf8OutputMode(rule.encoding);
    ByteStream* input = StreamOpen(from, rule.intoUtf8 ? kIntoUtf8InputMode : kFromUtf8InputMode);
    ByteStream* output = input ? StreamOpen(to, outputMode) : nullptr;
    if (output == nullptr) {
        StreamClose(input);
        std::fprintf(stderr, "tavelin_bench: cannot open %s or %s\n", from, to);
        return 1;
    }
    Utf8Result result = rule.intoUtf8 ? TranscodeIntoUtf8(input, output, rule.encoding)
                                      : TranscodeFromUtf8(input, output, rule.encoding, false);
    bool read = StreamClose(input);
    bool written = StreamClose(output);
    if (result.outcome == Utf8Outcome::NoCell) {
        std::fprintf(stderr, "tavelin_bench: %s has a character without a cell (0x%X)\n", from,
                     static_cast<unsigned>(result.firstMissing));
    }
    return read && written ? 0 : 1;
}

int Convert(const char* name, const char* from, const char* to) {
    for (const NamedUtf8Rule& r : kUtf8Rules) {
        if (std::strcmp(r.name, name) == 0) return ConvertUtf8(r, from, to);
    }
    const ConversionRule* rule = nullptr;
    for (const NamedRule& r : kRules) {
        if (std::strcmp(r.name, name) == 0) FindConversionRule(r.source, r.mask, &rule);
    }
    if (rule == nullptr) {
        std::fprintf(stderr, "tavelin_bench: unknown rule %s\n", name);
        return 2;
    }
    ByteStream* input = StreamOpen(from, StreamMode::ReadText);
    ByteStream* output = input ? StreamOpen(to, rule->outputMode) : nullptr;
    if (output == nullptr) {
        StreamClose(input);
        std::fprintf(stderr, "tavelin_bench: cannot open %s or %s\n", from, to);
        return 1;
    }
    TranscodeStream(input, output, rule);
    bool read = StreamClose(input);
    bool written = StreamClose(output);
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

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 5 && std::strcmp(argv[1], "measure") == 0 && std::strcmp(argv[3], "--") == 0) {
        return Measure(argv[2], argv + 4);
    }
    if (argc == 3 && std::strcmp(argv[1], "detect") == 0) return Detect(argv[2]);
    if (argc == 5 && std::strcmp(argv[1], "convert") == 0)
        return Convert(argv[2], argv[3], argv[4]);
    std::fprintf(
        stderr,
        "usage: tavelin_bench detect FILE\n"
        "       tavelin_bench convert sjis-euc|euc-sjis|jis-sjis|jis-euc IN OUT\n"
        "       tavelin_bench convert sjis-utf8|euc-utf8|jis-utf8|utf8-sjis|utf8-euc IN OUT\n"
        "       tavelin_bench measure OUT -- COMMAND ARGS...\n");
    return 2;
}
