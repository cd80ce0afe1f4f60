// What an open file tells about itself, and what is done to it through its
// handle: the answers the replace and the gathering rely on to spare a
// second opening by name, checked against the slower questions they stand
// in for.
#include "util/file_info_win.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/win32/support/test_support.h"
#include "tests/win32/support/wine_host.h"
#include "util/holders_win.h"
#include "util/path_win.h"

namespace {

HANDLE Open(const Path& path, DWORD access) {
    return CreateFileW(FileApiPath(path), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool SameName(const Path& a, const Path& b) { return lstrcmpiW(WidePath(a), WidePath(b)) == 0; }

ULONGLONG IndexOf(const std::string& path) {
    HandleHolder file(Open(P(path), FILE_READ_ATTRIBUTES));
    ULONGLONG index = 0;
    EXPECT_TRUE(file.valid() && QueryFileIndex(file.get(), &index)) << path;
    return index;
}

TEST(FileInfo, TheNumberOfAFileIsTheSameForEachOfItsNamesAndItsFullIdentity) {
    ScratchFolder scratch;
    std::string one = scratch / "one.txt";
    std::string other = scratch / "other.txt";
    std::string second = scratch / "second name.txt";
    ASSERT_TRUE(WriteBytes(one, "one"));
    ASSERT_TRUE(WriteBytes(other, "other"));
    ASSERT_TRUE(CreateHardLinkA(second.c_str(), one.c_str(), nullptr));
    EXPECT_EQ(IndexOf(one), IndexOf(second));
    EXPECT_NE(IndexOf(one), IndexOf(other));

    HandleHolder file(Open(P(one), FILE_READ_ATTRIBUTES));
    FileIdInformation id;
    ASSERT_TRUE(QueryFileIdInformation(file.get(), &id));
    EXPECT_EQ(id.fileId[0], IndexOf(one));

    // The full identity: the same for both names, whether asked of a path or
    // of an open file, and another for another file or a folder.
    FileIdentity ofOne, ofSecond, ofOther, ofOpen, ofFolder;
    ASSERT_TRUE(IdentifyFile(P(one), &ofOne));
    ASSERT_TRUE(IdentifyFile(P(second), &ofSecond));
    ASSERT_TRUE(IdentifyFile(P(other), &ofOther));
    ASSERT_TRUE(IdentifyOpenFile(file.get(), &ofOpen));
    ASSERT_TRUE(IdentifyFile(P(scratch.path()), &ofFolder));
    EXPECT_TRUE(SameFile(ofOne, ofSecond));
    EXPECT_TRUE(SameFile(ofOne, ofOpen));
    EXPECT_FALSE(SameFile(ofOne, ofOther));
    EXPECT_FALSE(SameFile(ofOne, ofFolder));
    EXPECT_TRUE(ofOne < ofOther || ofOther < ofOne);
    EXPECT_FALSE(IdentifyFile(P(scratch / "missing"), &ofOther));
    // An identity no file system gave stands for no file, not even itself.
    FileIdentity unknown;
    EXPECT_FALSE(SameFile(unknown, unknown));
}

TEST(FileInfo, TimesAndAttributesGoThroughTheOpenFileAndComeBack) {
    ScratchFolder scratch;
    std::string path = scratch / "stamped.txt";
    ASSERT_TRUE(WriteBytes(path, "text"));
    {
        HandleHolder file(Open(P(path), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES));
        FileBasicInformation stamp{};
        stamp.lastWriteTime.QuadPart = 125000000000000000LL;  // 1997
        stamp.fileAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
        ASSERT_TRUE(SetFileBasicInformation(file.get(), &stamp));
        FileBasicInformation read{};
        ASSERT_TRUE(QueryFileBasicInformation(file.get(), &read));
        EXPECT_EQ(read.lastWriteTime.QuadPart, stamp.lastWriteTime.QuadPart);
        // (Wine keeps no creation time of its own on a Linux file system.)
        EXPECT_NE(read.fileAttributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    }
    // The same as the folder lists them.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_NE(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(found.ftLastWriteTime.dwLowDateTime,
              static_cast<DWORD>(125000000000000000LL & 0xFFFFFFFF));
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileInfo, AnOpenFileIsRenamedOverAnotherOnlyWhenAsked) {
    ScratchFolder scratch;
    std::string staged = scratch / "staged.tmp";
    std::string destination = scratch / "destination.txt";
    ASSERT_TRUE(WriteBytes(staged, "new"));
    ASSERT_TRUE(WriteBytes(destination, "old"));
    ASSERT_TRUE(CanRenameOpenFiles());
    {
        HandleHolder file(Open(P(staged), DELETE));
        ASSERT_TRUE(file.valid());
        EXPECT_FALSE(RenameOpenFile(file.get(), P(destination), false));
        EXPECT_EQ(ReadBytes(destination), "old");
        EXPECT_TRUE(RenameOpenFile(file.get(), P(destination), true));
    }
    EXPECT_EQ(ReadBytes(destination), "new");
    EXPECT_EQ(ReadBytes(staged), "<missing>");

    // A path longer than 259 characters is taken whole.
    Path deep = MakeDeepFolder(P(scratch.path()), 300) + u"\\moved.txt";
    {
        HandleHolder file(Open(P(destination), DELETE));
        EXPECT_TRUE(RenameOpenFile(file.get(), deep, false));
    }
    EXPECT_EQ(ReadBytes(deep), "new");
    EXPECT_EQ(ReadBytes(destination), "<missing>");

    // A name longer than a file system holds, or a path longer than Windows
    // can name, is refused, not cut (the system tells which error for the
    // first); so is no name. Cut to what a 16-bit length holds, the longest
    // would name a file of ten characters beside the others.
    {
        HandleHolder file(Open(deep, DELETE));
        std::string tooLong = scratch / std::string(300, 'x');
        EXPECT_FALSE(RenameOpenFile(file.get(), P(tooLong), true));
        EXPECT_NE(GetLastError(), 0u);
        Path longest = P(scratch / std::string(32768 + 10, 'y'));
        ASSERT_GT(longest.size(), kLongestPath);
        EXPECT_FALSE(RenameOpenFile(file.get(), longest, true));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
        EXPECT_FALSE(RenameOpenFile(file.get(), Path(), true));
    }
    EXPECT_EQ(ReadBytes(deep), "new");
    EXPECT_EQ(ReadBytes(scratch / std::string(10, 'y')), "<missing>");
}

// The replace takes a destination for a possible link when Wine's name for
// the open file is not the path it was opened by.
TEST(FileInfo, UnderWineTheNameOfAnOpenFileIsItsPathWithLinksResolved) {
    if (!RunningUnderWine()) GTEST_SKIP() << "Windows names files by their device";
    ScratchFolder scratch;
    std::string target = scratch / "target.txt";
    std::string link = scratch / "link.txt";
    ASSERT_TRUE(WriteBytes(target, "text"));
    ASSERT_TRUE(MakeHostSymbolicLink(target, link));
    Path name;
    {
        HandleHolder file(Open(P(target), FILE_READ_ATTRIBUTES));
        ASSERT_TRUE(QueryObjectName(file.get(), &name));
        EXPECT_TRUE(SameName(name, P("\\??\\" + target))) << Cp932(name);
    }
    {
        HandleHolder file(Open(P(link), FILE_READ_ATTRIBUTES));
        ASSERT_TRUE(QueryObjectName(file.get(), &name));
        EXPECT_TRUE(SameName(name, P("\\??\\" + target))) << Cp932(name);
    }
    // A name longer than the room first offered for it comes whole.
    Path deep = MakeDeepFolder(P(scratch.path()), 2 * MAX_PATH + 50) + u"\\deep.txt";
    ASSERT_TRUE(WriteBytes(deep, "text"));
    {
        HandleHolder file(Open(deep, FILE_READ_ATTRIBUTES));
        ASSERT_TRUE(QueryObjectName(file.get(), &name));
        EXPECT_TRUE(SameName(name, u"\\??\\" + deep)) << Cp932(name);
    }
    EXPECT_TRUE(RemoveHostSymbolicLink(link));
}

}  // namespace
