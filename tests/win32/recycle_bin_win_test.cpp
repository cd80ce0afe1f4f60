// The Recycle Bin under Wine: what it takes, and where Wine keeps it (the
// desktop's trash of the Linux host).
#include "engine/recycle_bin_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/win32/support/test_support.h"
#include "tests/win32/support/wine_host.h"
#include "util/path_win.h"

namespace {

TEST(RecycleBin, TakesFilesOnly) {
    ScratchFolder scratch;
    // Names of their own, so that the trash holds nothing else under them.
    char stem[64];
    std::snprintf(stem, sizeof stem, "tavelin-%lu-%lu", GetCurrentProcessId(), GetTickCount());
    std::string name = std::string(stem) + "-f.txt";
    std::string file = scratch / name;
    ASSERT_TRUE(WriteBytes(file, "x"));
    MoveToRecycleBin(P(file));
    EXPECT_FALSE(PathExists(P(file)));
    std::string trash = RunningUnderWine() ? HostTrashFolder() : "";
    if (!trash.empty()) {
        EXPECT_EQ(ReadBytes(trash + "\\files\\" + name), "x");
        DeleteFileA((trash + "\\files\\" + name).c_str());
        DeleteFileA((trash + "\\info\\" + name + ".trashinfo").c_str());
    }
    // A folder, and a name that is not there, are left alone.
    std::string folder = scratch / (std::string(stem) + "-d");
    ASSERT_TRUE(MakeFolder(folder));
    MoveToRecycleBin(P(folder));
    EXPECT_TRUE(IsDirectory(P(folder)));
    std::string missing = std::string(stem) + "-m.txt";
    MoveToRecycleBin(P(scratch / missing));
    if (!trash.empty()) {
        EXPECT_FALSE(PathExists(P(trash + "\\files\\" + std::string(stem) + "-d")));
        EXPECT_FALSE(PathExists(P(trash + "\\info\\" + missing + ".trashinfo")));
    }
}

// The shell's delete takes no path of MAX_PATH characters or more: such a
// file stays where it is (the replace refuses to overwrite it instead).
TEST(RecycleBin, TakesNoPathOfMaxPathOrMore) {
    EXPECT_TRUE(FitsRecycleBin(Path(MAX_PATH - 1, u'a')));
    EXPECT_FALSE(FitsRecycleBin(Path(MAX_PATH, u'a')));
    ScratchFolder scratch;
    Path folder = MakeDeepFolder(P(scratch.path()), MAX_PATH);
    ASSERT_FALSE(folder.empty());
    Path file = folder + u"\\kept.txt";
    ASSERT_TRUE(WriteBytes(file, "x"));
    MoveToRecycleBin(file);
    EXPECT_EQ(ReadBytes(file), "x");
}

}  // namespace
