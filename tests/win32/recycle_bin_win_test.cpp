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
    // A name of its own, so that the trash holds nothing else under it.
    char name[64];
    std::snprintf(name, sizeof name, "tavelin-%lu-%lu-f.txt", GetCurrentProcessId(),
                  GetTickCount());
    std::string file = scratch / name;
    ASSERT_TRUE(WriteBytes(file, "x"));
    EXPECT_TRUE(MoveToRecycleBin(file.c_str()));
    EXPECT_FALSE(PathExists(file.c_str()));
    if (RunningUnderWine()) {
        std::string trash = HostTrashFolder();
        EXPECT_EQ(ReadBytes(trash + "\\files\\" + name), "x");
        DeleteFileA((trash + "\\files\\" + name).c_str());
        DeleteFileA((trash + "\\info\\" + name + ".trashinfo").c_str());
    }
    std::string folder = scratch / "folder";
    ASSERT_TRUE(MakeFolder(folder));
    EXPECT_TRUE(MoveToRecycleBin(folder.c_str()));
    EXPECT_TRUE(IsDirectory(folder.c_str()));
    EXPECT_TRUE(MoveToRecycleBin((scratch / "missing").c_str()));
}

}  // namespace
