// The path operations that ask the system, on real files under Wine.
#include "util/path_win.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "tests/win32/support/test_support.h"
#include "util/text.h"

namespace {

TEST(Charset, LiteralsAndSystemAreCodePage932) {
    EXPECT_EQ(std::string("表"), std::string("\x95\x5C"));
    EXPECT_EQ(GetACP(), 932u);
}

TEST(PathExists, FilesFoldersAndJapaneseNames) {
    ScratchFolder scratch;
    EXPECT_TRUE(PathExists(scratch.path().c_str()));
    EXPECT_TRUE(IsDirectory(scratch.path().c_str()));
    std::string file = scratch / "表.txt";
    ASSERT_TRUE(WriteBytes(file, "x"));
    EXPECT_TRUE(PathExists(file.c_str()));
    EXPECT_FALSE(IsDirectory(file.c_str()));
    EXPECT_TRUE(IsFile(file.c_str()));
    std::string folder = scratch / "表";
    ASSERT_TRUE(MakeFolder(folder));
    EXPECT_TRUE(IsDirectory(folder.c_str()));
    EXPECT_FALSE(IsFile(folder.c_str()));
    EXPECT_TRUE(PathExists((folder + "\\").c_str()));
    std::string missing = scratch / "nothing";
    EXPECT_FALSE(PathExists(missing.c_str()));
    EXPECT_FALSE(IsDirectory(missing.c_str()));
    EXPECT_FALSE(IsFile(missing.c_str()));

    WIN32_FIND_DATAA found;
    EXPECT_TRUE(FindExists(file.c_str(), &found));
    EXPECT_EQ(std::string(found.cFileName), "表.txt");
    EXPECT_TRUE(FindExists(folder.c_str(), &found));
    EXPECT_NE(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(FindExists(missing.c_str(), &found));
}

TEST(ModulePathWithExtension, LowerCaseBesideTheProgram) {
    char own[kPathCapacity];
    ASSERT_GT(GetModuleFileNameA(nullptr, own, sizeof own), 0u);
    char b[kPathCapacity];
    ASSERT_TRUE(ModulePathWithExtension(b, sizeof b, ".ini"));
    std::string expected = own;
    expected = expected.substr(0, expected.rfind('.')) + ".ini";
    for (char& c : expected) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    EXPECT_EQ(std::string(b), expected);
    // No room for the extension: refused, not cut.
    char small[kPathCapacity];
    int needed = static_cast<int>(std::strlen(b));
    EXPECT_FALSE(ModulePathWithExtension(small, needed, ".ini"));
    EXPECT_TRUE(ModulePathWithExtension(small, needed + 1, ".ini"));
}

TEST(GetSpecialFolderPath, DesktopIsAFolder) {
    char b[kPathCapacity] = "";
    ASSERT_TRUE(GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, b));
    EXPECT_GT(std::strlen(b), 3u);
    EXPECT_TRUE(IsDirectory(b)) << b;
}

}  // namespace
