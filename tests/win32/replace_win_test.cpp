// A destination is replaced all or nothing, on real files under Wine: a write
// that fails part way (an injected failure here, a full volume in FullVolume),
// the program killed while it rewrites a large file, protected and held
// destinations, and a file with more than one name. Afterwards the destination
// holds its complete old bytes (or is still missing) or its complete new ones.
#include "engine/replace_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/gather_win.h"
#include "engine/convert_item_win.h"
#include "engine/staged_name.h"
#include "engine/work_item_win.h"
#include "ui/failed_files_dialog_win.h"
#include "ui/failure_reason_win.h"
#include "tests/win32/support/program_runner.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "tests/win32/support/wine_host.h"
#include "util/path.h"
#include "util/path_win.h"

namespace {

// One line in Shift-JIS with CR LF (the literal is code page 932) and in
// EUC-JP with LF (made with iconv -t EUC-JP).
const std::string kShiftJisLine = "日本語のテキストです。\r\n";
const std::string kEucJpLine =
    "\xc6\xfc\xcb\xdc\xb8\xec\xa4\xce\xa5\xc6\xa5\xad\xa5\xb9\xa5\xc8\xa4\xc7\xa4\xb9\xa1\xa3\n";

std::string Lines(const std::string& line, std::size_t count) {
    std::string text;
    text.reserve(line.size() * count);
    for (std::size_t i = 0; i < count; i++) text += line;
    return text;
}

const ConversionRule* Rule(DetectionCode code, ConversionMask mask) {
    const ConversionRule* rule = nullptr;
    EXPECT_EQ(FindConversionRule(code, mask, &rule), RuleOutcome::Convert);
    return rule;
}

// Names in a folder that have the staged form: leftovers of a replace.
std::vector<std::string> StagedIn(const Path& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(FileApiPath(folder + u"\\*"), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        Path name = PathFromWide(found.cFileName);
        if (IsStagedName(name)) names.push_back(Cp932(name));
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}
std::vector<std::string> StagedIn(const std::string& folder) { return StagedIn(P(folder)); }

// A writer that lets the first bytes through and then fails as a full volume
// does, after having written part of a block.
DWORD bytesBeforeFailure = 0;
BOOL WINAPI FailingWriter(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED) {
    DWORD allowed = std::min(size, bytesBeforeFailure);
    bytesBeforeFailure -= allowed;
    if (allowed > 0 && !WriteFile(file, data, allowed, written, nullptr)) return FALSE;
    if (allowed == size) return TRUE;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

struct FailingWrites {
    explicit FailingWrites(DWORD after) {
        bytesBeforeFailure = after;
        SetBlockWriter(FailingWriter);
    }
    ~FailingWrites() { SetBlockWriter(nullptr); }
};

class Replace : public ::testing::Test {
  protected:
    std::string File(const std::string& name, const std::string& bytes) {
        std::string path = scratch / name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    ScratchFolder scratch;
};

// Every kind of write, failing part way: conversion and plain copy, in place
// and into an output folder, over an existing file and a new one, with and
// without the Recycle Bin. Nothing changes and nothing is left behind.
TEST_F(Replace, WriteFailingPartWayLeavesEveryDestinationAsItWas) {
    const std::string euc = Lines(kEucJpLine, 15000);
    ASSERT_TRUE(MakeFolder(scratch / "out"));
    for (bool recycle : {false, true}) {
        SCOPED_TRACE(recycle ? "with the Recycle Bin" : "without the Recycle Bin");
        std::string inPlace = File("in-place.txt", euc);
        std::string source = File("source.txt", euc);
        std::string existing = File("out\\existing.txt", "an earlier result");
        std::string fresh = scratch / "out\\fresh.txt";
        std::string copied = File("out\\copied.txt", "an earlier copy");
        FailingWrites failing(100000);

        EXPECT_FALSE(ConvertFile(P(inPlace), P(inPlace),
                                 Rule(DetectionCode::EucJp, ConversionMask::IntoShiftJis),
                                 recycle));
        EXPECT_EQ(ReadBytes(inPlace), euc);
        EXPECT_FALSE(ConvertFile(P(source), P(existing),
                                 Rule(DetectionCode::EucJp, ConversionMask::IntoShiftJis),
                                 recycle));
        EXPECT_EQ(ReadBytes(existing), "an earlier result");
        EXPECT_FALSE(ConvertFile(P(source), P(fresh),
                                 Rule(DetectionCode::EucJp, ConversionMask::IntoShiftJis),
                                 recycle));
        EXPECT_FALSE(PathExists(P(fresh)));
        HeldItem copy = MakeHeldItem(source, copied);
        ASSERT_TRUE(copy);
        EXPECT_FALSE(ConvertOrCopyItem(copy.get(), ConversionMask::IntoEucJp, recycle));
        EXPECT_EQ(ReadBytes(copied), "an earlier copy");

        EXPECT_TRUE(StagedIn(scratch.path()).empty());
        EXPECT_TRUE(StagedIn(scratch / "out").empty());
    }
    // The same writes succeed once the volume takes them again.
    std::string inPlace = scratch / "in-place.txt";
    EXPECT_TRUE(ConvertFile(P(inPlace), P(inPlace),
                            Rule(DetectionCode::EucJp, ConversionMask::IntoShiftJis), false));
    EXPECT_EQ(ReadBytes(inPlace), Lines(kShiftJisLine, 15000));
}

TEST_F(Replace, ProtectedAndHeldDestinations) {
    std::string source = File("source.txt", kShiftJisLine);
    // Conversions replace read-only and hidden destinations, in place too.
    std::string hidden = File("hidden.txt", kShiftJisLine);
    ASSERT_TRUE(
        SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    DWORD attributes = GetFileAttributesA(hidden.c_str());
    EXPECT_TRUE(ConvertFile(P(hidden), P(hidden),
                            Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    EXPECT_EQ(ReadBytes(hidden), kEucJpLine);
    EXPECT_EQ(GetFileAttributesA(hidden.c_str()), attributes);
    std::string readOnly = File("read-only.txt", "old");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(ConvertFile(P(source), P(readOnly),
                            Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    EXPECT_EQ(ReadBytes(readOnly), kEucJpLine);

    // A plain copy refuses a read-only destination, as CopyFileA does.
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    HeldItem copy = MakeHeldItem(source, readOnly);
    ASSERT_TRUE(copy);
    EXPECT_FALSE(ConvertOrCopyItem(copy.get(), ConversionMask::IntoShiftJis, false));
    EXPECT_EQ(ReadBytes(readOnly), kEucJpLine);

    // A destination another program holds open stays as it was, also when
    // it should have gone to the Recycle Bin first.
    for (bool recycle : {false, true}) {
        std::string held = File("held.txt", "held");
        HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(ConvertFile(
            P(source), P(held), Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), recycle));
        CloseHandle(h);
        EXPECT_EQ(ReadBytes(held), "held");
    }
    EXPECT_TRUE(StagedIn(scratch.path()).empty());
}

// The Recycle Bin takes no path of MAX_PATH characters or more: an existing
// destination that long, to be kept there, is not replaced at all (its old
// bytes stay, nothing is staged beside it). Without the bin, or with nothing
// to keep, such a destination is replaced as any other.
TEST_F(Replace, ADestinationTooLongForTheRecycleBinKeepsItsOldBytes) {
    std::string result = File("result.txt", kEucJpLine);
    WIN32_FIND_DATAW source;
    ASSERT_TRUE(FindExists(P(result), &source));
    Path folder = MakeDeepFolder(P(scratch.path()), 200);
    ASSERT_FALSE(folder.empty());
    struct Row {
        std::size_t length;
        bool exists;
        bool recycle;
        bool placed;
    } rows[] = {{MAX_PATH, true, true, false},
                {400, true, true, false},
                {400, true, false, true},
                {400, false, true, true}};
    PathChar letter = u'a';
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.length) + (row.exists ? " existing" : " new") +
                     (row.recycle ? " with the Recycle Bin" : " without it"));
        ASSERT_LT(folder.size() + 6, row.length);
        Path destination =
            folder + u"\\" + Path(row.length - folder.size() - 5, letter++) + u".txt";
        ASSERT_EQ(destination.size(), row.length);
        if (row.exists) {
            ASSERT_TRUE(WriteBytes(destination, "old"));
        }
        Placement placement{&source, true, row.recycle};
        bool placed = PlaceResult(P(result), destination, &placement);
        DWORD error = GetLastError();
        EXPECT_EQ(placed, row.placed);
        if (row.placed) {
            EXPECT_EQ(ReadBytes(destination), kEucJpLine);
        } else {
            EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
            EXPECT_EQ(ReadBytes(destination), "old");
        }
        EXPECT_TRUE(StagedIn(folder).empty());
    }
}

// Two names of one file (a hard link): rewritten in place under one name,
// both show the converted text; a failure part way leaves both on the old.
// In place, what the replace knows of the destination comes from the
// source's own handle: protected files are still replaced, keep their
// attributes, and a file of one name is not written through (its old bytes go
// with the rename).
TEST_F(Replace, ProtectedFilesRewrittenInPlaceKeepTheirAttributes) {
    for (DWORD attributes : {DWORD{FILE_ATTRIBUTE_READONLY}, DWORD{FILE_ATTRIBUTE_HIDDEN},
                             DWORD{FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE}}) {
        std::string file = File("protected.txt", kShiftJisLine);
        ASSERT_TRUE(SetFileAttributesA(file.c_str(), attributes));
        EXPECT_TRUE(ConvertFile(P(file), P(file),
                                Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false))
            << attributes;
        EXPECT_EQ(ReadBytes(file), kEucJpLine);
        EXPECT_EQ(GetFileAttributesA(file.c_str()) & (attributes | FILE_ATTRIBUTE_DIRECTORY),
                  attributes);
        EXPECT_TRUE(StagedIn(scratch.path()).empty());
        SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
    }
}

TEST_F(Replace, EveryNameOfAFileShowsTheResult) {
    std::string first = File("first.txt", kShiftJisLine + kShiftJisLine);
    std::string second = scratch / "second.txt";
    if (!CreateHardLinkA(second.c_str(), first.c_str(), nullptr)) {
        GTEST_SKIP() << "no hard links on this file system";
    }
    // Failing while the old bytes are kept aside, and part way through the
    // new bytes (after the 48 old ones were kept).
    for (DWORD after : {10, 60}) {
        FailingWrites failing(after);
        EXPECT_FALSE(ConvertFile(P(first), P(first),
                                 Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
        EXPECT_EQ(bytesBeforeFailure, 0u);
    }
    EXPECT_EQ(ReadBytes(first), kShiftJisLine + kShiftJisLine);
    EXPECT_EQ(ReadBytes(second), kShiftJisLine + kShiftJisLine);
    EXPECT_TRUE(ConvertFile(P(first), P(first),
                            Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    EXPECT_EQ(ReadBytes(first), kEucJpLine + kEucJpLine);
    EXPECT_EQ(ReadBytes(second), kEucJpLine + kEucJpLine);
    EXPECT_TRUE(StagedIn(scratch.path()).empty());
}

// A destination that is a symbolic link: the file it leads to is replaced,
// and the link stays a link.
TEST_F(Replace, ALinkedDestinationIsReplacedWhereItLeads) {
    if (!RunningUnderWine()) GTEST_SKIP() << "links are made through the Linux host";
    std::string target = File("target.txt", kShiftJisLine);
    std::string link = scratch / "link.txt";
    ASSERT_TRUE(MakeHostSymbolicLink(target, link));
    EXPECT_TRUE(ConvertFile(P(link), P(link),
                            Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    EXPECT_EQ(ReadBytes(target), kEucJpLine);
    // Removing the link itself leaves the target: it was not replaced by a file.
    EXPECT_TRUE(RemoveHostSymbolicLink(link));
    EXPECT_EQ(ReadBytes(target), kEucJpLine);
}

TEST_F(Replace, StagedLeftoversAreNotGathered) {
    ASSERT_TRUE(MakeFolder(scratch / "tree"));
    File("tree\\memo.txt", kShiftJisLine);
    File("tree\\~tavelin-0000abcd-007.tmp", kShiftJisLine);
    File("tree\\~tavelin-notstaged.tmp", kShiftJisLine);
    Settings settings = RunSettings(OutputMethod::RewriteInPlace);
    std::string tree = scratch / "tree";
    WorkList* list = BuildWorkList(Arguments{u"TAVELIN.exe", P(tree)}, &settings);
    ASSERT_NE(list, nullptr);
    std::vector<std::string> names;
    PtrListForEach(
        list, true,
        [](void* element, std::int32_t, void* context) -> std::int32_t {
            Path path = static_cast<WorkItem*>(element)->sourcePath;
            static_cast<std::vector<std::string>*>(context)->push_back(Cp932(FileNamePart(path)));
            return 1;
        },
        &names);
    PtrListDestroy(list);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"memo.txt", "tree", "~tavelin-notstaged.tmp"}));
}

// A small volume of its own that fills up during the final write: a tmpfs
// mounted by tests/win32/full_volume.sh, which names it in TAVELIN_SMALL_VOLUME.
class FullVolume : public ::testing::Test {
  protected:
    void SetUp() override {
        char unixPath[MAX_PATH];
        DWORD length = GetEnvironmentVariableA("TAVELIN_SMALL_VOLUME", unixPath, sizeof unixPath);
        if (length == 0 || length >= sizeof unixPath) GTEST_SKIP() << "run by full_volume.sh only";
        volume = HostPath(unixPath);
        ASSERT_TRUE(IsDirectory(P(volume)));
    }
    void TearDown() override {
        if (volume.empty()) return;
        EXPECT_TRUE(StagedIn(volume).empty());
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((volume + "\\*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return;
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..") RemoveTree(volume + "\\" + name);
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    // Fills the volume until only `room` bytes are free.
    void LeaveRoom(unsigned long long room) {
        ULARGE_INTEGER free;
        ASSERT_TRUE(GetDiskFreeSpaceExA(volume.c_str(), &free, nullptr, nullptr));
        ASSERT_GT(free.QuadPart, room);
        ASSERT_TRUE(WriteBytes(volume + "\\filler", std::string(free.QuadPart - room, 'x')));
    }
    std::string volume;
};

// The fault as users met it: a 2 MB EUC-JP text rewritten in place into
// Shift-JIS (which is larger) on a volume too small for both. The text stays
// whole, the failed write is traced with its name and told in the list of
// files that could not be written (closed here without retrying, so the exit
// code says so), and the Recycle Bin does not take the file before the new
// bytes are there.
TEST_F(FullVolume, InPlaceRewriteKeepsTheOldText) {
    const std::string old = Lines(kEucJpLine, 2000000 / kEucJpLine.size());
    for (bool recycle : {false, true}) {
        SCOPED_TRACE(recycle ? "with the Recycle Bin" : "without the Recycle Bin");
        ProgramCopy program;
        Settings settings = RunSettings(OutputMethod::RewriteInPlace);
        settings.keepOverwrittenInRecycleBin = recycle;
        program.WriteSettings(settings);
        std::string file = volume + "\\memo.txt";
        ASSERT_TRUE(WriteBytes(file, old));
        bool told = false;
        RunResult run =
            RunProgram(program.exe(), "/sjis /noui " + Quoted(file), 60000, [&told](DWORD) {
                HWND list = WaitForWindow("#32770", kFailedFilesTitle, 30000);
                told = list != nullptr;
                if (told) PostMessageA(list, WM_COMMAND, IDCANCEL, 0);
            });
        ASSERT_TRUE(run.finished);
        EXPECT_TRUE(told);
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_EQ(ReadBytes(file), old);
        bool traced = false;
        for (const std::string& line : run.debugLines) {
            traced = traced || (line.find(file) != std::string::npos &&
                                line.find("not written") != std::string::npos);
        }
        EXPECT_TRUE(traced) << "no trace line names " << file;
        EXPECT_TRUE(StagedIn(volume).empty());
    }
}

// An output folder on a volume with too little room: no half-written result
// under the destination's name, and an earlier result stays whole.
TEST_F(FullVolume, OutputFolderGetsNoHalfWrittenResult) {
    ScratchFolder sources;
    const std::string euc = Lines(kEucJpLine, 1000000 / kEucJpLine.size());
    std::string source = sources / "report.txt";
    ASSERT_TRUE(WriteBytes(source, euc));
    std::string out = volume + "\\out";
    ASSERT_TRUE(MakeFolder(out));
    std::string earlier = out + "\\earlier.txt";
    ASSERT_TRUE(WriteBytes(earlier, "an earlier result"));
    LeaveRoom(600000);
    for (bool recycle : {false, true}) {
        SCOPED_TRACE(recycle ? "with the Recycle Bin" : "without the Recycle Bin");
        std::string fresh = out + "\\report.txt";
        EXPECT_FALSE(ConvertFile(P(source), P(fresh),
                                 Rule(DetectionCode::EucJp, ConversionMask::IntoShiftJis),
                                 recycle));
        EXPECT_FALSE(PathExists(P(fresh)));
        EXPECT_FALSE(ConvertFile(P(source), P(earlier),
                                 Rule(DetectionCode::EucJp, ConversionMask::IntoShiftJis),
                                 recycle));
        EXPECT_EQ(ReadBytes(earlier), "an earlier result");
        // A plain copy of a file already in the target encoding, likewise.
        HeldItem copy = MakeHeldItem(source, earlier);
        ASSERT_TRUE(copy);
        EXPECT_FALSE(ConvertOrCopyItem(copy.get(), ConversionMask::IntoEucJp, recycle));
        EXPECT_EQ(ReadBytes(earlier), "an earlier result");
        // What the run is told, and what the list of failures says.
        HeldItem item = MakeHeldItem(source, earlier);
        ASSERT_TRUE(item);
        ItemResult result = ProcessWorkItem(item.get(), ConversionMask::IntoShiftJis, recycle);
        EXPECT_EQ(result.outcome, ItemOutcome::NotWritten);
        EXPECT_EQ(DescribeFailure(result), P("ディスクの空き容量が足りません"))
            << "error " << result.error;
        EXPECT_EQ(ReadBytes(earlier), "an earlier result");
        EXPECT_TRUE(StagedIn(out).empty());
    }
}

// The size of the program's temporary file beside it, or -1 while it has none.
// The size of the program's temporary file ("tavelin.000" to "tavelin.999"),
// or -1 when there is none. The pattern also matches "TAVELIN.exe" and
// "tavelin.ini", which are passed over.
long long TemporarySize(const ProgramCopy& program) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((program / "tavelin.???").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return -1;
    long long size = -1;
    do {
        const char* suffix = std::strrchr(found.cFileName, '.');
        bool numbered = suffix != nullptr && std::strlen(suffix) == 4 &&
                        std::isdigit(static_cast<unsigned char>(suffix[1])) &&
                        std::isdigit(static_cast<unsigned char>(suffix[2])) &&
                        std::isdigit(static_cast<unsigned char>(suffix[3]));
        if (numbered)
            size = (static_cast<long long>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    } while (size < 0 && FindNextFileA(h, &found));
    FindClose(h);
    return size;
}

// The program rewriting a large file in place, killed at several moments:
// while it converts, and at short intervals once its temporary file is
// complete, while the result is being put in place. Every time the file holds
// its old or its new bytes, whole.
TEST(KilledProgram, LargeFileHoldsItsOldOrItsNewBytes) {
    ProgramCopy program;
    program.WriteSettings(RunSettings(OutputMethod::RewriteInPlace));
    const std::string old = Lines(kEucJpLine, 1000000);
    std::string file = program / "large.txt";
    std::string command = Quoted(program.exe()) + " /noui " + Quoted(file);

    // A full run first: how long it takes, and the new bytes.
    ASSERT_TRUE(WriteBytes(file, old));
    DWORD start = GetTickCount();
    RunResult full = RunProgram(program.exe(), "/noui " + Quoted(file), 120000);
    DWORD duration = GetTickCount() - start;
    ASSERT_TRUE(full.finished);
    const std::string converted = ReadBytes(file);
    ASSERT_GT(converted.size(), old.size());

    struct Moment {
        DWORD afterStart;     // milliseconds after the start, or
        DWORD afterComplete;  // after the temporary file is complete
    };
    std::vector<Moment> moments = {{duration / 4, 0}, {duration / 2, 0}};
    for (DWORD ms : {0, 1, 3, 6, 10, 15, 25, 40, 60, 100, 250, 600}) moments.push_back({0, ms});
    int sawOld = 0;
    int sawNew = 0;
    for (const Moment& moment : moments) {
        SCOPED_TRACE("killed " + std::to_string(moment.afterStart) + " ms after the start, " +
                     std::to_string(moment.afterComplete) + " ms after the conversion");
        ASSERT_TRUE(WriteBytes(file, old));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(CreateProcessA(program.exe().c_str(), &command[0], nullptr, nullptr, FALSE, 0,
                                   nullptr, program.folder().c_str(), &startup, &process));
        if (moment.afterStart > 0) {
            Sleep(moment.afterStart);
        } else {
            while (TemporarySize(program) < static_cast<long long>(converted.size()) &&
                   WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
                Sleep(1);
            }
            Sleep(moment.afterComplete);
        }
        TerminateProcess(process.hProcess, 9);
        WaitForSingleObject(process.hProcess, 30000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::string now = ReadBytes(file);
        EXPECT_TRUE(now == old || now == converted)
            << now.size() << " bytes, neither " << old.size() << " nor " << converted.size();
        sawOld += now == old;
        sawNew += now == converted;
        // What a killed run may leave behind: a staged file beside the
        // destination (which the gathering skips). Its temporary file goes
        // with the handle the system closes for it.
        EXPECT_EQ(TemporarySize(program), -1) << "a temporary file was left";
        for (const std::string& left : StagedIn(program.folder()))
            DeleteFileA((program / left).c_str());
        for (int k = 0; k < 1000; k++) {
            char name[16];
            std::snprintf(name, sizeof name, "tavelin.%03d", k);
            DeleteFileA((program / name).c_str());
        }
    }
    std::printf("killed runs: %d left the old bytes, %d the new\n", sawOld, sawNew);
}

}  // namespace
