// Gathering the work list under Wine, on real trees and real shortcut files:
// the order, the nesting and duplicate rules, both output methods, shortcuts,
// paths that do not fit, and folder loops.
#include "app/gather_win.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/run_win.h"
#include "engine/convert_item_win.h"
#include "engine/work_item_win.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/shortcut_support.h"
#include "tests/win32/support/test_support.h"
#include "tests/win32/support/wine_host.h"
#include "util/path_win.h"

namespace {

// The shell-link object needs COM on the test's thread, as the program has it.
class ComEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};
::testing::Environment* const com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

const std::string kShiftJis =
    "日本語のテキストです。\r\n表示と変換の確認をします。\r\nソース一覧\r\n";

struct Entry {
    std::string source;
    std::string destination;
    DetectionCode code;
};

std::int32_t Collect(void* element, std::int32_t, void* context) {
    auto* item = static_cast<WorkItem*>(element);
    static_cast<std::vector<Entry>*>(context)->push_back(
        {Cp932(item->sourcePath), Cp932(item->destinationPath), item->code});
    return 1;
}

// Command lines as the program receives them: its own path first.
Arguments Argv(const std::vector<std::string>& arguments) {
    Arguments argv{u"C:\\prog\\TAVELIN.exe"};
    for (const std::string& a : arguments) argv.push_back(P(a));
    return argv;
}

std::vector<Entry> Gather(const std::vector<std::string>& arguments, const Settings& settings);

std::vector<Entry> Gather(const std::vector<std::string>& arguments, OutputMethod method,
                          const std::string& outputFolder = "") {
    return Gather(arguments, RunSettings(method, outputFolder));
}

std::vector<Entry> Gather(const std::vector<std::string>& arguments, const Settings& settings) {
    WorkList* list = BuildWorkList(Argv(arguments), &settings);
    std::vector<Entry> entries;
    EXPECT_NE(list, nullptr);
    if (list == nullptr) return entries;
    PtrListForEach(list, true, Collect, &entries);
    PtrListDestroy(list);
    return entries;
}

// Gathers the arguments for rewriting in place and converts the list into
// EUC-JP, as a run does.
void RewriteInPlaceIntoEucJp(const std::vector<std::string>& arguments) {
    Settings settings = RunSettings(OutputMethod::RewriteInPlace);
    WorkList* list = BuildWorkList(Argv(arguments), &settings);
    ASSERT_NE(list, nullptr);
    ProcessWorkList(list, ConversionMask::IntoEucJp, &settings);
    PtrListDestroy(list);
}

// Converted once, the file goes back to the original text; converted twice,
// the second pass has read EUC-JP as Shift-JIS and garbled it.
void ExpectConvertedOnce(const std::string& path) {
    HeldItem back = MakeHeldItem(path, path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->code, DetectionCode::EucJp) << path;
    ProcessWorkItem(back.get(), ConversionMask::IntoShiftJis, false);
    EXPECT_EQ(ReadBytes(path), kShiftJis);
}

// Symbolic links made through the host, removed before the scratch folder
// goes, whatever happens in the test.
struct HostLinks {
    std::vector<std::string> paths;
    ~HostLinks() {
        for (const std::string& p : paths) RemoveHostSymbolicLink(p);
    }
};

std::vector<std::string> Arguments(const std::vector<std::string>& arguments) {
    std::vector<std::string> paths;
    for (const Path& path : CollectArguments(Argv(arguments))) paths.push_back(Cp932(path));
    return paths;
}

std::vector<std::string> Sources(const std::vector<Entry>& entries) {
    std::vector<std::string> sources;
    for (const Entry& e : entries) sources.push_back(e.source);
    return sources;
}

// The tree below a folder in the file system's own order, folders before their
// contents: what the walk must give.
void ReferenceWalk(const std::string& path, std::vector<std::string>* out) {
    out->push_back(path);
    if (!IsDirectory(P(path))) return;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") ReferenceWalk(path + "\\" + name, out);
    } while (FindNextFileA(h, &found));
    FindClose(h);
}

class Gathering : public ::testing::Test {
  protected:
    std::string File(const std::string& name, const std::string& bytes = kShiftJis) {
        std::string path = scratch / name;
        EXPECT_TRUE(WriteBytes(path, bytes)) << path;
        return path;
    }
    std::string Folder(const std::string& name) {
        std::string path = scratch / name;
        EXPECT_TRUE(MakeFolder(path)) << path;
        return path;
    }
    // The shell's own spelling of a path, as gathered items carry it.
    std::string Canonical(const std::string& path) {
        Path b;
        EXPECT_TRUE(CanonicalizePath(P(path), &b)) << path;
        return Cp932(b);
    }
    ScratchFolder scratch;
};

TEST_F(Gathering, FoldersComeBeforeTheirContentsInTheFileSystemsOrder) {
    std::string tree = Canonical(Folder("tree"));
    Folder("tree\\b");
    Folder("tree\\b\\d");
    Folder("tree\\f");
    File("tree\\a.txt");
    File("tree\\b\\c.txt");
    File("tree\\b\\d\\e.txt");
    File("tree\\g.png", std::string("\x89PNG\r\n\x1a\n\0\0", 10));
    std::string hidden = File("tree\\b\\隠し.txt");
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));

    std::vector<std::string> expected;
    ReferenceWalk(tree, &expected);
    ASSERT_EQ(expected.size(), 9u);
    std::vector<Entry> items = Gather({tree}, OutputMethod::RewriteInPlace);
    EXPECT_EQ(Sources(items), expected);
    for (const Entry& e : items) {
        EXPECT_EQ(e.destination, e.source);  // rewritten in place
        if (IsDirectory(P(e.source))) {
            EXPECT_EQ(e.code, DetectionCode::Directory) << e.source;
        } else if (e.source.find(".png") != std::string::npos) {
            EXPECT_EQ(e.code, DetectionCode::Undetermined) << e.source;
        } else {
            EXPECT_EQ(e.code, DetectionCode::ShiftJis) << e.source;
        }
    }
}

TEST_F(Gathering, OutputFolderMirrorsEachArgumentUnderItsOwnName) {
    Folder("data");
    std::string texts = Canonical(Folder("data\\texts"));
    Folder("data\\texts\\a");
    File("data\\texts\\a\\b.txt");
    std::string single = Canonical(File("data\\single.txt"));
    std::string out = Canonical(Folder("out"));

    std::vector<Entry> items = Gather({texts, single}, OutputMethod::IntoOutputFolder, out);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].destination, out + "\\texts");
    EXPECT_EQ(items[1].destination, out + "\\texts\\a");
    EXPECT_EQ(items[2].source, texts + "\\a\\b.txt");
    EXPECT_EQ(items[2].destination, out + "\\texts\\a\\b.txt");
    EXPECT_EQ(items[3].source, single);
    EXPECT_EQ(items[3].destination, out + "\\single.txt");

    // No output folder: nothing is gathered, rather than destinations that
    // would be bare names relative to the current folder.
    EXPECT_TRUE(Gather({texts, single}, OutputMethod::IntoOutputFolder, "").empty());
}

TEST_F(Gathering, NestedArgumentsGiveWayToTheFolderThatHoldsThem) {
    std::string d = Canonical(Folder("d"));
    std::string a = Canonical(File("d\\a.txt"));
    std::string b = Canonical(File("d\\b.txt"));
    std::string x = Canonical(File("dd_x.txt"));
    std::string dd = Canonical(Folder("dd"));
    std::string ddx = Canonical(File("dd\\x.txt"));

    EXPECT_EQ(Arguments({a, d}), std::vector<std::string>{d});
    EXPECT_EQ(Arguments({d, a}), std::vector<std::string>{d});
    EXPECT_EQ(Arguments({a, x, b, d}), (std::vector<std::string>{x, d}));
    EXPECT_EQ(Arguments({d, ddx}), (std::vector<std::string>{d, ddx}));
    EXPECT_EQ(Arguments({dd, ddx, d}), (std::vector<std::string>{dd, d}));
    // ASCII case does not matter.
    std::string upper = scratch / "D\\A.TXT";
    EXPECT_EQ(Arguments({d, upper}), std::vector<std::string>{d});

    // A file gathered once under a folder is processed once.
    std::vector<std::string> sources = Sources(Gather({a, d}, OutputMethod::RewriteInPlace));
    ASSERT_EQ(sources.size(), 3u);
    EXPECT_EQ(sources[0], d);
    EXPECT_EQ(std::count(sources.begin(), sources.end(), a), 1);
    EXPECT_EQ(std::count(sources.begin(), sources.end(), b), 1);
}

TEST_F(Gathering, TheSamePathTwiceIsGatheredOnce) {
    std::string f = File("twice.txt");
    std::string canonical = Canonical(f);
    std::string other = scratch / "TWICE.TXT";
    EXPECT_EQ(Arguments({f, f, other}), std::vector<std::string>{canonical});

    // Rewritten in place, a second pass would convert the converted text again.
    std::vector<Entry> items = Gather({f, f}, OutputMethod::RewriteInPlace);
    ASSERT_EQ(items.size(), 1u);
    HeldItem item = MakeHeldItem(items[0].source, items[0].destination);
    ASSERT_TRUE(item);
    ProcessWorkItem(item.get(), ConversionMask::BothWays, false);
    EXPECT_NE(ReadBytes(f), kShiftJis);  // converted, once
}

TEST_F(Gathering, DoubleByteNamesAreComparedWhole) {
    // ア (0x83 0x41) and ャ (0x83 0x61) differ only in an ASCII letter's case
    // if their second bytes are taken for letters.
    std::string big = Canonical(Folder("ア"));
    Folder("ャ");
    std::string small = Canonical(File("ャ\\x.txt"));
    EXPECT_EQ(Arguments({big, small}), (std::vector<std::string>{big, small}));
    std::string sjisFolder = Canonical(Folder("表"));
    std::string inside = Canonical(File("表\\a.txt"));
    EXPECT_EQ(Arguments({sjisFolder, inside}), std::vector<std::string>{sjisFolder});
}

TEST_F(Gathering, ArgumentsThatNameNothingAreDropped) {
    std::string f = Canonical(File("f.txt"));
    EXPECT_EQ(Arguments({"/noui", scratch / "missing.txt", "", "/sjis", f}),
              std::vector<std::string>{f});
    // A drive root has no name of its own: no item.
    EXPECT_TRUE(Gather({"C:\\"}, OutputMethod::RewriteInPlace).empty());
}

TEST_F(Gathering, ShortcutsStandForTheirTargets) {
    std::string target = Canonical(Folder("target"));
    std::string inner = Canonical(File("target\\in.txt"));
    std::string file = Canonical(File("plain.txt"));
    Folder("links");
    std::string toFolder = scratch / "links\\フォルダ.lnk";
    std::string toFile = scratch / "links\\file.lnk";
    std::string toNothing = scratch / "links\\gone.lnk";
    ASSERT_TRUE(MakeShortcut(toFolder, target));
    ASSERT_TRUE(MakeShortcut(toFile, file));
    std::string doomed = File("doomed.txt");
    ASSERT_TRUE(MakeShortcut(toNothing, doomed));
    ASSERT_TRUE(DeleteFileA(doomed.c_str()));

    Path out;
    EXPECT_TRUE(ResolveShortcut(P(toFolder), &out));
    EXPECT_TRUE(IsSamePath(out, P(target))) << Cp932(out);
    EXPECT_FALSE(ResolveShortcut(P(file), &out));  // no shortcut
    EXPECT_EQ(out, P(file));
    EXPECT_FALSE(ResolveShortcut(P(target), &out));
    EXPECT_FALSE(ResolveShortcut(P(toNothing), &out));
    EXPECT_EQ(out, P(toNothing));  // the shortcut file itself

    // The folder is walked under its own name, from its own parent.
    std::vector<Entry> items = Gather({toFolder}, OutputMethod::RewriteInPlace);
    EXPECT_EQ(Sources(items), (std::vector<std::string>{target, inner}));
    EXPECT_EQ(items[1].destination, inner);
    std::string outFolder = Canonical(Folder("out"));
    items = Gather({toFolder, toFile}, OutputMethod::IntoOutputFolder, outFolder);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].destination, outFolder + "\\target");
    EXPECT_EQ(items[1].destination, outFolder + "\\target\\in.txt");
    EXPECT_EQ(items[2].source, file);
    EXPECT_EQ(items[2].destination, outFolder + "\\plain.txt");

    // A shortcut whose target is gone is a file of its own.
    items = Gather({toNothing}, OutputMethod::RewriteInPlace);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].source, Canonical(toNothing));
    EXPECT_EQ(items[0].code, DetectionCode::Undetermined);

    // A shortcut and its target given together: once.
    EXPECT_EQ(Arguments({target, toFolder}).size(), 1u);
    EXPECT_EQ(Arguments({inner, toFolder}), std::vector<std::string>{Arguments({target})});
}

// Long paths need the wide functions with the \\?\ prefix; the entries made
// that way are removed the same way.
class LongEntries {
  public:
    ~LongEntries() {
        for (auto it = made_.rbegin(); it != made_.rend(); ++it) {
            std::wstring wide = Wide(*it);
            if (!DeleteFileW(wide.c_str())) RemoveDirectoryW(wide.c_str());
        }
    }
    bool Folder(const std::string& path) {
        made_.push_back(path);
        return CreateDirectoryW(Wide(path).c_str(), nullptr) != FALSE;
    }
    bool File(const std::string& path) {
        made_.push_back(path);
        HANDLE h =
            CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        WriteFile(h, kShiftJis.data(), static_cast<DWORD>(kShiftJis.size()), &written, nullptr);
        CloseHandle(h);
        return true;
    }

  private:
    static std::wstring Wide(const std::string& path) {
        std::string full = "\\\\?\\" + path;
        std::wstring wide(full.size() + 1, L'\0');
        int n = MultiByteToWideChar(CP_ACP, 0, full.c_str(), -1, &wide[0],
                                    static_cast<int>(wide.size()));
        wide.resize(n > 0 ? n - 1 : 0);
        return wide;
    }
    std::vector<std::string> made_;
};

TEST_F(Gathering, LongPathsAreGatheredThoseThatDoNotFitLeftOutNeverCut) {
    LongEntries entries;
    std::string base = Canonical(Folder("long"));
    // A folder whose files end exactly at 259 characters.
    std::string deep = base + "\\" + std::string(120, 'a');
    deep += "\\" + std::string(250 - deep.size() - 1, 'b');
    ASSERT_TRUE(entries.Folder(deep.substr(0, deep.rfind('\\'))));
    ASSERT_TRUE(entries.Folder(deep));
    std::string fits = deep + "\\" + std::string(259 - deep.size() - 5, 'c') + ".txt";
    ASSERT_EQ(fits.size(), 259u);
    ASSERT_TRUE(entries.File(fits));
    // Cut to 259 characters, this name would be the file above.
    std::string longer = fits + "_longer";
    ASSERT_TRUE(entries.File(longer));
    std::string longFolder = deep + "\\" + std::string(20, 'e');
    ASSERT_TRUE(entries.Folder(longFolder));
    ASSERT_TRUE(entries.File(longFolder + "\\x.txt"));
    ASSERT_TRUE(entries.File(deep + "\\s.txt"));  // 256 characters

    // Every one of them, under its own name, at any length.
    std::vector<Entry> items = Gather({base}, OutputMethod::RewriteInPlace);
    std::vector<std::string> sources = Sources(items);
    std::sort(sources.begin(), sources.end());
    std::vector<std::string> expected{base,
                                      deep.substr(0, deep.rfind('\\')),
                                      deep,
                                      fits,
                                      longer,
                                      longFolder,
                                      longFolder + "\\x.txt",
                                      deep + "\\s.txt"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sources, expected);
    RewriteInPlaceIntoEucJp({base});
    for (const std::string& file : {fits, longer, longFolder + "\\x.txt"}) {
        ExpectConvertedOnce(file);
    }

    // Mirrored into an output folder, their destinations as long.
    std::string out = Canonical(Folder("out"));
    std::string outFolder = out + "\\" + std::string(240 - out.size() - 1, 'o');
    ASSERT_TRUE(MakeFolder(outFolder));
    std::vector<Entry> mirrored = Gather({base}, OutputMethod::IntoOutputFolder, outFolder);
    for (const Entry& e : mirrored) {
        EXPECT_EQ(e.destination, outFolder + "\\long" + e.source.substr(base.size()));
    }
    EXPECT_EQ(mirrored.size(), expected.size());

    // Destinations longer than Windows can name: left out with everything
    // below, while their sources fit. The folder ends where the destination
    // of the argument itself just fits.
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder);
    settings.outputFolder = u"C:\\" + Path(kLongestPath - 3 - 5, u'o');
    mirrored = Gather({base}, settings);
    ASSERT_EQ(mirrored.size(), 1u);
    EXPECT_EQ(mirrored[0].source, base);
}

TEST_F(Gathering, FolderLoopsEndAndNoFileIsTakenTwice) {
    if (!RunningUnderWine()) GTEST_SKIP() << "links are made through the Linux host";
    std::string loop = Canonical(Folder("loop"));
    std::string a = File("loop\\a.txt");
    Folder("loop\\sub");
    File("loop\\sub\\b.txt");
    HostLinks links{{loop + "\\sub\\up", scratch / "alias"}};
    ASSERT_TRUE(MakeHostSymbolicLink(loop, links.paths[0]));
    ASSERT_TRUE(MakeHostSymbolicLink(loop, links.paths[1]));

    std::vector<Entry> items = Gather({loop, scratch / "alias"}, OutputMethod::RewriteInPlace);
    std::vector<std::string> sources = Sources(items);
    std::sort(sources.begin(), sources.end());
    std::vector<std::string> expected{loop,
                                      loop + "\\a.txt",
                                      loop + "\\sub",
                                      loop + "\\sub\\b.txt",
                                      loop + "\\sub\\up",
                                      Canonical(scratch / "alias")};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sources, expected);

    // Rewritten in place, every file is converted exactly once.
    RewriteInPlaceIntoEucJp({loop, scratch / "alias"});
    EXPECT_NE(ReadBytes(a), kShiftJis);
    ExpectConvertedOnce(a);
}

TEST_F(Gathering, AFileReachedByTwoNamesIsRewrittenInPlaceOnce) {
    if (!RunningUnderWine()) GTEST_SKIP() << "links are made through the Linux host";
    std::string folder = Canonical(Folder("twice"));
    std::string a = File("twice\\a.txt");
    std::string other = File("other.txt");
    // A second name for a.txt inside the same folder, and one given as an
    // argument of its own.
    HostLinks links{{folder + "\\b.txt", scratch / "c.txt"}};
    ASSERT_TRUE(MakeHostSymbolicLink(a, links.paths[0]));
    ASSERT_TRUE(MakeHostSymbolicLink(a, links.paths[1]));

    RewriteInPlaceIntoEucJp({folder, scratch / "c.txt", other});
    ExpectConvertedOnce(a);
    // A file reached once is converted as ever.
    EXPECT_NE(ReadBytes(other), kShiftJis);
}

// Hard links (no host needed): two names of one file in one folder and a
// third in another are rewritten once; every other file of those folders,
// each a file of its own with a number of its own, is rewritten as ever.
TEST_F(Gathering, HardLinkedNamesAreRewrittenInPlaceOnceAndOthersAsEver) {
    std::string folder = Canonical(Folder("linked"));
    std::string elsewhere = Canonical(Folder("elsewhere"));
    std::string a = File("linked\\a.txt");
    ASSERT_TRUE(CreateHardLinkA((folder + "\\b.txt").c_str(), a.c_str(), nullptr));
    ASSERT_TRUE(CreateHardLinkA((elsewhere + "\\c.txt").c_str(), a.c_str(), nullptr));
    std::vector<std::string> others;
    for (int i = 0; i < 20; i++)
        others.push_back(File("linked\\other" + std::to_string(i) + ".txt"));

    RewriteInPlaceIntoEucJp({folder, elsewhere});
    ExpectConvertedOnce(a);
    EXPECT_EQ(ReadBytes(folder + "\\b.txt"), kShiftJis);  // the same file, back again
    for (const std::string& other : others) ExpectConvertedOnce(other);
}

}  // namespace
