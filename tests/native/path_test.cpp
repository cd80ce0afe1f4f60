// Backslash-only path operations on code page 932 paths.
#include "util/path.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "util/text.h"

namespace {

std::string Join(const char* folder, const char* name, int capacity = kPathCapacity,
                 bool* fitted = nullptr) {
    char b[kPathCapacity + 8];
    std::memset(b, 'x', sizeof b);
    bool ok = JoinPath(b, capacity, folder, name);
    if (fitted != nullptr) *fitted = ok;
    for (std::size_t i = static_cast<std::size_t>(capacity); i < sizeof b; i++) {
        EXPECT_EQ(b[i], 'x') << "written beyond the capacity at " << i;
    }
    return b;
}

TEST(IsSeparatorAt, TrailByteIsNeverASeparator) {
    const char p[] = "C:\\表\\a";
    EXPECT_TRUE(IsSeparatorAt(p, 2));
    EXPECT_FALSE(IsSeparatorAt(p, 4));  // 0x5C of 表
    EXPECT_TRUE(IsSeparatorAt(p, 5));
    EXPECT_FALSE(IsSeparatorAt("a/b", 1));
}

TEST(FitsPathBuffer, UpTo259BytesFit) {
    EXPECT_TRUE(FitsPathBuffer(""));
    std::string longest = "C:\\" + std::string(256, 'a');
    EXPECT_TRUE(FitsPathBuffer(longest.c_str()));
    EXPECT_FALSE(FitsPathBuffer((longest + "b").c_str()));
    // Bytes are counted, not characters: a double-byte character counts two.
    EXPECT_FALSE(FitsPathBuffer((longest.substr(1) + "表").c_str()));
}

TEST(JoinPath, JoinsWithExactlyOneSeparator) {
    EXPECT_EQ(Join("C:\\", "a"), "C:\\a");
    EXPECT_EQ(Join("C:\\x", "a.txt"), "C:\\x\\a.txt");
    EXPECT_EQ(Join("C:\\x", ""), "C:\\x\\");
    EXPECT_EQ(Join("", "name"), "name");
    EXPECT_EQ(Join("C:\\表", "a"), "C:\\表\\a");  // 0x5C at the end is a trail byte
    EXPECT_EQ(Join("C:\\x", "."), "C:\\x");
}

TEST(JoinPath, DotDotGoesUpAndKeepsRoots) {
    EXPECT_EQ(Join("C:\\a\\b", ".."), "C:\\a");
    EXPECT_EQ(Join("C:\\a", ".."), "C:\\");
    EXPECT_EQ(Join("C:\\a\\", ".."), "C:\\a");
    EXPECT_EQ(Join("C:\\表\\表", ".."), "C:\\表");
    bool fitted = true;
    Join("nofolder", "..", kPathCapacity, &fitted);
    EXPECT_FALSE(fitted);
}

TEST(JoinPath, NeverWritesBeyondAndReportsACut) {
    bool fitted = false;
    // An inserted separator leaves capacity - 2 characters.
    EXPECT_EQ(Join("abc", "de", 8, &fitted), "abc\\de");
    EXPECT_TRUE(fitted);
    EXPECT_EQ(Join("abc", "def", 8, &fitted), "abc\\de");
    EXPECT_FALSE(fitted);
    // A folder ending in a separator allows capacity - 1.
    EXPECT_EQ(Join("ab\\", "defg", 8, &fitted), "ab\\defg");
    EXPECT_TRUE(fitted);
    // No room for a separator and a name.
    Join("abcdefg", "h", 8, &fitted);
    EXPECT_FALSE(fitted);
    Join("abcdef", "h", 8, &fitted);
    EXPECT_FALSE(fitted);
    // A folder that fills the whole capacity.
    Join("abcdefghijkl", "h", 8, &fitted);
    EXPECT_FALSE(fitted);
    Join("abcdefghijkl", "", 8, &fitted);
    EXPECT_FALSE(fitted);
    Join("", "abcdefghijkl", 8, &fitted);
    EXPECT_FALSE(fitted);
    // A name cut inside a double-byte character loses the whole character.
    EXPECT_EQ(Join("ab", "c表", 7, &fitted), "ab\\c");
    EXPECT_FALSE(fitted);
    // The program's buffers: 259 characters in 261.
    std::string folder(200, 'f');
    std::string name(58, 'n');
    EXPECT_EQ(Join(folder.c_str(), name.c_str(), kPathCapacity, &fitted).size(), 259u);
    EXPECT_TRUE(fitted);
    name += "n";
    Join(folder.c_str(), name.c_str(), kPathCapacity, &fitted);
    EXPECT_FALSE(fitted);
}

TEST(CutLastComponent, CutsAtTheLastRealSeparator) {
    char a[] = "C:\\a\\b.txt";
    EXPECT_STREQ(CutLastComponent(a), "b.txt");
    EXPECT_STREQ(a, "C:\\a");
    char b[] = "C:\\a\\";
    EXPECT_STREQ(CutLastComponent(b), "");
    EXPECT_STREQ(b, "C:\\a");
    char c[] = "C:\\";
    CutLastComponent(c);
    EXPECT_STREQ(c, "C:");
    char d[] = "C:\\表\\a.txt";
    EXPECT_STREQ(CutLastComponent(d), "a.txt");
    EXPECT_STREQ(d, "C:\\表");
    char e[] = "name";
    EXPECT_EQ(CutLastComponent(e), e);
    EXPECT_STREQ(e, "name");
    char empty[] = "";
    EXPECT_EQ(CutLastComponent(empty), empty);
}

TEST(FileNamePart, ExtensionAndRemoval) {
    EXPECT_STREQ(FileNamePart("C:\\表"), "表");
    EXPECT_STREQ(FileNamePart("C:\\表\\a.txt"), "a.txt");
    EXPECT_STREQ(FileNamePart("plain"), "plain");
    const char folderDot[] = "C:\\notes.old\\readme";
    EXPECT_EQ(FindExtension(folderDot), folderDot + std::strlen(folderDot));
    EXPECT_STREQ(FindExtension("archive.tar.gz"), ".gz");
    char f[] = "file.";
    EXPECT_STREQ(RemoveExtension(f), "");
    EXPECT_STREQ(f, "file");
    char g[] = "C:\\x\\a.TXT";
    EXPECT_STREQ(RemoveExtension(g), "TXT");
    EXPECT_STREQ(g, "C:\\x\\a");
    char h[] = "C:\\x.y\\noext";
    EXPECT_STREQ(RemoveExtension(h), "");
    EXPECT_STREQ(h, "C:\\x.y\\noext");
}

}  // namespace
