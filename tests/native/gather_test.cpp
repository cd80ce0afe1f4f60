// Containment and splitting of the paths the work list is gathered from.
#include "app/gather.h"
#include "engine/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Containment by whole components, ASCII letters folded and nothing else:
// no path lies inside itself, and a trailing separator does not count.
TEST(IsInsideFolder, WholeComponentsAsciiCaseOnly) {
    const Path deepFolder = u"C:\\" + Path(1000, u'a');
    const Path deepPath = deepFolder + u"\\" + Path(2000, u'b');
    struct Row {
        Path folder;
        Path path;
        bool inside;
        bool same;
    } rows[] = {
        {u"C:\\data", u"C:\\data\\texts", true, false},
        {u"C:\\data", u"C:\\data\\texts\\a\\b.txt", true, false},
        {u"C:\\", u"C:\\data\\texts", true, false},
        {u"C:\\data\\", u"C:\\data\\texts\\", true, false},
        {u"C:\\data", u"C:\\data2\\x", false, false},
        {u"C:\\data", u"C:\\dat", false, false},
        {u"C:\\data\\texts", u"C:\\data", false, false},
        {u"D:\\data", u"C:\\data\\x", false, false},
        {u"C:\\d", u"C:\\dd\\x.txt", false, false},
        {u"data", u"x", false, false},
        {u"C:\\data", u"C:\\data", false, true},
        {u"C:\\data", u"C:\\data\\", false, true},
        {u"C:\\", u"C:\\", false, true},
        {u"C:\\data", u"c:\\DATA\\", false, true},
        {u"C:\\", u"C:", false, true},
        {u"C:\\d", u"c:\\D\\x.txt", true, false},
        {u"C:\\表", u"C:\\表\\a.txt", true, false},  // 表 ended in 0x5C in code page 932
        {u"C:\\表", u"C:\\表a.txt", false, false},
        // ア and ャ were 0x83 0x41 and 0x83 0x61 in code page 932: folding the
        // second byte as if it were a letter made them one folder.
        {u"C:\\ア", u"C:\\ャ\\x.txt", false, false},
        {u"C:\\ア", u"C:\\ャ", false, false},
        {u"C:\\ア", u"c:\\ア\\X.TXT", true, false},
        {deepFolder, deepPath, true, false},
        {deepPath, deepPath + u"\\", false, true},
        {u"C:\\dossier_é", u"c:\\DOSSIER_é\\한국어.txt", true, false},
        // Nothing is mapped to a look-alike.
        {u"C:\\café.txt", u"C:\\cafe.txt", false, false},
        {u"C:\\😀", u"C:\\😁\\x.txt", false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(IsInsideFolder(row.folder, row.path), row.inside) << Utf8FromPath(row.path);
        EXPECT_EQ(IsSamePath(row.folder, row.path), row.same) << Utf8FromPath(row.path);
    }
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
