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
    char pattern[MAX_PATH];
    if (!ModulePathWithExtension(pattern, sizeof pattern, ".*")) return -1;
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
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
    ASSERT_EQ(DetectEncoding(sjis.c_str()), DetectionCode::ShiftJis);
    ASSERT_EQ(DetectEncoding(held.c_str()), DetectionCode::Undetermined);
    ExpectNoGrowth("DetectEncoding", [&] {
        DetectEncoding(sjis.c_str());
        DetectEncoding(png.c_str());
        DetectEncoding(held.c_str());
        DetectEncoding(missing.c_str());
        std::int32_t high = 0;
        QueryFileSize(held.c_str(), &high);
    });
    CloseHandle(holder);
}

TEST(Leaks, InitAndProcessWorkItemsAndConvertFile) {
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
    ASSERT_FALSE(ConvertFile(source.c_str(), unreachable.c_str(), rule, false));
    ASSERT_FALSE(ConvertFile(missing.c_str(), (tree.output + "\\x.txt").c_str(), rule, false));
    ExpectNoGrowth("InitWorkItem, ProcessWorkItem, ConvertFile", [&] {
        for (const char* name : names) {
            WorkItem item;
            std::string from = tree.root + "\\" + name;
            std::string to = tree.output + "\\" + name;
            if (InitWorkItem(&item, from.c_str(), to.c_str()))
                ProcessWorkItem(&item, ConversionMask::BothWays, false);
        }
        ConvertFile(source.c_str(), unreachable.c_str(), rule, false);
        ConvertFile(missing.c_str(), (tree.output + "\\x.txt").c_str(), rule, false);
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
    const char* arguments[] = {"TAVELIN.exe", tree.root.c_str(), shortcut.c_str(), missing.c_str(),
                               "/sjis"};
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, tree.output);
    int temporaryBefore = CountTemporaryFiles();
    ExpectNoGrowth("BuildWorkList, ProcessWorkList, destroy", [&] {
        WorkList* list = BuildWorkList(5, arguments, &settings);
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
    char out[kPathCapacity];
    ASSERT_TRUE(ResolveShortcut(shortcut.c_str(), out, sizeof out));
    ASSERT_EQ(lstrcmpiA(out, target.c_str()), 0) << out;
    ASSERT_FALSE(ResolveShortcut(stale.c_str(), out, sizeof out));
    ASSERT_FALSE(ResolveShortcut(plain.c_str(), out, sizeof out));
    ASSERT_TRUE(CanonicalizePath(tree.root.c_str(), out, sizeof out));
    ASSERT_FALSE(CanonicalizePath(missing.c_str(), out, sizeof out));
    ExpectNoGrowth("ResolveShortcut, CanonicalizePath", [&] {
        ResolveShortcut(shortcut.c_str(), out, sizeof out);
        ResolveShortcut(stale.c_str(), out, sizeof out);
        ResolveShortcut(plain.c_str(), out, sizeof out);
        ResolveShortcut(missing.c_str(), out, sizeof out);
        CanonicalizePath(plain.c_str(), out, sizeof out);
        CanonicalizePath(tree.root.c_str(), out, sizeof out);
        CanonicalizePath(missing.c_str(), out, sizeof out);
        CanonicalizePath("::not a path::", out, sizeof out);
    });
}

TEST(Leaks, SpecialFoldersAndSettingsFile) {
    char settingsPath[MAX_PATH];
    ASSERT_TRUE(SettingsFilePath(settingsPath, sizeof settingsPath));
    bool existed = PathExists(settingsPath);
    char folder[MAX_PATH];
    ASSERT_TRUE(GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, folder));
    ASSERT_FALSE(GetSpecialFolderPath(nullptr, 0x7F, folder));
    ExpectNoGrowth("GetSpecialFolderPath, Load/SaveSettings", [&] {
        GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, folder);
        // No such folder: the shell refuses it.
        GetSpecialFolderPath(nullptr, 0x7F, folder);
        Settings settings{};
        LoadSettings(&settings);
        SaveSettings(&settings);
    });
    if (!existed) DeleteFileA(settingsPath);
}

TEST(Leaks, BusyWindowAndIcons) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The class stays registered for the life of the process, with its icons.
    ASSERT_NE(RegisterBusyWindowClass(instance), 0);
    char self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, sizeof self), 0u);
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
                           GetFileIcon(self, SHGFI_SMALLICON)}) {
            EXPECT_NE(icon, nullptr);
            DestroyIcon(icon);
        }
        EXPECT_EQ(GetFileIcon("Z:\\no\\such\\file.txt", SHGFI_SMALLICON), nullptr);
    });
}
