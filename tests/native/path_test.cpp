// Paths as UTF-16: the backslash the only separator, whatever character
// stands before it, and any length Windows allows.
#include "util/path.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/utf8.h"

namespace {

TEST(JoinPath, JoinsWithExactlyOneSeparator) {
    struct Row {
        const char16_t* folder;
        const char16_t* name;
        const char16_t* joined;
        bool made;
    } rows[] = {
        {u"C:\\", u"a", u"C:\\a", true},
        {u"C:\\x", u"a.txt", u"C:\\x\\a.txt", true},
        {u"C:\\x", u"", u"C:\\x\\", true},
        {u"", u"name", u"name", true},
        {u"C:\\表", u"a", u"C:\\表\\a", true},  // 表 was 0x95 0x5C in code page 932
        {u"C:\\café", u"한국어.txt", u"C:\\café\\한국어.txt", true},
        {u"C:\\x", u".", u"C:\\x", true},
        {u"C:\\a\\b", u"..", u"C:\\a", true},
        {u"C:\\a", u"..", u"C:\\", true},
        {u"C:\\a\\", u"..", u"C:\\a", true},
        {u"C:\\😀\\ガ", u"..", u"C:\\😀", true},
        {u"nofolder", u"..", u"nofolder", false},
        {u"a/b", u"c", u"a/b\\c", true},  // a forward slash is an ordinary character
    };
    for (const Row& row : rows) {
        Path joined;
        EXPECT_EQ(JoinPath(&joined, row.folder, row.name), row.made) << Utf8FromPath(row.joined);
        EXPECT_EQ(joined, row.joined);
    }
}

TEST(JoinPath, AnyLengthWindowsAllowsAndNoMore) {
    Path folder = u"C:\\" + Path(kLongestPath - 5, u'a');
    Path joined;
    EXPECT_TRUE(JoinPath(&joined, folder, u"b"));  // exactly the longest
    EXPECT_EQ(joined.size(), kLongestPath);
    EXPECT_FALSE(JoinPath(&joined, folder, u"bc"));
    EXPECT_EQ(JoinedPath(folder, u"bc"), u"");
    EXPECT_TRUE(FitsWindowsPath(Path(kLongestPath, u'x')));
    EXPECT_FALSE(FitsWindowsPath(Path(kLongestPath + 1, u'x')));
}

TEST(PathParts, NameFolderAndExtension) {
    struct Row {
        const char16_t* path;
        const char16_t* folder;
        const char16_t* name;
        const char16_t* extension;
    } rows[] = {
        {u"C:\\a\\b.txt", u"C:\\a", u"b.txt", u".txt"},
        {u"C:\\a\\", u"C:\\a", u"", u""},
        {u"C:\\", u"C:", u"", u""},
        {u"C:\\表\\ソ", u"C:\\表", u"ソ", u""},  // both end in 0x5C in code page 932
        {u"name", u"", u"name", u""},
        {u"C:\\notes.old\\readme", u"C:\\notes.old", u"readme", u""},
        {u"archive.tar.gz", u"", u"archive.tar.gz", u".gz"},
        {u"C:\\x\\file.", u"C:\\x", u"file.", u"."},
        {u"D:\\dossier_é\\😀.txt", u"D:\\dossier_é", u"😀.txt", u".txt"},
    };
    for (const Row& row : rows) {
        Path path = row.path;
        EXPECT_EQ(FolderPart(path), row.folder) << Utf8FromPath(path);
        EXPECT_EQ(FileNamePart(path), row.name) << Utf8FromPath(path);
        EXPECT_EQ(path.substr(ExtensionOffset(path)), row.extension) << Utf8FromPath(path);
    }
    Path folded = u"C:\\ÉCOLE\\Abc.TXT";
    FoldAsciiToLowerCase(&folded);
    const Path expected = u"c:\\École\\abc.txt";  // only ASCII letters change
    EXPECT_EQ(folded, expected);
}

TEST(PathFromUtf8, AgreesWithTheCompilersOwnEncoding) {
    struct Row {
        std::string utf8;
        Path utf16;
    } rows[] = {
        {u8"café\\한국어\\😀.txt", u"café\\한국어\\😀.txt"},
        {u8"カ\u3099イド", u"カ\u3099イド"},  // a kana and its combining mark, as a Mac writes it
        {"\xC3", u"\uFFFD"},                  // cut off
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // a surrogate in UTF-8 is malformed
        {"\xC0\xAF", u"\uFFFD\uFFFD"},            // overlong
    };
    for (const Row& row : rows) {
        EXPECT_EQ(PathFromUtf8(row.utf8), row.utf16);
        if (row.utf16.find(u'\uFFFD') == Path::npos) {
            EXPECT_EQ(Utf8FromPath(row.utf16), row.utf8);
        }
    }
    EXPECT_EQ(Utf8FromPath(Path(1, u'\xD800')), "\xEF\xBF\xBD");  // an unpaired surrogate
}

}  // namespace
