// Carrying work items to their destinations under Wine, on real files: the
// items made and classified, the bytes, times and attributes a conversion
// leaves, the temporary files (beside the program, else beside the
// destination or in the user's temporary folder), the Recycle Bin taking what
// is overwritten, and mirrored folders.
#include "engine/convert_item_win.h"
#include "ui/failure_reason_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/mirror_folder_win.h"
#include "engine/staged_name.h"
#include "engine/temporary_output_win.h"
#include "engine/work_item_win.h"
#include "tests/win32/support/test_support.h"
#include "tests/win32/support/wine_host.h"
#include "util/path_win.h"

namespace {

// The same three lines in Shift-JIS with CR LF (the literal, in code page 932)
// and in EUC-JP with LF (made with iconv -t EUC-JP).
const std::string kShiftJis =
    "日本語のテキストです。\r\n表示と変換の確認をします。\r\nソース一覧\r\n";
const std::string kEucJp =
    "\xc6\xfc\xcb\xdc\xb8\xec\xa4\xce\xa5\xc6\xa5\xad\xa5\xb9\xa5\xc8\xa4\xc7\xa4\xb9\xa1\xa3\n"
    "\xc9\xbd\xbc\xa8\xa4\xc8\xca\xd1\xb4\xb9\xa4\xce\xb3\xce\xc7\xa7\xa4\xf2\xa4\xb7\xa4\xde\xa4"
    "\xb9\xa1\xa3\n"
    "\xa5\xbd\xa1\xbc\xa5\xb9\xb0\xec\xcd\xf7\n";
// A PNG header: a binary file that must never be converted.
const std::string kBinary = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);

const ConversionRule* Rule(DetectionCode code, ConversionMask mask) {
    const ConversionRule* rule = nullptr;
    EXPECT_EQ(FindConversionRule(code, mask, &rule), RuleOutcome::Convert);
    return rule;
}

WIN32_FIND_DATAW Find(const std::string& path) {
    WIN32_FIND_DATAW found = {};
    HANDLE h = FindFirstFileW(WidePath(P(path)), &found);
    EXPECT_NE(h, INVALID_HANDLE_VALUE) << path;
    if (h != INVALID_HANDLE_VALUE) FindClose(h);
    return found;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// Times and attributes of a as b has them. Look before reading the file:
// reading it moves its access time.
void ExpectSameStamps(const std::string& a, const WIN32_FIND_DATAW& b) {
    WIN32_FIND_DATAW found = Find(a);
    EXPECT_EQ(found.dwFileAttributes, b.dwFileAttributes) << a;
    EXPECT_TRUE(SameTime(found.ftCreationTime, b.ftCreationTime)) << a;
    EXPECT_TRUE(SameTime(found.ftLastAccessTime, b.ftLastAccessTime)) << a;
    EXPECT_TRUE(SameTime(found.ftLastWriteTime, b.ftLastWriteTime)) << a;
}

// Gives a file times of its own, far from now: creation, then a write, then a
// later read (so that reading it now does not move its access time).
void Backdate(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME created = {0x10000000, 0x01c00000};
    FILETIME written = {0x30000000, 0x01c20000};
    FILETIME read = {0x20000000, 0x01c30000};
    EXPECT_TRUE(SetFileTime(h, &created, &read, &written));
    CloseHandle(h);
}

// The program's temporary files: its own path with a three-digit extension.
Path TemporaryName(int k) {
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, ".%03d", k);
    Path b;
    EXPECT_TRUE(ModulePathWithExtension(&b, P(suffix)));
    return b;
}

std::vector<std::string> TemporariesBesideProgram() {
    std::vector<std::string> names;
    Path pattern;
    if (!ModulePathWithExtension(&pattern, u".*")) return names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(WidePath(pattern), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = Cp932(PathFromWide(found.cFileName));
        std::size_t dot = name.rfind('.');
        if (dot != std::string::npos && name.size() - dot == 4 &&
            name.find_first_not_of("0123456789", dot + 1) == std::string::npos) {
            names.push_back(name);
        }
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

// Every test leaves the program's folder as it found it.
class ConvertItem : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(TemporariesBesideProgram().empty()); }
    void TearDown() override {
        std::vector<std::string> left = TemporariesBesideProgram();
        EXPECT_TRUE(left.empty()) << left.size() << " temporary files left, first " << left[0];
    }
    std::string File(const std::string& name, const std::string& bytes) {
        std::string path = scratch / name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
    ScratchFolder scratch;
};

TEST_F(ConvertItem, ConvertedFileGetsTheSourcesTimesAndAttributes) {
    std::string source = File("元.txt", kShiftJis);
    Backdate(source);
    ASSERT_TRUE(SetFileAttributesA(
        source.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    WIN32_FIND_DATAW before = Find(source);
    ASSERT_EQ(before.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN, DWORD(FILE_ATTRIBUTE_HIDDEN));
    std::string destination = scratch / "先.txt";

    EXPECT_TRUE(ConvertFile(P(source), P(destination),
                            Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    ExpectSameStamps(destination, before);
    EXPECT_EQ(ReadBytes(destination), kEucJp);
    // The source was read, which may move its access time, and nothing else.
    WIN32_FIND_DATAW after = Find(source);
    EXPECT_EQ(after.dwFileAttributes, before.dwFileAttributes);
    EXPECT_TRUE(SameTime(after.ftLastWriteTime, before.ftLastWriteTime));
    EXPECT_EQ(ReadBytes(source), kShiftJis);

    // And back: LF becomes CR LF again.
    std::string again = scratch / "again.txt";
    EXPECT_TRUE(ConvertFile(P(destination), P(again),
                            Rule(DetectionCode::EucJp, ConversionMask::IntoShiftJis), false));
    EXPECT_EQ(ReadBytes(again), kShiftJis);
}

TEST_F(ConvertItem, ReadOnlyHiddenAndSystemDestinationsAreReplaced) {
    std::string source = File("a.txt", kShiftJis);
    Backdate(source);
    WIN32_FIND_DATAW before = Find(source);
    std::string destination = File("b.txt", "an earlier result");
    ASSERT_TRUE(SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY |
                                                            FILE_ATTRIBUTE_HIDDEN |
                                                            FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(ConvertFile(P(source), P(destination),
                            Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    ExpectSameStamps(destination, before);
    EXPECT_EQ(ReadBytes(destination), kEucJp);
}

TEST_F(ConvertItem, FailedFinalCopyIsReportedAndLeavesTheDestinationAlone) {
    std::string source = File("a.txt", kShiftJis);
    // No folder to copy into.
    std::string nowhere = scratch / "missing\\a.txt";
    EXPECT_FALSE(ConvertFile(P(source), P(nowhere),
                             Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    EXPECT_FALSE(PathExists(P(nowhere)));

    // A destination another program holds open without sharing.
    std::string destination = File("held.txt", "held");
    ASSERT_TRUE(SetFileAttributesA(destination.c_str(), FILE_ATTRIBUTE_READONLY));
    DWORD attributes = GetFileAttributesA(destination.c_str());
    HANDLE held =
        CreateFileA(destination.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ConvertFile(P(source), P(destination),
                             Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(destination), "held");
    EXPECT_EQ(GetFileAttributesA(destination.c_str()), attributes);
}

// What the user is told of a file another program holds open without
// sharing: the item was not written, and the reason says the file is in use.
TEST_F(ConvertItem, AHeldDestinationIsNotWrittenAndSaysWhy) {
    std::string in = scratch / "in";
    ASSERT_TRUE(MakeFolder(in));
    ASSERT_TRUE(WriteBytes(in + "\\s.txt", kShiftJis));
    std::string destination = File("held.txt", "held");
    HeldItem item = MakeHeldItem(in + "\\s.txt", destination);
    ASSERT_TRUE(item);
    HANDLE held =
        CreateFileA(destination.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ItemResult result = ProcessWorkItem(item.get(), ConversionMask::BothWays, false);
    CloseHandle(held);
    EXPECT_EQ(result.outcome, ItemOutcome::NotWritten);
    EXPECT_TRUE(IsFailure(result.outcome));
    EXPECT_EQ(DescribeFailure(result), P("他のプログラムが使用中です")) << "error " << result.error;
    EXPECT_EQ(ReadBytes(destination), "held");

    // Written once the holder has let go.
    result = ProcessWorkItem(item.get(), ConversionMask::BothWays, false);
    EXPECT_EQ(result.outcome, ItemOutcome::Converted);
    EXPECT_EQ(result.error, 0u);
    EXPECT_EQ(ReadBytes(destination), kEucJp);
}

// A file another program holds open without sharing cannot be classified:
// it is not of unknown encoding, it is unreadable, and the user is told why.
TEST_F(ConvertItem, AHeldSourceIsUnreadableNotUndecided) {
    std::string source = File("held_source.txt", kShiftJis);
    std::string destination = scratch / "out_held.txt";
    HANDLE held = CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    HeldItem item = MakeHeldItem(source, destination);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->openError, static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(IsForReview(item.get()));
    ItemResult result = ProcessWorkItem(item.get(), ConversionMask::BothWays, false);
    CloseHandle(held);
    EXPECT_EQ(result.outcome, ItemOutcome::Unreadable);
    EXPECT_EQ(DescribeFailure(result), P("他のプログラムが使用中です")) << "error " << result.error;
    EXPECT_FALSE(PathExists(P(destination)));

    // Readable again, it is classified as any file is.
    item = MakeHeldItem(source, destination);
    ASSERT_TRUE(item);
    EXPECT_EQ(item->openError, 0u);
    EXPECT_EQ(item->code, DetectionCode::ShiftJis);
}

TEST_F(ConvertItem, SourceThatCannotBeReadCreatesNothing) {
    std::string destination = scratch / "out.txt";
    std::string missing = scratch / "missing.txt";
    EXPECT_FALSE(ConvertFile(P(missing), P(destination),
                             Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    std::string source = File("locked.txt", kShiftJis);
    HANDLE held = CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ConvertFile(P(source), P(destination),
                             Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), false));
    CloseHandle(held);
    EXPECT_FALSE(PathExists(P(destination)));
}

TEST_F(ConvertItem, InPlaceWithTheRecycleBinKeepsTheOriginalThere) {
    // A name of its own, so that the trash holds nothing else under it.
    char name[64];
    std::snprintf(name, sizeof name, "tavelin-%lu-%lu.txt", GetCurrentProcessId(), GetTickCount());
    std::string file = File(name, kShiftJis);
    Backdate(file);
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    WIN32_FIND_DATAW before = Find(file);

    EXPECT_TRUE(ConvertFile(P(file), P(file),
                            Rule(DetectionCode::ShiftJis, ConversionMask::IntoEucJp), true));
    ExpectSameStamps(file, before);
    EXPECT_EQ(ReadBytes(file), kEucJp);

    if (!RunningUnderWine()) return;  // the trash below is Wine's
    std::string trash = HostTrashFolder();
    ASSERT_FALSE(trash.empty());
    std::string trashed = trash + "\\files\\" + name;
    EXPECT_EQ(ReadBytes(trashed), kShiftJis);
    EXPECT_TRUE(PathExists(P(trash + "\\info\\" + name + ".trashinfo")));
    RemoveTree(trashed);
    DeleteFileA((trash + "\\info\\" + name + ".trashinfo").c_str());
}

TEST_F(ConvertItem, TemporaryNamesFollowTheProcessIdAndSkipTakenNames) {
    std::srand(GetCurrentProcessId());
    int first = std::rand() % 1000;
    std::rand();  // whatever was drawn since, the sequence starts over
    std::vector<Path> made;
    Path path;
    const Path destination = P(scratch / "out.txt");

    ByteStream* s = CreateTemporaryOutput(destination, &path, StreamMode::WriteBinary);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(StreamClose(s));
    EXPECT_EQ(path, TemporaryName(first));
    made.push_back(path);

    // The name is taken now; a folder takes the one after it.
    ASSERT_TRUE(MakeFolder(TemporaryName((first + 1) % 1000)));
    s = CreateTemporaryOutput(destination, &path, StreamMode::WriteText);
    ASSERT_NE(s, nullptr);
    StreamWriteByte(s, '\n');
    EXPECT_TRUE(StreamClose(s));
    EXPECT_EQ(path, TemporaryName((first + 2) % 1000));
    EXPECT_EQ(ReadBytes(path), "\r\n");  // opened with the mode asked for
    made.push_back(path);

    for (const Path& p : made) EXPECT_TRUE(DeleteFileW(WidePath(p)));
    EXPECT_TRUE(RemoveDirectoryW(WidePath(TemporaryName((first + 1) % 1000))));
}

// Every name beside the program taken for as long as it lives: the
// program's folder then has no temporary file to give, as one the user may
// not write has none.
class TakenTemporaryNames {
  public:
    TakenTemporaryNames() {
        for (int k = 0; k < 1000; k++) taken_ = WriteBytes(TemporaryName(k), "taken") && taken_;
    }
    ~TakenTemporaryNames() {
        for (int k = 0; k < 1000; k++) {
            EXPECT_EQ(ReadBytes(TemporaryName(k)), "taken") << k;
            DeleteFileW(WidePath(TemporaryName(k)));
        }
    }
    bool taken() const { return taken_; }

  private:
    bool taken_ = true;
};

// Whether a folder holds a file of the staged form, the form the temporary
// files take away from the program.
bool HoldsStagedNames(const std::string& folder) {
    WIN32_FIND_DATAW found;
    return FindExists(P(folder + "\\~tavelin-*.tmp"), &found);
}

// Where the program's folder gives no temporary file, the destination's
// folder does, else the user's temporary folder; the file has the staged
// form the gathering skips and goes when it is closed. Where no place gives
// one, nothing is converted, and the item blames the temporary file, not the
// destination; where only the temporary folder gave one, a destination that
// cannot be written is blamed as ever.
TEST_F(ConvertItem, TemporaryFileGoesWhereItCanBeMade) {
    TakenTemporaryNames taken;
    ASSERT_TRUE(taken.taken());
    const std::string temp = scratch / "temp";
    ASSERT_TRUE(MakeFolder(temp));
    const std::string source = File("s.txt", kShiftJis);
    const std::string reachable = scratch / "out.txt";
    const std::string unreachable = scratch / "missing\\out.txt";
    struct Case {
        const char* what;
        std::string destination;
        std::string temporaryFolder;
        std::string madeIn;  // where the temporary file is made; empty: nowhere
        ItemOutcome outcome;
        DWORD error;
    } cases[] = {
        {"beside the destination", reachable, temp, scratch.path(), ItemOutcome::Converted, 0},
        {"in the temporary folder", unreachable, temp, temp, ItemOutcome::NotWritten,
         ERROR_PATH_NOT_FOUND},
        {"nowhere", unreachable, scratch / "no temp", "", ItemOutcome::NoTemporaryFile,
         ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // TMP: the variable GetTempPathW reads first.
        ScopedVariable tmp("TMP", (c.temporaryFolder + "\\").c_str());
        Path path = u"x";
        ByteStream* s =
            CreateTemporaryOutput(P(c.destination), &path, StreamMode::WriteBinary, true);
        if (c.madeIn.empty()) {
            EXPECT_EQ(s, nullptr);
            EXPECT_EQ(GetLastError(), c.error);
            EXPECT_EQ(path, Path());
        } else {
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(path, StagedPath(P(c.madeIn + "\\x"), GetCurrentProcessId(), 999));
            EXPECT_TRUE(PathExists(path));
            EXPECT_TRUE(StreamClose(s));
            EXPECT_FALSE(PathExists(path));
        }

        HeldItem item = MakeHeldItem(source, c.destination);
        ASSERT_TRUE(item);
        ItemResult result = ProcessWorkItem(item.get(), ConversionMask::BothWays, false);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.error, c.error);
        const Path reason = DescribeFailure(result);
        const Path blamesTemporary = u"一時ファイルに書き込めません（";
        EXPECT_EQ(reason.compare(0, blamesTemporary.size(), blamesTemporary) == 0,
                  c.outcome == ItemOutcome::NoTemporaryFile)
            << Cp932(reason);
        EXPECT_EQ(ReadBytes(c.destination),
                  c.outcome == ItemOutcome::Converted ? kEucJp : "<missing>");
        EXPECT_FALSE(HoldsStagedNames(scratch.path()));
        EXPECT_FALSE(HoldsStagedNames(temp));
        DeleteFileW(WidePath(P(c.destination)));
    }
}

TEST_F(ConvertItem, MirroredFoldersGetTheTemplatesAttributesOnce) {
    std::string source = scratch / "src";
    ASSERT_TRUE(MakeFolder(source));
    ASSERT_TRUE(
        SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    std::string mirror = scratch / "mirror";
    EXPECT_TRUE(CreateMirrorDirectory(P(source), P(mirror), nullptr));
    EXPECT_EQ(GetFileAttributesA(mirror.c_str()), GetFileAttributesA(source.c_str()));

    // An existing folder stays as it is.
    ASSERT_TRUE(SetFileAttributesA(mirror.c_str(), FILE_ATTRIBUTE_NORMAL));
    DWORD existing = GetFileAttributesA(mirror.c_str());
    EXPECT_FALSE(CreateMirrorDirectory(P(source), P(mirror), nullptr));
    EXPECT_EQ(GetFileAttributesA(mirror.c_str()), existing);
    // Only the last component is made.
    EXPECT_FALSE(CreateMirrorDirectory(P(source), P(scratch / "a\\b"), nullptr));
    EXPECT_FALSE(PathExists(P(scratch / "a")));
    SetFileAttributesA(source.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ConvertItem, WorkItemsAreClassifiedWhenMade) {
    ASSERT_TRUE(MakeFolder(scratch / "d"));
    struct Case {
        std::string path;
        DetectionCode code;
    } cases[] = {
        {scratch / "d", DetectionCode::Directory},
        {File("s.txt", kShiftJis), DetectionCode::ShiftJis},
        {File("e.txt", kEucJp), DetectionCode::EucJp},
        {File("p.png", kBinary), DetectionCode::Undetermined},
        {scratch / "missing",
         DetectionCode::Directory},  // unreadable attributes carry the folder bit
    };
    for (const Case& c : cases) {
        HeldItem item = MakeHeldItem(c.path, "D:\\out\\x");
        ASSERT_TRUE(item);
        EXPECT_EQ(Path(item->sourcePath), P(c.path));
        EXPECT_EQ(Path(item->destinationPath), u"D:\\out\\x");
        EXPECT_EQ(item->code, c.code) << c.path;
    }
    // A file deeper than 259 characters is classified as any other.
    Path deep = MakeDeepFolder(P(scratch.path()), 300) + u"\\s.txt";
    ASSERT_TRUE(WriteBytes(deep, kShiftJis));
    HeldItem item(MakeWorkItem(deep, deep));
    ASSERT_TRUE(item);
    EXPECT_EQ(item->code, DetectionCode::ShiftJis);
    // And converted in place there.
    EXPECT_EQ(ProcessWorkItem(item.get(), ConversionMask::BothWays, false).outcome,
              ItemOutcome::Converted);
    EXPECT_EQ(ReadBytes(deep), kEucJp);
    // Every length Windows can name fits; a longer path is refused rather
    // than cut.
    Path longest = u"C:\\" + Path(kLongestPath - 3, u'a');
    item.reset(MakeWorkItem(longest, longest));
    ASSERT_TRUE(item);
    EXPECT_EQ(Path(item->sourcePath), longest);
    EXPECT_EQ(Path(item->destinationPath), longest);
    EXPECT_EQ(HeldItem(MakeWorkItem(longest + u"b", u"C:\\x")), nullptr);
    EXPECT_EQ(HeldItem(MakeWorkItem(u"C:\\x", longest + u"b")), nullptr);
}

TEST_F(ConvertItem, ItemsAreConvertedCopiedOrLeftAlone) {
    std::string in = scratch / "in";
    std::string out = scratch / "out";
    ASSERT_TRUE(MakeFolder(in));
    ASSERT_TRUE(MakeFolder(out));
    ASSERT_TRUE(WriteBytes(in + "\\s.txt", kShiftJis));
    ASSERT_TRUE(WriteBytes(in + "\\e.txt", kEucJp));
    ASSERT_TRUE(WriteBytes(in + "\\p.png", kBinary));
    auto item = [&](const char* name) {
        HeldItem w = MakeHeldItem(in + "\\" + name, out + "\\" + name);
        EXPECT_TRUE(w);
        return w;
    };
    // Both ways: each text into the other encoding; the binary file waits.
    for (const char* name : {"s.txt", "e.txt", "p.png"}) {
        ProcessWorkItem(item(name).get(), ConversionMask::BothWays, false);
    }
    EXPECT_EQ(ReadBytes(out + "\\s.txt"), kEucJp);
    EXPECT_EQ(ReadBytes(out + "\\e.txt"), kShiftJis);
    EXPECT_FALSE(PathExists(P(out + "\\p.png")));
    HeldItem binary = item("p.png");
    EXPECT_FALSE(ConvertOrCopyItem(binary.get(), ConversionMask::BothWays, false));

    // Into Shift-JIS only: a Shift-JIS file is copied byte for byte.
    HeldItem sjis = item("s.txt");
    EXPECT_TRUE(ConvertOrCopyItem(sjis.get(), ConversionMask::IntoShiftJis, false));
    EXPECT_EQ(ReadBytes(out + "\\s.txt"), kShiftJis);
    // The user's choice to copy the binary file unchanged.
    binary->code = DetectionCode::CopyUnchanged;
    EXPECT_TRUE(ConvertOrCopyItem(binary.get(), ConversionMask::BothWays, false));
    EXPECT_EQ(ReadBytes(out + "\\p.png"), kBinary);

    // In place, a copy onto itself fails and leaves the file as it was.
    HeldItem self = MakeHeldItem(in + "\\s.txt", in + "\\s.txt");
    ASSERT_EQ(self->code, sjis->code);
    EXPECT_FALSE(ConvertOrCopyItem(self.get(), ConversionMask::IntoShiftJis, false));
    EXPECT_EQ(ReadBytes(Path(self->sourcePath)), kShiftJis);

    // A folder rewritten in place: nothing happens to it.
    ASSERT_TRUE(SetFileAttributesA(in.c_str(), FILE_ATTRIBUTE_HIDDEN));
    HeldItem folder = MakeHeldItem(in, in);
    ASSERT_TRUE(folder);
    ProcessWorkItem(folder.get(), ConversionMask::BothWays, true);
    EXPECT_EQ(GetFileAttributesA(in.c_str()),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(ReadBytes(in + "\\s.txt"), kShiftJis);
    // Into the output folder: mirrored there with its attributes, and only
    // the folder itself (its files are items of their own).
    HeldItem mirrored = MakeHeldItem(in, out + "\\in");
    ASSERT_TRUE(mirrored);
    ProcessWorkItem(mirrored.get(), ConversionMask::BothWays, false);
    EXPECT_EQ(GetFileAttributesA((out + "\\in").c_str()), GetFileAttributesA(in.c_str()));
    EXPECT_FALSE(PathExists(P(out + "\\in\\s.txt")));
    SetFileAttributesA(in.c_str(), FILE_ATTRIBUTE_NORMAL);
    SetFileAttributesA((out + "\\in").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
