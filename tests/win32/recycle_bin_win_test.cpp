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
    MoveToRecycleBin(file.c_str());
    EXPECT_FALSE(PathExists(file.c_str()));
    std::string trash = RunningUnderWine() ? HostTrashFolder() : "";
    if (!trash.empty()) {
        EXPECT_EQ(ReadBytes(trash + "\\files\\" + name), "x");
        DeleteFileA((trash + "\\files\\" + name).c_str());
        DeleteFileA((trash + "\\info\\" + name + ".trashinfo").c_str());
    }
    // A folder, and a name that is not there, are left alone.
    std::string folder = scratch / (std::string(stem) + "-d");
    ASSERT_TRUE(MakeFolder(folder));
    MoveToRecycleBin(folder.c_str());
    EXPECT_TRUE(IsDirectory(folder.c_str()));
    std::string missing = std::string(stem) + "-m.txt";
    MoveToRecycleBin((scratch / missing).c_str());
    if (!trash.empty()) {
        EXPECT_FALSE(PathExists((trash + "\\files\\" + std::string(stem) + "-d").c_str()));
        EXPECT_FALSE(PathExists((trash + "\\info\\" + missing + ".trashinfo").c_str()));
    }
}

}  // namespace
