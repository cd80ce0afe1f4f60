// The program's operations repeated many times, on real files under Wine:
// afterwards the process must hold no more kernel handles, GDI objects, USER
// objects or heap blocks than before, and no temporary file may be left
// beside the program. An operation that leaks one object per call shows as a
// growth of 200. Failure paths (missing files, files that are no shortcuts,
// paths the shell cannot parse, a class registered twice) are repeated too.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/gather_win.h"
#include "app/run_win.h"
#include "app/settings_win.h"
#include "engine/convert_item_win.h"
#include "engine/detect_win.h"
#include "engine/work_item_win.h"
#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/resource_counts.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/shortcut_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/app_window_win.h"
#include "ui/busy_window_win.h"
#include "ui/progress.h"
#include "util/path_win.h"

namespace {

constexpr int kRepetitions = 200;
// The first calls fill caches that stay for the life of the process (the
// shell's image lists, COM's class objects): they are made before counting
// starts.
constexpr int kWarmUp = 5;

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

// Names the program gives its temporary files: its own path with ".000" to
// ".999".
int CountTemporaryFiles() {
    Path pattern;
    if (!ModulePathWithExtension(&pattern, u".*")) return -1;
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Cp932(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        const char* dot = std::strrchr(found.cFileName, '.');
        bool numbered = dot != nullptr && std::strlen(dot) == 4;
        for (int i = 1; numbered && i < 4; i++) {
            numbered = std::isdigit(static_cast<unsigned char>(dot[i])) != 0;
        }
        if (numbered) count++;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

void ExpectNoGrowth(const char* what, const std::function<void()>& operation) {
    EXPECT_EQ(GrowthOf(CountAround(what, kWarmUp, kRepetitions, operation)), "")
        << what << " leaks";
}

// The same text in Shift-JIS with CR LF (the literal, in code page 932), in
// EUC-JP with LF and in ISO-2022-JP (made with iconv), a PNG header (binary:
// never converted) and UTF-8 (copied when converting both ways).
const std::string kShiftJis = "日本語のテキストです。\r\n表示と変換\r\n";
const std::string kEucJp =
    "\xc6\xfc\xcb\xdc\xb8\xec\xa4\xce\xa5\xc6\xa5\xad\xa5\xb9\xa5\xc8\xa4\xc7\xa4\xb9\xa1\xa3\n"
    "\xc9\xbd\xbc\xa8\xa4\xc8\xca\xd1\xb4\xb9\n";
const std::string kIso2022Jp = "\x1b$BF|K\\8l$N%F%-%9%H$G$9!#\x1b(B\n";
const std::string kBinary = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
const std::string kUtf8 = "\xe3\x83\xa1\xe3\x83\xa2\r\n";

// A small tree of every kind of file, with a folder inside.
struct SampleTree {
    ScratchFolder scratch;
    std::string root = scratch / "in";
    std::string output = scratch / "out";

    SampleTree() {
        EXPECT_TRUE(MakeFolder(root));
        EXPECT_TRUE(MakeFolder(root + "\\sub"));
        EXPECT_TRUE(MakeFolder(output));
        EXPECT_TRUE(WriteBytes(root + "\\sjis.txt", kShiftJis));
        EXPECT_TRUE(WriteBytes(root + "\\euc.txt", kEucJp));
        EXPECT_TRUE(WriteBytes(root + "\\sub\\jis.txt", kIso2022Jp));
        EXPECT_TRUE(WriteBytes(root + "\\sub\\image.png", kBinary));
        EXPECT_TRUE(WriteBytes(root + "\\sub\\utf8.txt", kUtf8));
    }
};

}  // namespace

TEST(Counters, SeeObjectsThatAreNotReleased) {
    std::printf("counters: %s\n", DescribeResourceCounters().c_str());
    constexpr int kObjects = 20;
    std::vector<HANDLE> events;
    std::vector<HBRUSH> brushes;
    std::vector<HICON> icons;
    std::vector<HWND> windows;
    std::vector<void*> blocks;
    events.reserve(kObjects);
    brushes.reserve(kObjects);
    icons.reserve(kObjects);
    windows.reserve(kObjects);
    blocks.reserve(kObjects);
    const BYTE andMask[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    const BYTE xorMask[4] = {0, 0, 0, 0};
    ResourceCounts before = CountResources();
    for (int i = 0; i < kObjects; i++) {
        events.push_back(CreateEventA(nullptr, FALSE, FALSE, nullptr));
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
        icons.push_back(CreateIcon(nullptr, 1, 1, 1, 1, andMask, xorMask));
        windows.push_back(CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                          GetModuleHandleA(nullptr), nullptr));
        blocks.push_back(std::malloc(24));
    }
    ResourceCounts held = CountResources();
    for (int i = 0; i < kObjects; i++) {
        CloseHandle(events[i]);
        DeleteObject(brushes[i]);
        DestroyIcon(icons[i]);
        DestroyWindow(windows[i]);
        std::free(blocks[i]);
    }
    ResourceCounts after = CountResources();
    std::printf("%-42s %s\n", "20 of each held", DescribeChange(before, held).c_str());
    std::printf("%-42s %s\n", "and released", DescribeChange(before, after).c_str());
    EXPECT_GE(held.kernelHandles - before.kernelHandles, kObjects);
    // An icon holds bitmaps of its own.
    EXPECT_GE(held.gdiObjects - before.gdiObjects, kObjects);
    EXPECT_GE(held.userObjects - before.userObjects, 2 * kObjects);
    EXPECT_GE(held.heapBlocks - before.heapBlocks, kObjects);
    EXPECT_LE(after.kernelHandles, before.kernelHandles);
    EXPECT_LE(after.gdiObjects, before.gdiObjects);
    EXPECT_LE(after.userObjects, before.userObjects);
}

TEST(Leaks, DetectEncoding) {
    SampleTree tree;
    std::string held = tree.root + "\\held.txt";
    ASSERT_TRUE(WriteBytes(held, kShiftJis));
    // Open elsewhere without sharing: the file cannot be read at all.
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    std::string sjis = tree.root + "\\sjis.txt";
    std::string png = tree.root + "\\sub\\image.png";
    std::string missing = tree.root + "\\missing.txt";
    ASSERT_EQ(DetectEncoding(P(sjis)), DetectionCode::ShiftJis);
    ASSERT_EQ(DetectEncoding(P(held)), DetectionCode::Undetermined);
    ExpectNoGrowth("DetectEncoding", [&] {
        DetectEncoding(P(sjis));
        DetectEncoding(P(png));
        DetectEncoding(P(held));
        DetectEncoding(P(missing));
        std::int32_t high = 0;
        QueryFileSize(P(held), &high);
    });
    CloseHandle(holder);
}

TEST(Leaks, MakeAndProcessWorkItemsAndConvertFile) {
    SampleTree tree;
    int temporaryBefore = CountTemporaryFiles();
    const char* names[] = {"sub",          "sjis.txt",       "euc.txt",
                           "sub\\jis.txt", "sub\\image.png", "sub\\utf8.txt"};
    const ConversionRule* rule = nullptr;
    ASSERT_EQ(FindConversionRule(DetectionCode::ShiftJis, ConversionMask::BothWays, &rule),
              RuleOutcome::Convert);
    std::string source = tree.root + "\\sjis.txt";
    std::string missing = tree.root + "\\missing.txt";
    // The final copy fails: the destination's folder does not exist.
    std::string unreachable = tree.output + "\\no such folder\\sjis.txt";
    ASSERT_FALSE(ConvertFile(P(source), P(unreachable), rule, false));
    ASSERT_FALSE(ConvertFile(P(missing), P(tree.output + "\\x.txt"), rule, false));
    ExpectNoGrowth("MakeWorkItem, ProcessWorkItem, ConvertFile", [&] {
        for (const char* name : names) {
            HeldItem item = MakeHeldItem(tree.root + "\\" + name, tree.output + "\\" + name);
            if (item) ProcessWorkItem(item.get(), ConversionMask::BothWays, false);
        }
        ConvertFile(P(source), P(unreachable), rule, false);
        ConvertFile(P(missing), P(tree.output + "\\x.txt"), rule, false);
    });
    EXPECT_EQ(ReadBytes(tree.output + "\\euc.txt"), kShiftJis);
    EXPECT_EQ(CountTemporaryFiles(), temporaryBefore);
}

TEST(Leaks, BuildProcessAndDestroyWorkList) {
    SampleTree tree;
    // A shortcut to a file outside the folder argument.
    std::string extra = tree.scratch / "extra.txt";
    ASSERT_TRUE(WriteBytes(extra, kEucJp));
    std::string shortcut = tree.scratch / "extra.lnk";
    ASSERT_TRUE(MakeShortcut(shortcut, extra));
    std::string missing = tree.scratch / "missing";
    const Arguments arguments{u"TAVELIN.exe", P(tree.root), P(shortcut), P(missing), u"/sjis"};
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, tree.output);
    int temporaryBefore = CountTemporaryFiles();
    ExpectNoGrowth("BuildWorkList, ProcessWorkList, destroy", [&] {
        WorkList* list = BuildWorkList(arguments, &settings);
        ASSERT_NE(list, nullptr);
        ProcessWorkList(list, ConversionMask::BothWays, &settings);
        PtrListDestroy(list);
    });
    EXPECT_EQ(ReadBytes(tree.output + "\\in\\euc.txt"), kShiftJis);
    EXPECT_EQ(ReadBytes(tree.output + "\\in\\sjis.txt"), kEucJp);
    EXPECT_EQ(ReadBytes(tree.output + "\\extra.txt"), kShiftJis);
    EXPECT_EQ(CountTemporaryFiles(), temporaryBefore);
}

TEST(Leaks, ShortcutsAndCanonicalPaths) {
    SampleTree tree;
    std::string target = tree.root + "\\sjis.txt";
    std::string shortcut = tree.scratch / "sjis.lnk";
    ASSERT_TRUE(MakeShortcut(shortcut, target));
    std::string doomed = tree.scratch / "doomed.txt";
    ASSERT_TRUE(WriteBytes(doomed, "x"));
    std::string stale = tree.scratch / "stale.lnk";
    ASSERT_TRUE(MakeShortcut(stale, doomed));
    ASSERT_TRUE(DeleteFileA(doomed.c_str()));
    std::string plain = tree.root + "\\euc.txt";
    std::string missing = tree.scratch / "missing";
    Path out;
    ASSERT_TRUE(ResolveShortcut(P(shortcut), &out));
    ASSERT_EQ(lstrcmpiW(WidePath(out), WidePath(P(target))), 0) << Cp932(out);
    ASSERT_FALSE(ResolveShortcut(P(stale), &out));
    ASSERT_FALSE(ResolveShortcut(P(plain), &out));
    ASSERT_TRUE(CanonicalizePath(P(tree.root), &out));
    ASSERT_FALSE(CanonicalizePath(P(missing), &out));
    ExpectNoGrowth("ResolveShortcut, CanonicalizePath", [&] {
        ResolveShortcut(P(shortcut), &out);
        ResolveShortcut(P(stale), &out);
        ResolveShortcut(P(plain), &out);
        ResolveShortcut(P(missing), &out);
        CanonicalizePath(P(plain), &out);
        CanonicalizePath(P(tree.root), &out);
        CanonicalizePath(P(missing), &out);
        CanonicalizePath(u"::not a path::", &out);
    });
}

TEST(Leaks, SpecialFoldersAndSettingsFile) {
    Path settingsPath;
    ASSERT_TRUE(SettingsFilePath(&settingsPath));
    bool existed = PathExists(settingsPath);
    Path folder;
    ASSERT_TRUE(GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, &folder));
    ASSERT_FALSE(GetSpecialFolderPath(nullptr, 0x7F, &folder));
    ExpectNoGrowth("GetSpecialFolderPath, Load/SaveSettings", [&] {
        GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, &folder);
        // No such folder: the shell refuses it.
        GetSpecialFolderPath(nullptr, 0x7F, &folder);
        Settings settings{};
        LoadSettings(&settings);
        SaveSettings(&settings);
    });
    if (!existed) DeleteFileW(WidePath(settingsPath));
}

TEST(Leaks, BusyWindowAndIcons) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The class stays registered for the life of the process, with its icons.
    ASSERT_NE(RegisterBusyWindowClass(instance), 0);
    Path self = ModulePath();
    ASSERT_FALSE(self.empty());
    ExpectNoGrowth("CreateBusyWindow, DestroyBusyWindow", [&] {
        HWND busy = CreateBusyWindow(instance, kBusyTip);
        ASSERT_NE(busy, nullptr);
        DestroyBusyWindow(busy);
    });
    // Thousands of pictures of the progress on one real busy window: the
    // clock given makes every call redraw, and every count a new picture,
    // each replacing the one before.
    HWND busy = CreateBusyWindow(instance, kBusyTip);
    ASSERT_NE(busy, nullptr);
    DWORD clock = GetTickCount() + 10000;
    int done = 0;
    int redrawn = 0;
    ExpectNoGrowth("UpdateBusyProgress, ten new pictures", [&] {
        for (int i = 0; i < 10; i++) {
            clock += kProgressIntervalMs;
            done = done % 14 + 1;
            if (UpdateBusyProgressAt(busy, done, 14, clock)) redrawn++;
        }
        clock += kProgressIntervalMs;
        if (UpdateBusyGatheringAt(busy, done, clock)) redrawn++;
    });
    EXPECT_GE(redrawn, 11 * (kWarmUp + kRepetitions));
    DestroyBusyWindow(busy);
    ExpectNoGrowth("RegisterBusyWindowClass refused",
                   [&] { EXPECT_EQ(RegisterBusyWindowClass(instance), 0); });
    // The caller owns these icons and destroys them.
    ExpectNoGrowth("GetExecutableIcon, GetFileIcon", [&] {
        for (HICON icon : {GetExecutableIcon(instance, 0), GetExecutableIcon(instance, 1),
                           GetFileIcon(self.c_str(), SHGFI_SMALLICON)}) {
            EXPECT_NE(icon, nullptr);
            DestroyIcon(icon);
        }
        EXPECT_EQ(GetFileIcon(u"Z:\\no\\such\\file.txt", SHGFI_SMALLICON), nullptr);
    });
}
