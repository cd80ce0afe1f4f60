// Containment and splitting of the paths the work list is gathered from.
#include "app/gather.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IsInsideFolder, WholeComponentsOnly) {
    EXPECT_TRUE(IsInsideFolder(u"C:\\data", u"C:\\data\\texts"));
    EXPECT_TRUE(IsInsideFolder(u"C:\\data", u"C:\\data\\texts\\a\\b.txt"));
    EXPECT_TRUE(IsInsideFolder(u"C:\\", u"C:\\data\\texts"));
    EXPECT_TRUE(IsInsideFolder(u"C:\\data\\", u"C:\\data\\texts\\"));
    EXPECT_FALSE(IsInsideFolder(u"C:\\data", u"C:\\data2\\x"));
    EXPECT_FALSE(IsInsideFolder(u"C:\\data", u"C:\\dat"));
    EXPECT_FALSE(IsInsideFolder(u"C:\\data\\texts", u"C:\\data"));
    EXPECT_FALSE(IsInsideFolder(u"D:\\data", u"C:\\data\\x"));
    EXPECT_FALSE(IsInsideFolder(u"C:\\d", u"C:\\dd\\x.txt"));
    EXPECT_FALSE(IsInsideFolder(u"data", u"x"));
}

TEST(IsInsideFolder, NothingLiesInsideItself) {
    EXPECT_FALSE(IsInsideFolder(u"C:\\data", u"C:\\data"));
    EXPECT_FALSE(IsInsideFolder(u"C:\\data", u"C:\\data\\"));
    EXPECT_FALSE(IsInsideFolder(u"C:\\", u"C:\\"));
    EXPECT_TRUE(IsSamePath(u"C:\\data", u"c:\\DATA\\"));
    EXPECT_TRUE(IsSamePath(u"C:\\", u"C:"));
    EXPECT_FALSE(IsSamePath(u"C:\\data", u"C:\\data\\x"));
}

TEST(IsInsideFolder, AsciiCaseIgnoredDoubleByteCharactersExact) {
    EXPECT_TRUE(IsInsideFolder(u"C:\\d", u"c:\\D\\x.txt"));
    EXPECT_TRUE(IsInsideFolder(u"C:\\表", u"C:\\表\\a.txt"));  // 0x5C second byte
    EXPECT_FALSE(IsInsideFolder(u"C:\\表", u"C:\\表a.txt"));
    // ア is 0x83 0x41 and ャ 0x83 0x61: folding the second byte as if it were
    // the letter A would make them one folder.
    EXPECT_FALSE(IsInsideFolder(u"C:\\ア", u"C:\\ャ\\x.txt"));
    EXPECT_FALSE(IsSamePath(u"C:\\ア", u"C:\\ャ"));
    EXPECT_TRUE(IsInsideFolder(u"C:\\ア", u"c:\\ア\\X.TXT"));
}

TEST(IsInsideFolder, LongPathsAndNamesOutsideCodePage932) {
    Path folder = u"C:\\" + Path(1000, u'a');
    Path path = folder + u"\\" + Path(2000, u'b');
    EXPECT_TRUE(IsInsideFolder(folder, path));
    EXPECT_TRUE(IsSamePath(path, path + u"\\"));
    // Names outside code page 932 (kept out of the assertions' own texts,
    // which the compiler writes in that code page).
    const Path folderE = u"C:\\dossier_é";
    const Path hangulInside = u"c:\\DOSSIER_é\\한국어.txt";
    const Path cafe = u"C:\\café.txt";
    const Path grinning = u"C:\\😀";
    const Path beaming = u"C:\\😁\\x.txt";
    EXPECT_TRUE(IsInsideFolder(folderE, hangulInside));
    // Only ASCII letters are folded, and nothing is mapped to a look-alike.
    EXPECT_FALSE(IsSamePath(cafe, u"C:\\cafe.txt"));
    EXPECT_FALSE(IsInsideFolder(grinning, beaming));
}

TEST(SplitPath, ParentAndName) {
    struct Case {
        const char16_t* path;
        const char16_t* parent;
        const char16_t* name;
    } cases[] = {
        {u"C:\\data\\texts", u"C:\\data", u"texts"},
        {u"C:\\a.txt", u"C:", u"a.txt"},
        {u"C:\\", u"C:", u""},
        {u"C:\\表\\ソ", u"C:\\表", u"ソ"},  // 表 and ソ both ended in 0x5C in code page 932
        {u"name", u"", u"name"},
        {u"D:\\dossier_é\\😀.txt", u"D:\\dossier_é", u"😀.txt"},
    };
    for (const Case& c : cases) {
        Path parent;
        Path name;
        SplitPath(c.path, &parent, &name);
        EXPECT_EQ(parent, c.parent) << Utf8FromPath(c.path);
        EXPECT_EQ(name, c.name) << Utf8FromPath(c.path);
    }
}

}  // namespace
