// Containment and splitting of the paths the work list is gathered from.
#include "app/gather.h"

#include <gtest/gtest.h>

#include <string>

#include "util/text.h"

namespace {

TEST(IsInsideFolder, WholeComponentsOnly) {
    EXPECT_TRUE(IsInsideFolder("C:\\data", "C:\\data\\texts"));
    EXPECT_TRUE(IsInsideFolder("C:\\data", "C:\\data\\texts\\a\\b.txt"));
    EXPECT_TRUE(IsInsideFolder("C:\\", "C:\\data\\texts"));
    EXPECT_TRUE(IsInsideFolder("C:\\data\\", "C:\\data\\texts\\"));
    EXPECT_FALSE(IsInsideFolder("C:\\data", "C:\\data2\\x"));
    EXPECT_FALSE(IsInsideFolder("C:\\data", "C:\\dat"));
    EXPECT_FALSE(IsInsideFolder("C:\\data\\texts", "C:\\data"));
    EXPECT_FALSE(IsInsideFolder("D:\\data", "C:\\data\\x"));
    EXPECT_FALSE(IsInsideFolder("C:\\d", "C:\\dd\\x.txt"));
    EXPECT_FALSE(IsInsideFolder("data", "x"));
}

TEST(IsInsideFolder, NothingLiesInsideItself) {
    EXPECT_FALSE(IsInsideFolder("C:\\data", "C:\\data"));
    EXPECT_FALSE(IsInsideFolder("C:\\data", "C:\\data\\"));
    EXPECT_FALSE(IsInsideFolder("C:\\", "C:\\"));
    EXPECT_TRUE(IsSamePath("C:\\data", "c:\\DATA\\"));
    EXPECT_TRUE(IsSamePath("C:\\", "C:"));
    EXPECT_FALSE(IsSamePath("C:\\data", "C:\\data\\x"));
}

TEST(IsInsideFolder, AsciiCaseIgnoredDoubleByteCharactersExact) {
    EXPECT_TRUE(IsInsideFolder("C:\\d", "c:\\D\\x.txt"));
    EXPECT_TRUE(IsInsideFolder("C:\\表", "C:\\表\\a.txt"));  // 0x5C second byte
    EXPECT_FALSE(IsInsideFolder("C:\\表", "C:\\表a.txt"));
    // ア is 0x83 0x41 and ャ 0x83 0x61: folding the second byte as if it were
    // the letter A would make them one folder.
    EXPECT_FALSE(IsInsideFolder("C:\\ア", "C:\\ャ\\x.txt"));
    EXPECT_FALSE(IsSamePath("C:\\ア", "C:\\ャ"));
    EXPECT_TRUE(IsInsideFolder("C:\\ア", "c:\\ア\\X.TXT"));
}

TEST(IsInsideFolder, LongestPaths) {
    std::string folder = "C:\\" + std::string(250, 'a');
    std::string path = folder + "\\12345";  // 259 characters
    ASSERT_EQ(path.size(), 259u);
    EXPECT_TRUE(IsInsideFolder(folder.c_str(), path.c_str()));
    EXPECT_TRUE(IsSamePath(path.c_str(), (path + "\\").c_str()));
}

TEST(SplitPath, ParentAndName) {
    struct Case {
        const char* path;
        const char* parent;
        const char* name;
    } cases[] = {
        {"C:\\data\\texts", "C:\\data", "texts"},
        {"C:\\a.txt", "C:", "a.txt"},
        {"C:\\", "C:", ""},
        {"C:\\表\\ソ", "C:\\表", "ソ"},  // 表 and ソ both end in 0x5C
        {"name", "", "name"},
    };
    for (const Case& c : cases) {
        char parent[kPathCapacity];
        char name[kPathCapacity];
        SplitPath(c.path, parent, name);
        EXPECT_EQ(std::string(parent), c.parent) << c.path;
        EXPECT_EQ(std::string(name), c.name) << c.path;
    }
}

}  // namespace
