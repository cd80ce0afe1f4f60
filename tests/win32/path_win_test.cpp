// The path operations that ask the system, on real files under Wine.
#include "util/path_win.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>

#include "tests/win32/support/test_support.h"

namespace {

TEST(Charset, LiteralsAndSystemAreCodePage932) {
    EXPECT_EQ(std::string("表"), std::string("\x95\x5C"));
    EXPECT_EQ(GetACP(), 932u);
}

TEST(PathExists, FilesFoldersAndJapaneseNames) {
    ScratchFolder scratch;
    EXPECT_TRUE(PathExists(P(scratch.path())));
    EXPECT_TRUE(IsDirectory(P(scratch.path())));
    Path file = P(scratch / "表.txt");
    ASSERT_TRUE(WriteBytes(file, "x"));
    EXPECT_TRUE(PathExists(file));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_TRUE(IsFile(file));
    Path folder = P(scratch / "表");
    ASSERT_TRUE(MakeFolder(folder));
    EXPECT_TRUE(IsDirectory(folder));
    EXPECT_FALSE(IsFile(folder));
    EXPECT_TRUE(PathExists(folder + u"\\"));
    Path missing = P(scratch / "nothing");
    EXPECT_FALSE(PathExists(missing));
    EXPECT_FALSE(IsDirectory(missing));
    EXPECT_FALSE(IsFile(missing));

    WIN32_FIND_DATAW found;
    EXPECT_TRUE(FindExists(file, &found));
    EXPECT_EQ(PathFromWide(found.cFileName), P("表.txt"));
    EXPECT_TRUE(FindExists(folder, &found));
    EXPECT_NE(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(FindExists(missing, &found));
}

TEST(ModulePathWithExtension, LowerCaseBesideTheProgram) {
    wchar_t own[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, own, MAX_PATH), 0u);
    EXPECT_EQ(ModulePath(), PathFromWide(own));
    Path b;
    ASSERT_TRUE(ModulePathWithExtension(&b, u".ini"));
    Path expected = PathFromWide(own);
    expected = expected.substr(0, expected.rfind(u'.')) + u".ini";
    for (PathChar& c : expected) {
        if (c >= u'A' && c <= u'Z') c = static_cast<PathChar>(c - u'A' + u'a');
    }
    EXPECT_EQ(b, expected);
}

TEST(GetSpecialFolderPath, DesktopIsAFolder) {
    Path b;
    ASSERT_TRUE(GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, &b));
    EXPECT_GT(b.size(), 3u);
    EXPECT_TRUE(IsDirectory(b)) << Cp932(b);
}

}  // namespace
