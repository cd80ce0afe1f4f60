// The settings file under Wine: its name beside the program, the bytes the
// profile functions leave in it, the defaults and the rules for stored values.
#include "app/settings_win.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "tests/win32/support/test_support.h"
#include "util/path_win.h"

namespace {

// A copy of this test program started with this argument loads the settings
// beside itself, saves them and ends: that is how the tests see the settings
// file of a program in a folder of their choosing.
const char kChildSwitch[] = "--load-and-save-settings";

struct ChildMode {
    ChildMode() {
        if (std::strstr(GetCommandLineA(), kChildSwitch) == nullptr) return;
        Settings s;
        LoadSettings(&s);
        ExitProcess(SaveSettings(&s) ? 0 : 3);
    }
} childMode;

std::string Desktop() {
    char b[kPathCapacity] = "";
    EXPECT_TRUE(GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, b));
    return b;
}

const std::string kSectionLine = "[TAVELIN]\r\n";
const std::string kKeep = "上書きされるファイルをゴミ箱に残す=";
const std::string kShow = "起動時に設定ダイアログを表示する=";
const std::string kMethod = "出力先決定方法=";
const std::string kFolder = "出力先パス=";
const std::string kWidth = "ダイアログの幅=";
const std::string kHeight = "ダイアログの高さ=";
const std::string kFailedWidth = "失敗一覧の幅=";
const std::string kFailedHeight = "失敗一覧の高さ=";

std::string Line(const std::string& keyAndSign, const std::string& value) {
    return keyAndSign + value + "\r\n";
}

// The whole file as the program writes it; the failure list's size last.
std::string Expected(const std::string& keep, const std::string& show, const std::string& method,
                     const std::string& folder, const std::string& width, const std::string& height,
                     const std::string& failedWidth = "640",
                     const std::string& failedHeight = "400") {
    return kSectionLine + Line(kKeep, keep) + Line(kShow, show) + Line(kMethod, method) +
           Line(kFolder, folder) + Line(kWidth, width) + Line(kHeight, height) +
           Line(kFailedWidth, failedWidth) + Line(kFailedHeight, failedHeight);
}

// Every test starts without a settings file beside the program and leaves none.
class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SettingsFilePath(path_, sizeof path_));
        Forget();
    }
    void TearDown() override { Forget(); }
    void Forget() {
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_);
        DeleteFileA(path_);
    }
    // Writes the file as a user's editor would, and makes the system drop its
    // cached copy, as a new start of the program would find it.
    void Store(const std::string& bytes) {
        ASSERT_TRUE(WriteBytes(path_, bytes));
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_);
    }
    Settings Load() {
        Settings s;
        std::memset(&s, 0x5A, sizeof s);
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
    char path_[kPathCapacity];
};

TEST_F(SettingsFile, CleanStartUsesDefaultsAndTheFirstSaveWritesEightKeysInOrder) {
    std::string desktop = Desktop();
    ASSERT_TRUE(IsDirectory(desktop.c_str())) << desktop;
    Settings s = Load();
    EXPECT_EQ(s.outputMethod, OutputMethod::IntoOutputFolder);
    EXPECT_EQ(std::string(s.outputFolder), desktop);
    EXPECT_TRUE(s.showSettingsAtStartup);
    EXPECT_FALSE(s.keepOverwrittenInRecycleBin);
    EXPECT_EQ(s.listDialogWidth, 640);
    EXPECT_EQ(s.listDialogHeight, 400);
    EXPECT_EQ(s.failedDialogWidth, 640);
    EXPECT_EQ(s.failedDialogHeight, 400);
    EXPECT_EQ(ReadBytes(path_), "<missing>");  // loading creates nothing

    EXPECT_EQ(Saved(s), Expected("0", "1", "0", desktop, "640", "400", "640", "400"));

    s.keepOverwrittenInRecycleBin = true;
    s.showSettingsAtStartup = false;
    s.outputMethod = OutputMethod::RewriteInPlace;
    CopyBounded(s.outputFolder, "D:\\出力\\表", kPathCapacity);
    s.listDialogWidth = 1024;
    s.listDialogHeight = -3;
    s.failedDialogWidth = 800;
    s.failedDialogHeight = 2147483647;
    s.conversionMask = ConversionMask::IntoShiftJis;  // per run: never written
    EXPECT_EQ(Saved(s), Expected("1", "0", "1", "D:\\出力\\表", "1024", "-3", "800", "2147483647"));

    Settings again = Load();
    EXPECT_TRUE(again.keepOverwrittenInRecycleBin);
    EXPECT_FALSE(again.showSettingsAtStartup);
    EXPECT_EQ(again.outputMethod, OutputMethod::RewriteInPlace);
    EXPECT_EQ(std::string(again.outputFolder), "D:\\出力\\表");
    EXPECT_EQ(again.listDialogWidth, 1024);
    EXPECT_EQ(again.listDialogHeight, -3);
    EXPECT_EQ(again.failedDialogWidth, 800);
    EXPECT_EQ(again.failedDialogHeight, 2147483647);
}

TEST_F(SettingsFile, StoredValuesAreReadByTheirRules) {
    Store(Expected("abc", "2", "1abc", "", "-5", "300", "720x", "-1"));
    Settings s = Load();
    EXPECT_FALSE(s.keepOverwrittenInRecycleBin);              // letters only: the default
    EXPECT_TRUE(s.showSettingsAtStartup);                     // 2 is true
    EXPECT_EQ(s.outputMethod, OutputMethod::RewriteInPlace);  // digits then letters
    EXPECT_EQ(std::string(s.outputFolder), "");               // present but empty: no fallback
    EXPECT_EQ(s.listDialogWidth, -5);                         // taken as read
    EXPECT_EQ(s.listDialogHeight, 300);
    EXPECT_EQ(s.failedDialogWidth, 720);  // digits then letters
    EXPECT_EQ(s.failedDialogHeight, -1);
    // Written back in the program's own form.
    EXPECT_EQ(Saved(s), Expected("0", "1", "1", "", "-5", "300", "720", "-1"));

    Store(Expected("  7", "0", "7", "C:\\x", "", "zz", "", "wide"));
    s = Load();
    EXPECT_TRUE(s.keepOverwrittenInRecycleBin);
    EXPECT_FALSE(s.showSettingsAtStartup);
    EXPECT_EQ(s.outputMethod, OutputMethod::IntoOutputFolder);  // neither 0 nor 1
    EXPECT_EQ(s.listDialogWidth, 640);
    EXPECT_EQ(s.listDialogHeight, 400);
    EXPECT_EQ(s.failedDialogWidth, 640);
    EXPECT_EQ(s.failedDialogHeight, 400);

    // A file from before the failure list: its size takes the defaults,
    // whatever the review's size.
    Store(kSectionLine + Line(kWidth, "900") + Line(kHeight, "700"));
    s = Load();
    EXPECT_EQ(s.listDialogWidth, 900);
    EXPECT_EQ(s.failedDialogWidth, 640);
    EXPECT_EQ(s.failedDialogHeight, 400);

    Store(Expected("0", "abc", "-1", "C:\\x", "2147483647", "-2147483648"));
    s = Load();
    EXPECT_TRUE(s.showSettingsAtStartup);
    EXPECT_EQ(s.outputMethod, OutputMethod::IntoOutputFolder);
    EXPECT_EQ(s.listDialogWidth, 2147483647);
    EXPECT_EQ(s.listDialogHeight, INT32_MIN);
}

TEST_F(SettingsFile, NumbersBeyondThirtyTwoBitsGiveTheDefault) {
    // 4294967297 would wrap to 1 in a 32-bit scanner.
    Store(Expected("4294967297", "4294967296", "4294967297", "C:\\x", "99999999999999999999999",
                   "-2147483649", "4294967936", "-99999999999"));
    Settings s = Load();
    EXPECT_FALSE(s.keepOverwrittenInRecycleBin);
    EXPECT_TRUE(s.showSettingsAtStartup);
    EXPECT_EQ(s.outputMethod, OutputMethod::IntoOutputFolder);
    EXPECT_EQ(s.listDialogWidth, 640);
    EXPECT_EQ(s.listDialogHeight, 400);
    EXPECT_EQ(s.failedDialogWidth, 640);
    EXPECT_EQ(s.failedDialogHeight, 400);

    EXPECT_EQ(ReadInteger(path_, "TAVELIN", "ダイアログの幅", 17), 17);
    EXPECT_EQ(ReadInteger(path_, "TAVELIN", "出力先パス", 17), 17);
    EXPECT_EQ(ReadInteger(path_, "TAVELIN", "no such key", -9), -9);
    EXPECT_EQ(ReadInteger(path_, "OTHER", "出力先決定方法", 5), 5);
    EXPECT_TRUE(ReadFlag(path_, "TAVELIN", "no such key", true));
    EXPECT_FALSE(ReadFlag(path_, "TAVELIN", "no such key", false));
}

TEST_F(SettingsFile, MissingOutputFolderKeyMeansTheDesktop) {
    Store(kSectionLine + Line(kMethod, "0"));
    EXPECT_EQ(std::string(Load().outputFolder), Desktop());
}

TEST_F(SettingsFile, OutputFolderTooLongIsNeverCutToAnotherPath) {
    // 259 characters fit the program's buffers; one more would have to be cut,
    // and a cut path may name another, existing folder.
    std::string fits = "C:\\" + std::string(256, 'a');
    Store(Expected("0", "1", "0", fits, "640", "400"));
    EXPECT_EQ(std::string(Load().outputFolder), fits);

    std::string tooLong = fits + "b";
    Store(Expected("0", "1", "0", tooLong, "640", "400"));
    EXPECT_EQ(std::string(Load().outputFolder), "");
}

TEST_F(SettingsFile, WriteFunctionsReportTheirResult) {
    EXPECT_TRUE(WriteInteger(path_, "TAVELIN", "ダイアログの幅", -2147483647 - 1));
    EXPECT_TRUE(WriteFlag(path_, "TAVELIN", "起動時に設定ダイアログを表示する", true));
    EXPECT_EQ(ReadBytes(path_), kSectionLine + Line(kWidth, "-2147483648") + Line(kShow, "1"));
    // A folder that does not exist cannot hold the file.
    ScratchFolder scratch;
    std::string nowhere = scratch / "missing\\x.ini";
    EXPECT_FALSE(WriteInteger(nowhere.c_str(), "TAVELIN", "k", 1));
    EXPECT_FALSE(WriteFlag(nowhere.c_str(), "TAVELIN", "k", false));
}

// The settings file of a program copied into folders whose names hold capitals,
// a dot and double-byte characters (ア is 0x83 0x41: its second byte is an
// ASCII capital and must not be folded).
TEST(SettingsFileName, LowerCaseBesideTheProgramWhateverItsName) {
    char self[kPathCapacity];
    ASSERT_GT(GetModuleFileNameA(nullptr, self, sizeof self), 0u);
    ScratchFolder scratch;
    std::string folder = scratch / "ア表TOOLS.Dir";
    ASSERT_TRUE(MakeFolder(folder));
    struct Case {
        const char* program;
        const char* settings;
    } cases[] = {{"Conv.EXE", "conv.ini"}, {"Prog", "prog.ini"}};
    for (const Case& c : cases) {
        std::string program = folder + "\\" + c.program;
        ASSERT_TRUE(CopyFileA(self, program.c_str(), FALSE));
        std::string line = "\"" + program + "\" " + kChildSwitch;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process))
            << program;
        ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(exitCode, 0u) << c.program;

        // The name as the file system holds it.
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder + "\\*.ini").c_str(), &found);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << c.program;
        FindClose(h);
        EXPECT_EQ(std::string(found.cFileName), c.settings);
        std::string written = folder + "\\" + c.settings;
        EXPECT_EQ(ReadBytes(written), Expected("0", "1", "0", Desktop(), "640", "400"));
        ASSERT_TRUE(DeleteFileA(written.c_str()));
    }
}

}  // namespace
