// The settings file under Wine: its name beside the program, the bytes saving
// leaves in it, the defaults and the rules for stored values, and the same
// file read on a Japanese and a non-Japanese system locale. The second ctest
// entry of this program runs the AnyLocale tests under a non-Japanese locale,
// with kOtherLocaleSwitch.
#include "app/settings_win.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cwchar>
#include <string>

#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "util/path_win.h"
#include "engine/utf8.h"

namespace {

// A copy of this test program started with this switch loads the settings
// beside itself, takes the output folder after "=" when one is given, saves
// them and ends: that is how the tests see the settings file of a program in
// a folder of their choosing.
const wchar_t kChildSwitch[] = L"--settings-child";
const wchar_t kOtherLocaleSwitch[] = L"--non-japanese-locale";

struct ChildMode {
    ChildMode() {
        const wchar_t* child = std::wcsstr(GetCommandLineW(), kChildSwitch);
        if (child == nullptr) return;
        Settings s;
        LoadSettings(&s);
        const wchar_t* folder = child + std::wcslen(kChildSwitch);
        if (*folder == L'=') s.outputFolder = PathFromWide(folder + 1);
        ExitProcess(SaveSettings(&s) ? 0 : 3);
    }
} childMode;

// Starts a copy of this program in child mode and waits for its exit code.
DWORD RunChild(const Path& program, const Path& folder = Path()) {
    Path line = u"\"" + program + u"\" " + PathFromWide(kChildSwitch);
    if (!folder.empty()) line += u"=" + folder;
    return RunAndWait(program, line);
}

Path Desktop() {
    Path desktop;
    EXPECT_TRUE(GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, &desktop));
    return desktop;
}

const std::u16string kSectionLine = u"[TAVELIN]\r\n";
const std::u16string kKeep = u"上書きされるファイルをゴミ箱に残す=";
const std::u16string kShow = u"起動時に設定ダイアログを表示する=";
const std::u16string kMethod = u"出力先決定方法=";
const std::u16string kFolder = u"出力先パス=";
const std::u16string kWidth = u"ダイアログの幅=";
const std::u16string kHeight = u"ダイアログの高さ=";
const std::u16string kFailedWidth = u"失敗一覧の幅=";
const std::u16string kFailedHeight = u"失敗一覧の高さ=";
const std::u16string kByteOrderMark = u"UTF-8 に BOM を付ける=";

std::u16string Line(const std::u16string& keyAndSign, const std::u16string& value) {
    return keyAndSign + value + u"\r\n";
}

// The whole file as the program writes it; the failure list's size and the
// UTF-8 byte-order mark last.
std::u16string Expected(const std::u16string& keep, const std::u16string& show,
                        const std::u16string& method, const std::u16string& folder,
                        const std::u16string& width, const std::u16string& height,
                        const std::u16string& failedWidth = u"640",
                        const std::u16string& failedHeight = u"400",
                        const std::u16string& byteOrderMark = u"0") {
    return kSectionLine + Line(kKeep, keep) + Line(kShow, show) + Line(kMethod, method) +
           Line(kFolder, folder) + Line(kWidth, width) + Line(kHeight, height) +
           Line(kFailedWidth, failedWidth) + Line(kFailedHeight, failedHeight) +
           Line(kByteOrderMark, byteOrderMark);
}

// Every test starts without a settings file beside the program and leaves
// none, and sees no settings file of the user's.
class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SettingsFilePath(&path_));
        DeleteFileW(WidePath(path_));
    }
    void TearDown() override { DeleteFileW(WidePath(path_)); }
    // %APPDATA% of this process (and of the copies it starts): a scratch
    // folder, so that no user's settings file takes part.
    ScratchFolder applicationData_;
    ScopedVariable applicationDataVariable_{"APPDATA", applicationData_.path().c_str()};
    // Writes the file as a user's editor would.
    void Store(const std::u16string& text) { ASSERT_TRUE(WriteBytes(path_, Cp932(text))); }
    Settings Load() {
        // Every persistent field holds what no load gives.
        Settings s{};
        s.outputMethod = static_cast<OutputMethod>(0x5A5A);
        s.outputFolder = u"<not loaded>";
        s.listDialogWidth = s.listDialogHeight = s.failedDialogWidth = s.failedDialogHeight =
            0x5A5A;
        s.listSortColumn = 3;
        s.utf8ByteOrderMark = true;
        s.conversionMask = ConversionMask::IntoEucJp;
        s.dialogBeforeRun = true;
        s.outputFolderWarning = true;
        LoadSettings(&s);
        // The per-run fields belong to the run; the load leaves them alone.
        EXPECT_EQ(s.conversionMask, ConversionMask::IntoEucJp);
        EXPECT_TRUE(s.dialogBeforeRun);
        EXPECT_TRUE(s.outputFolderWarning);
        EXPECT_EQ(s.listSortColumn, 0);
        EXPECT_TRUE(s.listSortAscending);
        return s;
    }
    std::string Saved(const Settings& s) {
        EXPECT_TRUE(SaveSettings(&s));
        return ReadBytes(path_);
    }
    Path path_;
};

TEST_F(SettingsFile, CleanStartUsesDefaultsAndTheFirstSaveWritesNineKeysInOrder) {
    Path desktop = Desktop();
    ASSERT_TRUE(IsDirectory(desktop)) << Cp932(desktop);
    Settings s = Load();
    EXPECT_EQ(s.outputMethod, OutputMethod::IntoOutputFolder);
    EXPECT_EQ(s.outputFolder, desktop);
    EXPECT_TRUE(s.showSettingsAtStartup);
    EXPECT_FALSE(s.keepOverwrittenInRecycleBin);
    EXPECT_EQ(s.listDialogWidth, 640);
    EXPECT_EQ(s.listDialogHeight, 400);
    EXPECT_EQ(s.failedDialogWidth, 640);
    EXPECT_EQ(s.failedDialogHeight, 400);
    EXPECT_FALSE(s.utf8ByteOrderMark);
    EXPECT_EQ(ReadBytes(path_), "<missing>");  // loading creates nothing

    EXPECT_EQ(Saved(s), Cp932(Expected(u"0", u"1", u"0", desktop, u"640", u"400")));

    s.keepOverwrittenInRecycleBin = true;
    s.showSettingsAtStartup = false;
    s.outputMethod = OutputMethod::RewriteInPlace;
    s.outputFolder = u"D:\\出力\\表";
    s.listDialogWidth = 1024;
    s.listDialogHeight = -3;
    s.failedDialogWidth = 800;
    s.failedDialogHeight = 2147483647;
    s.utf8ByteOrderMark = true;
    // Per run: never written, /bom's mark included.
    s.conversionMask = ConversionMask::IntoShiftJis | ConversionMask::WithByteOrderMark;
    EXPECT_EQ(Saved(s), Cp932(Expected(u"1", u"0", u"1", u"D:\\出力\\表", u"1024", u"-3", u"800",
                                       u"2147483647", u"1")));

    Settings again = Load();
    EXPECT_TRUE(again.keepOverwrittenInRecycleBin);
    EXPECT_FALSE(again.showSettingsAtStartup);
    EXPECT_EQ(again.outputMethod, OutputMethod::RewriteInPlace);
    EXPECT_EQ(again.outputFolder, u"D:\\出力\\表");
    EXPECT_EQ(again.listDialogWidth, 1024);
    EXPECT_EQ(again.listDialogHeight, -3);
    EXPECT_EQ(again.failedDialogWidth, 800);
    EXPECT_EQ(again.failedDialogHeight, 2147483647);
    EXPECT_TRUE(again.utf8ByteOrderMark);
}

// Which file is read and which written, where the program's folder can be
// written (a folder that cannot is the whole-program test's): the file beside
// the program whenever it is there, even read-only; without it the user's
// file under %APPDATA% is read, and the save still goes beside the program,
// whose folder takes it, carrying the user's settings over and leaving the
// user's file alone.
TEST_F(SettingsFile, TheFileBesideTheProgramWinsOverTheUsersFile) {
    Path user;
    ASSERT_TRUE(UserSettingsFilePath(&user));
    EXPECT_EQ(user, P(applicationData_.path() + "\\TAVELIN\\") + FileNamePart(path_));
    const std::string inPlace = Cp932(Expected(u"0", u"0", u"1", u"C:\\user", u"640", u"400"));
    const std::string intoFolder = Cp932(Expected(u"0", u"0", u"0", u"C:\\beside", u"640", u"400"));
    const std::string defaults = Cp932(Expected(u"0", u"1", u"0", Desktop(), u"640", u"400"));
    const std::string none = "<missing>";
    const struct {
        const char* what;
        std::string beside;  // "<missing>": no file
        bool besideReadOnly;
        std::string user;
        OutputMethod loaded;
        bool saved;
        std::string besideAfter;
        std::string userAfter;
    } cases[] = {
        {"both", intoFolder, false, inPlace, OutputMethod::IntoOutputFolder, true, intoFolder,
         inPlace},
        {"the user's only", none, false, inPlace, OutputMethod::RewriteInPlace, true, inPlace,
         inPlace},
        {"neither", none, false, none, OutputMethod::IntoOutputFolder, true, defaults, none},
        {"a read-only file beside", inPlace, true, none, OutputMethod::RewriteInPlace, false,
         inPlace, none},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.beside != none) {
            ASSERT_TRUE(WriteBytes(path_, c.beside));
        }
        if (c.besideReadOnly) {
            ASSERT_TRUE(SetFileAttributesW(WidePath(path_), FILE_ATTRIBUTE_READONLY));
        }
        if (c.user != none) {
            ASSERT_TRUE(MakeFolder(FolderPart(user)));
            ASSERT_TRUE(WriteBytes(user, c.user));
        }
        Settings s = Load();
        EXPECT_EQ(s.outputMethod, c.loaded);
        EXPECT_EQ(SaveSettings(&s), c.saved);
        EXPECT_EQ(ReadBytes(path_), c.besideAfter);
        EXPECT_EQ(ReadBytes(user), c.userAfter);
        SetFileAttributesW(WidePath(path_), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(WidePath(path_));
        RemoveTree(FolderPart(user));
    }
}

TEST_F(SettingsFile, StoredValuesAreReadByTheirRules) {
    Store(Expected(u"abc", u"2", u"1abc", u"", u"-5", u"300", u"720x", u"-1", u"2"));
    Settings s = Load();
    EXPECT_FALSE(s.keepOverwrittenInRecycleBin);              // letters only: the default
    EXPECT_TRUE(s.showSettingsAtStartup);                     // 2 is true
    EXPECT_EQ(s.outputMethod, OutputMethod::RewriteInPlace);  // digits then letters
    EXPECT_EQ(s.outputFolder, u"");                           // present but empty: no fallback
    EXPECT_EQ(s.listDialogWidth, -5);                         // taken as read
    EXPECT_EQ(s.listDialogHeight, 300);
    EXPECT_EQ(s.failedDialogWidth, 720);  // digits then letters
    EXPECT_EQ(s.failedDialogHeight, -1);
    EXPECT_TRUE(s.utf8ByteOrderMark);  // 2 is true
    // Written back in the program's own form.
    EXPECT_EQ(Saved(s), Cp932(Expected(u"0", u"1", u"1", u"", u"-5", u"300", u"720", u"-1", u"1")));

    Store(Expected(u"  7", u"0", u"7", u"C:\\x", u"", u"zz", u"", u"wide", u"on"));
    s = Load();
    EXPECT_TRUE(s.keepOverwrittenInRecycleBin);
    EXPECT_FALSE(s.showSettingsAtStartup);
    EXPECT_EQ(s.outputMethod, OutputMethod::IntoOutputFolder);  // neither 0 nor 1
    EXPECT_EQ(s.listDialogWidth, 640);
    EXPECT_EQ(s.listDialogHeight, 400);
    EXPECT_EQ(s.failedDialogWidth, 640);
    EXPECT_EQ(s.failedDialogHeight, 400);
    EXPECT_FALSE(s.utf8ByteOrderMark);  // letters only: the default

    // A file from before the failure list: its size takes the defaults,
    // whatever the review's size.
    Store(kSectionLine + Line(kWidth, u"900") + Line(kHeight, u"700"));
    s = Load();
    EXPECT_EQ(s.listDialogWidth, 900);
    EXPECT_EQ(s.failedDialogWidth, 640);
    EXPECT_EQ(s.failedDialogHeight, 400);

    Store(Expected(u"0", u"abc", u"-1", u"C:\\x", u"2147483647", u"-2147483648"));
    s = Load();
    EXPECT_TRUE(s.showSettingsAtStartup);
    EXPECT_EQ(s.outputMethod, OutputMethod::IntoOutputFolder);
    EXPECT_EQ(s.listDialogWidth, 2147483647);
    EXPECT_EQ(s.listDialogHeight, INT32_MIN);
}

TEST_F(SettingsFile, NumbersBeyondThirtyTwoBitsGiveTheDefault) {
    // 4294967297 would wrap to 1 in a 32-bit scanner.
    Store(Expected(u"4294967297", u"4294967296", u"4294967297", u"C:\\x",
                   u"99999999999999999999999", u"-2147483649", u"4294967936", u"-99999999999"));
    Settings s = Load();
    EXPECT_FALSE(s.keepOverwrittenInRecycleBin);
    EXPECT_TRUE(s.showSettingsAtStartup);
    EXPECT_EQ(s.outputMethod, OutputMethod::IntoOutputFolder);
    EXPECT_EQ(s.listDialogWidth, 640);
    EXPECT_EQ(s.listDialogHeight, 400);
    EXPECT_EQ(s.failedDialogWidth, 640);
    EXPECT_EQ(s.failedDialogHeight, 400);

    EXPECT_EQ(ReadInteger(path_, u"TAVELIN", u"ダイアログの幅", 17), 17);
    EXPECT_EQ(ReadInteger(path_, u"TAVELIN", u"出力先パス", 17), 17);
    EXPECT_EQ(ReadInteger(path_, u"TAVELIN", u"no such key", -9), -9);
    EXPECT_EQ(ReadInteger(path_, u"OTHER", u"出力先決定方法", 5), 5);
    EXPECT_TRUE(ReadFlag(path_, u"TAVELIN", u"no such key", true));
    EXPECT_FALSE(ReadFlag(path_, u"TAVELIN", u"no such key", false));
}

TEST_F(SettingsFile, MissingOutputFolderKeyMeansTheDesktop) {
    Store(kSectionLine + Line(kMethod, u"0"));
    EXPECT_EQ(Load().outputFolder, Desktop());
}

TEST_F(SettingsFile, OutputFolderIsKeptWholeAndTooLongIsNeverCutToAnotherPath) {
    // Any path Windows can name comes back whole; a longer one would have to
    // be cut, and a cut path may name another, existing folder.
    Path longest = u"C:\\" + Path(kLongestPath - 3, u'a');
    for (const Path& folder : {Path(u"C:\\" + Path(257, u'a')), longest}) {
        Store(Expected(u"0", u"1", u"0", folder, u"640", u"400"));
        EXPECT_EQ(Load().outputFolder, folder);
    }
    Store(Expected(u"0", u"1", u"0", longest + u"b", u"640", u"400"));
    EXPECT_EQ(Load().outputFolder, u"");
}

TEST_F(SettingsFile, WriteFunctionsReportTheirResult) {
    EXPECT_TRUE(WriteInteger(path_, u"TAVELIN", u"ダイアログの幅", -2147483647 - 1));
    EXPECT_TRUE(WriteFlag(path_, u"TAVELIN", u"起動時に設定ダイアログを表示する", true));
    std::string written = Cp932(kSectionLine + Line(kWidth, u"-2147483648") + Line(kShow, u"1"));
    EXPECT_EQ(ReadBytes(path_), written);
    // Written all or nothing, through a staged file that does not stay.
    WIN32_FIND_DATAW found;
    EXPECT_FALSE(FindExists(FolderPart(path_) + u"\\~tavelin-*", &found));
    // A folder that does not exist cannot hold the file; a file the user made
    // read-only is left as it is.
    ScratchFolder scratch;
    Path nowhere = P(scratch / "missing\\x.ini");
    EXPECT_FALSE(WriteInteger(nowhere, u"TAVELIN", u"k", 1));
    EXPECT_FALSE(WriteFlag(nowhere, u"TAVELIN", u"k", false));
    ASSERT_TRUE(SetFileAttributesW(WidePath(path_), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteFlag(path_, u"TAVELIN", u"k", false));
    Settings s = RunSettings(OutputMethod::RewriteInPlace);
    EXPECT_FALSE(SaveSettings(&s));
    SetFileAttributesW(WidePath(path_), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path_), written);
}

// The settings file of a program copied into a folder whose name holds
// capitals, a dot and Japanese characters: only the ASCII letters of the
// name are folded.
TEST(SettingsFileName, LowerCaseBesideTheProgramWhateverItsName) {
    ScratchFolder scratch;
    Path folder = P(scratch / "ア表TOOLS.Dir");
    ASSERT_TRUE(MakeFolder(folder));
    struct Case {
        const char16_t* program;
        const char16_t* settings;
    } cases[] = {{u"Conv.EXE", u"conv.ini"}, {u"Prog", u"prog.ini"}};
    for (const Case& c : cases) {
        Path program = folder + u"\\" + c.program;
        ASSERT_TRUE(CopyFileW(WidePath(ModulePath()), WidePath(program), FALSE));
        EXPECT_EQ(RunChild(program), 0u) << Cp932(program);

        // The name as the file system holds it.
        WIN32_FIND_DATAW found;
        ASSERT_TRUE(FindExists(folder + u"\\*.ini", &found)) << Cp932(program);
        EXPECT_EQ(PathFromWide(found.cFileName), c.settings);
        Path written = folder + u"\\" + c.settings;
        EXPECT_EQ(ReadBytes(written), Cp932(Expected(u"0", u"1", u"0", Desktop(), u"640", u"400")));
        ASSERT_TRUE(DeleteFileW(WidePath(written)));
    }
}

// The file in code page 932, as the compiler's iconv writes the text of
// Expected(u"1", u"0", u"1", u"D:\\出力\\表", u"800", u"600", u"720", u"500", u"0").
const char kJapaneseFile[] =
    "[TAVELIN]\r\n上書きされるファイルをゴミ箱に残す=1\r\n起動時に設定ダイアログを表示する=0\r\n"
    "出力先決定方法=1\r\n出力先パス=D:\\出力\\表\r\nダイアログの幅=800\r\nダイアログの高さ=600\r\n"
    "失敗一覧の幅=720\r\n失敗一覧の高さ=500\r\nUTF-8 に BOM を付ける=0\r\n";

std::u16string JapaneseFileWith(const Path& folder) {
    return Expected(u"1", u"0", u"1", folder, u"800", u"600", u"720", u"500");
}

// A program in a folder of any name, its settings file in code page 932 or
// UTF-16, loaded and saved on this system locale: the values come back
// exactly, and the file is code page 932 whenever every character fits it.
TEST(AnyLocale, SettingsFileReadAndWrittenTheSame) {
    bool otherLocale = std::wcsstr(GetCommandLineW(), kOtherLocaleSwitch) != nullptr;
    if (otherLocale) {
        ASSERT_NE(GetACP(), 932u);
    } else {
        ASSERT_EQ(GetACP(), 932u);
    }
    const std::string japanese = kJapaneseFile;
    ASSERT_EQ(SettingsFileBytes(JapaneseFileWith(u"D:\\出力\\表")), japanese);
    const Path jose = u"C:\\Users\\José\\デスクトップ";
    const Path minsu = u"C:\\Users\\김민수\\Desktop";
    struct Row {
        const char16_t* folder;  // where the program lies
        std::string before;
        Path set;  // the output folder the program is given, if any
        std::string after;
    } rows[] = {
        {u"設定", japanese, u"", japanese},
        {u"José", japanese, jose, SettingsFileBytes(JapaneseFileWith(jose))},
        {u"김민수", SettingsFileBytes(JapaneseFileWith(minsu)), u"",
         SettingsFileBytes(JapaneseFileWith(minsu))},
        {u"😀", SettingsFileBytes(JapaneseFileWith(jose)), u"D:\\出力\\表", japanese},
    };
    ScratchFolder scratch;
    for (const Row& row : rows) {
        Path folder = P(scratch.path()) + u"\\" + row.folder;
        Path program = folder + u"\\Tool.exe";
        Path settings = folder + u"\\tool.ini";
        ASSERT_TRUE(MakeFolder(folder));
        ASSERT_TRUE(CopyFileW(WidePath(ModulePath()), WidePath(program), FALSE));
        ASSERT_TRUE(WriteBytes(settings, row.before));
        EXPECT_EQ(RunChild(program, row.set), 0u) << Utf8FromPath(folder);
        EXPECT_EQ(ReadBytes(settings), row.after) << Utf8FromPath(folder);
        EXPECT_NE(row.after == japanese, row.after.compare(0, 2, "\xFF\xFE") == 0);
        RemoveTree(folder);
    }
}

}  // namespace
