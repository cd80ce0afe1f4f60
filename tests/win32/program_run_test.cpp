// The whole program, as a user starts it: a copy of TAVELIN.exe with its
// settings file beside it, started with files, folders, shortcuts and
// switches; what matters is the files it leaves and the settings it writes.
#include <windows.h>
#include <gtest/gtest.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "res/resource.h"
#include "ui/failed_files_dialog_win.h"
#include "tests/win32/support/program_runner.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/wine_host.h"
#include "util/path_win.h"

namespace {

// "あい" then a line end, in each encoding.
const std::string kSjisCrLf = "\x82\xA0\x82\xA2\r\n";
const std::string kSjisLf = "\x82\xA0\x82\xA2\n";
const std::string kEucLf = "\xA4\xA2\xA4\xA4\n";
const std::string kJisLf = "\x1B$B$\"$$\x1B(B\n";
// "漢字" (JIS 0x3441 0x3B7A), whose Shift-JIS bytes lie outside EUC-JP's ranges.
const std::string kKanjiSjis = "\x8A\xBF\x8E\x9A\r\n";
const std::string kKanjiEuc = "\xB4\xC1\xBB\xFA\n";
// The start of every PNG: data after its end-of-file byte.
const std::string kPng = std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);

// UTF-8: "漢字" with its CR LF kept, "あい" with LF, and "①ｱ" (an NEC row 13
// character and a half-width katakana, which Shift-JIS holds as 0x8740 0xB1).
const std::string kKanjiUtf8CrLf = "\xE6\xBC\xA2\xE5\xAD\x97\r\n";
const std::string kUtf8Lf = "\xE3\x81\x82\xE3\x81\x84\n";
const std::string kUtf8CrLf = "\xE3\x81\x82\xE3\x81\x84\r\n";
const std::string kCircledSjis = "\x87\x40\xB1\r\n";
const std::string kCircledUtf8 = "\xE2\x91\xA0\xEF\xBD\xB1\r\n";
// Shift-JIS whose second character (0x8540) lies in a cell code page 932
// leaves empty: it has no UTF-8 form.
const std::string kEmptyCellSjis = "\x82\xA0\x85\x40\r\n";
// "あ" and an emoji, which no cell of Shift-JIS or EUC-JP holds.
const std::string kEmojiUtf8 = "\xE3\x81\x82\xF0\x9F\x98\x80\n";

constexpr char kReviewTitle[] = "文字コード判別不能ファイルの扱い";

// Watches the program for a dialog with the title until the program ends:
// counts every one that shows and hands it to act (which must close it).
std::function<void(DWORD)> WatchDialog(const std::string& title, int* shown,
                                       const std::function<void(HWND)>& act) {
    return [title, shown, act](DWORD processId) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        HWND last = nullptr;
        while (WaitForSingleObject(process, 50) == WAIT_TIMEOUT) {
            HWND dialog = FindWindowA("#32770", title.c_str());
            if (dialog == nullptr || dialog == last || !IsWindowVisible(dialog)) continue;
            last = dialog;
            ++*shown;
            act(dialog);
        }
        CloseHandle(process);
    };
}

// The review of undecided files.
std::function<void(DWORD)> WatchReview(int* shown, const std::function<void(HWND)>& act) {
    return WatchDialog(kReviewTitle, shown, act);
}

void Close(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }

// The settings with the dialog shown at start-up.
Settings ShownAtStartup(Settings settings) {
    settings.showSettingsAtStartup = true;
    return settings;
}

class ProgramRun : public ::testing::Test {
  protected:
    ProgramCopy program;
    ScratchFolder data;
    ScratchFolder output;

    // Runs the program; no review dialog may show unless expectReview, and
    // then exactly one, which is closed.
    RunResult Run(const std::string& args, bool expectReview = false) {
        int reviews = 0;
        RunResult r = RunProgram(program.exe(), args, 60000, WatchReview(&reviews, Close));
        EXPECT_TRUE(r.started);
        EXPECT_TRUE(r.finished);
        EXPECT_EQ(reviews, expectReview ? 1 : 0) << "review dialogs shown";
        return r;
    }
};

TEST_F(ProgramRun, ConvertsAFolderIntoTheOutputFolderBothWays) {
    program.WriteSettings(
        ShownAtStartup(RunSettings(OutputMethod::IntoOutputFolder, output.path())));
    std::string tree = data / "テキスト";
    ASSERT_TRUE(MakeFolder(tree));
    ASSERT_TRUE(MakeFolder(tree + "\\表"));
    WriteBytes(tree + "\\sjis.txt", kKanjiSjis);
    WriteBytes(tree + "\\表\\euc.txt", kEucLf);
    WriteBytes(tree + "\\jis.txt", kJisLf);
    WriteBytes(tree + "\\picture.png", kPng);

    RunResult r = Run("/noui " + Quoted(tree), true);
    EXPECT_EQ(r.exitCode, 0u);
    std::string out = output / "テキスト";
    EXPECT_EQ(ReadBytes(out + "\\sjis.txt"), kKanjiEuc);
    EXPECT_EQ(ReadBytes(out + "\\表\\euc.txt"), kSjisCrLf);
    EXPECT_EQ(ReadBytes(out + "\\jis.txt"), kSjisCrLf);
    // Undecided, and the review closed: neither written nor touched.
    EXPECT_EQ(ReadBytes(out + "\\picture.png"), "<missing>");
    EXPECT_EQ(ReadBytes(tree + "\\picture.png"), kPng);
    // The sources stay as they were.
    EXPECT_EQ(ReadBytes(tree + "\\sjis.txt"), kKanjiSjis);
}

TEST_F(ProgramRun, SwitchesChooseOneTargetEncoding) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    WriteBytes(data / "a.txt", kKanjiSjis);
    WriteBytes(data / "b.txt", kEucLf);
    RunResult r = Run("/sjis " + Quoted(data / "a.txt") + " " + Quoted(data / "b.txt"));
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(ReadBytes(output / "a.txt"), kKanjiSjis);  // already Shift-JIS: copied as it is
    EXPECT_EQ(ReadBytes(output / "b.txt"), kSjisCrLf);

    ScratchFolder second;
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, second.path()));
    Run("/sjis /EUC " + Quoted(data / "a.txt") + " " + Quoted(data / "b.txt"));
    EXPECT_EQ(ReadBytes(second / "a.txt"), kKanjiEuc);
    EXPECT_EQ(ReadBytes(second / "b.txt"), kEucLf);  // copied, line ends untouched
}

TEST_F(ProgramRun, Utf8UnifiesATreeOfEveryEncoding) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    std::string tree = data / "混在";
    ASSERT_TRUE(MakeFolder(tree));
    WriteBytes(tree + "\\sjis.txt", kKanjiSjis);
    WriteBytes(tree + "\\circled.txt", kCircledSjis);
    WriteBytes(tree + "\\euc.txt", kEucLf);
    WriteBytes(tree + "\\jis.txt", kJisLf);
    WriteBytes(tree + "\\utf8.txt", kUtf8CrLf);
    WriteBytes(tree + "\\empty-cell.txt", kEmptyCellSjis);

    // The file with a character that has no UTF-8 form brings up the review.
    RunResult r = Run("/noui /UTF8 " + Quoted(tree), true);
    EXPECT_EQ(r.exitCode, 0u);
    std::string out = output / "混在";
    // Line ends as in the source; the three encodings give the same UTF-8.
    EXPECT_EQ(ReadBytes(out + "\\sjis.txt"), kKanjiUtf8CrLf);
    EXPECT_EQ(ReadBytes(out + "\\circled.txt"), kCircledUtf8);
    EXPECT_EQ(ReadBytes(out + "\\euc.txt"), kUtf8Lf);
    EXPECT_EQ(ReadBytes(out + "\\jis.txt"), kUtf8Lf);
    EXPECT_EQ(ReadBytes(out + "\\utf8.txt"), kUtf8CrLf);  // copied as it is
    EXPECT_EQ(ReadBytes(out + "\\empty-cell.txt"), "<missing>");
    EXPECT_EQ(ReadBytes(tree + "\\empty-cell.txt"), kEmptyCellSjis);
    EXPECT_EQ(ReadBytes(tree + "\\sjis.txt"), kKanjiSjis);
}

TEST_F(ProgramRun, Utf8FilesIntoShiftJisOrEucJpOnlyWhenEveryCharacterFits) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    WriteBytes(data / "fits.txt", kUtf8CrLf);
    WriteBytes(data / "circled.txt", kCircledUtf8);
    WriteBytes(data / "emoji.txt", kEmojiUtf8);
    const std::string files = Quoted(data / "fits.txt") + " " + Quoted(data / "circled.txt") + " " +
                              Quoted(data / "emoji.txt");
    Run("/sjis " + files, true);
    EXPECT_EQ(ReadBytes(output / "fits.txt"), kSjisCrLf);
    EXPECT_EQ(ReadBytes(output / "circled.txt"), kCircledSjis);
    EXPECT_EQ(ReadBytes(output / "emoji.txt"), "<missing>");

    ScratchFolder second;
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, second.path()));
    Run("/euc " + files, true);
    EXPECT_EQ(ReadBytes(second / "fits.txt"), kEucLf);  // LF, as every EUC-JP output
    // ① is an NEC row 13 character: EUC-JP holds it in the same row.
    EXPECT_EQ(ReadBytes(second / "circled.txt"), "\xAD\xA1\x8E\xB1\n");
    EXPECT_EQ(ReadBytes(second / "emoji.txt"), "<missing>");
    EXPECT_EQ(ReadBytes(data / "emoji.txt"), kEmojiUtf8);
}

TEST_F(ProgramRun, BothWaysCopiesUtf8FilesAsTheyAre) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    WriteBytes(data / "fits.txt", kUtf8CrLf);
    WriteBytes(data / "emoji.txt", kEmojiUtf8);
    WriteBytes(data / "euc.txt", kEucLf);
    Run("/auto " + Quoted(data / "fits.txt") + " " + Quoted(data / "emoji.txt") + " " +
        Quoted(data / "euc.txt"));
    EXPECT_EQ(ReadBytes(output / "fits.txt"), kUtf8CrLf);
    EXPECT_EQ(ReadBytes(output / "emoji.txt"), kEmojiUtf8);
    EXPECT_EQ(ReadBytes(output / "euc.txt"), kSjisCrLf);
}

TEST_F(ProgramRun, Utf8InPlaceWithTheRecycleBin) {
    Settings settings = RunSettings(OutputMethod::RewriteInPlace);
    settings.keepOverwrittenInRecycleBin = true;
    program.WriteSettings(settings);
    // Names of their own, so that the trash holds nothing else under them.
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%lu-%lu", GetCurrentProcessId(), GetTickCount());
    const std::string sjisName = std::string("tavelin-sjis-") + stamp + ".txt";
    const std::string utf8Name = std::string("tavelin-utf8-") + stamp + ".txt";
    const std::string emptyName = std::string("tavelin-empty-") + stamp + ".txt";
    WriteBytes(data / sjisName, kKanjiSjis);
    WriteBytes(data / utf8Name, kUtf8Lf);
    WriteBytes(data / emptyName, kEmptyCellSjis);

    Run("/utf8 " + Quoted(data.path()), true);
    EXPECT_EQ(ReadBytes(data / sjisName), kKanjiUtf8CrLf);
    EXPECT_EQ(ReadBytes(data / utf8Name), kUtf8Lf);          // left alone
    EXPECT_EQ(ReadBytes(data / emptyName), kEmptyCellSjis);  // not written
    EXPECT_EQ(ReadBytes(program / "tavelin.000"), "<missing>");

    if (!RunningUnderWine()) return;  // the trash below is Wine's
    std::string trash = HostTrashFolder();
    ASSERT_FALSE(trash.empty());
    // Only the file that was rewritten went to the Recycle Bin, as it was.
    EXPECT_EQ(ReadBytes(trash + "\\files\\" + sjisName), kKanjiSjis);
    EXPECT_EQ(ReadBytes(trash + "\\files\\" + utf8Name), "<missing>");
    EXPECT_EQ(ReadBytes(trash + "\\files\\" + emptyName), "<missing>");
    DeleteFileA((trash + "\\files\\" + sjisName).c_str());
    DeleteFileA((trash + "\\info\\" + sjisName + ".trashinfo").c_str());
}

// UTF-16 (あい, CR LF) of either order with and without its mark, one with
// an emoji, and UTF-8 with and without a mark, under every direction with and
// without /bom (or the saved setting): UTF-16 with its mark goes as UTF-8
// does, without it stays undecided; the mark goes into every file written in
// UTF-8, and into a UTF-8 file that has none.
TEST_F(ProgramRun, Utf16AndTheByteOrderMarkUnderEveryDirection) {
    const std::string mark = "\xEF\xBB\xBF", no = "<missing>", emoji = "\xF0\x9F\x98\x80";
    const std::string le = std::string("\xFF\xFE\x42\x30\x44\x30\r\0\n\0", 10);
    const std::string be = std::string("\xFE\xFF\x30\x42\x30\x44\0\r\0\n", 10);
    const std::string le2 = std::string("\xFF\xFE\x42\x30\x3D\xD8\x00\xDE\r\0\n\0", 12);
    const std::string names[] = {"le", "be", "le-bare", "be-bare", "emoji", "marked8", "utf8"};
    const std::string sources[] = {le,       be, le.substr(2), be.substr(2), le2, mark + kUtf8CrLf,
                                   kUtf8CrLf};
    const std::string u8 = kUtf8CrLf, e8 = "\xE3\x81\x82" + emoji + "\r\n", s = kSjisCrLf;
    struct Row {
        const char* switches;
        bool saved;  // "UTF-8 に BOM を付ける" in the settings
        std::string results[7];
    } rows[] = {
        {"/sjis", false, {s, s, no, no, no, s, s}},
        {"/sjis /bom", true, {s, s, no, no, no, s, s}},
        {"/euc /bom", false, {kEucLf, kEucLf, no, no, no, kEucLf, kEucLf}},
        {"/auto", false, {le, be, no, no, le2, mark + u8, u8}},
        {"/bom /auto", false, {le, be, no, no, le2, mark + u8, u8}},
        {"/utf8", false, {u8, u8, no, no, e8, mark + u8, u8}},
        {"/utf8 /bom", false, {mark + u8, mark + u8, no, no, mark + e8, mark + u8, mark + u8}},
        {"/utf8", true, {mark + u8, mark + u8, no, no, mark + e8, mark + u8, mark + u8}},
    };
    for (int i = 0; i < 7; i++) WriteBytes(data / names[i], sources[i]);
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.switches) + (row.saved ? " saved" : ""));
        ScratchFolder into;
        Settings settings = RunSettings(OutputMethod::IntoOutputFolder, into.path());
        settings.utf8ByteOrderMark = row.saved;
        program.WriteSettings(settings);
        Run(std::string(row.switches) + " " + Quoted(data.path()), true);  // the bare ones
        std::string out = into / data.path().substr(data.path().rfind('\\') + 1);
        for (int i = 0; i < 7; i++) {
            EXPECT_EQ(ReadBytes(out + "\\" + names[i]), row.results[i]) << names[i];
        }
    }
}

TEST_F(ProgramRun, RewritesInPlaceKeepingTimes) {
    program.WriteSettings(RunSettings(OutputMethod::RewriteInPlace));
    std::string file = data / "memo.txt";
    WriteBytes(file, kEucLf);
    HANDLE h =
        CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME old{0x12340000u, 0x01D00000u};
    SetFileTime(h, &old, &old, &old);
    CloseHandle(h);

    Run("/auto " + Quoted(file));
    EXPECT_EQ(ReadBytes(file), kSjisCrLf);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &info));
    EXPECT_EQ(CompareFileTime(&info.ftLastWriteTime, &old), 0);
    // Nothing left beside the program but itself and its settings.
    EXPECT_EQ(ReadBytes(program / "tavelin.000"), "<missing>");
}

TEST_F(ProgramRun, FollowsAShortcut) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    std::string target = data / "target.txt";
    WriteBytes(target, kEucLf);
    std::string link = data / "link.lnk";
    CoInitialize(nullptr);
    IShellLinkA* shellLink = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(&shellLink)),
              S_OK);
    shellLink->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    ASSERT_EQ(file->Save(wide, TRUE), S_OK);
    file->Release();
    shellLink->Release();
    CoUninitialize();

    Run("/noui " + Quoted(link));
    // The target is converted under its own name; the shortcut is not copied.
    EXPECT_EQ(ReadBytes(output / "target.txt"), kSjisCrLf);
    EXPECT_EQ(ReadBytes(output / "link.lnk"), "<missing>");
}

TEST_F(ProgramRun, TracesEveryArgumentAndSavesTheSettings) {
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, output.path());
    settings.keepOverwrittenInRecycleBin = true;
    settings.listDialogWidth = 700;
    settings.listDialogHeight = 500;
    program.WriteSettings(settings);
    RunResult r = Run("/noui nothing-here \"two words\"");
    EXPECT_EQ(r.exitCode, 0u);
    ASSERT_EQ(r.debugLines.size(), 4u);
    EXPECT_EQ(r.debugLines[0], "argv[ 0]=" + program.exe() + "\r\n");
    EXPECT_EQ(r.debugLines[1], "argv[ 1]=/noui\r\n");
    EXPECT_EQ(r.debugLines[2], "argv[ 2]=nothing-here\r\n");
    EXPECT_EQ(r.debugLines[3], "argv[ 3]=two words\r\n");
    // Written back in the order of the keys, values as loaded.
    std::string expected =
        "[TAVELIN]\r\n"
        "上書きされるファイルをゴミ箱に残す=1\r\n"
        "起動時に設定ダイアログを表示する=0\r\n"
        "出力先決定方法=0\r\n"
        "出力先パス=" +
        output.path() +
        "\r\n"
        "ダイアログの幅=700\r\n"
        "ダイアログの高さ=500\r\n"
        "失敗一覧の幅=640\r\n"
        "失敗一覧の高さ=400\r\n"
        "UTF-8 に BOM を付ける=0\r\n";
    EXPECT_EQ(ReadBytes(program.ini()), expected);
}

// Closes the settings dialog with the given button once it shows.
std::function<void(DWORD)> PressInSettingsDialog(int button, bool* shown) {
    return [button, shown](DWORD) {
        HWND dialog = WaitForWindow("#32770", "TAVELIN の設定", 30000);
        *shown = dialog != nullptr;
        if (dialog != nullptr) PostMessageA(dialog, WM_COMMAND, button, 0);
    };
}

TEST_F(ProgramRun, WithoutArgumentsOnlyTheSettingsDialogShows) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    std::string before = ReadBytes(program.ini());
    bool shown = false;
    RunResult r = RunProgram(program.exe(), "", 60000, PressInSettingsDialog(IDCANCEL, &shown));
    EXPECT_TRUE(shown);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(ReadBytes(program.ini()), before);  // Cancel writes nothing

    shown = false;
    DeleteFileA(program.ini().c_str());
    r = RunProgram(program.exe(), "", 60000, PressInSettingsDialog(IDOK, &shown));
    EXPECT_TRUE(shown);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_NE(ReadBytes(program.ini()).find("出力先決定方法=0"), std::string::npos);
}

TEST_F(ProgramRun, DialogBeforeTheRunAndItsCancel) {
    // Asked for by the settings: Cancel converts nothing and saves nothing.
    program.WriteSettings(
        ShownAtStartup(RunSettings(OutputMethod::IntoOutputFolder, output.path())));
    std::string before = ReadBytes(program.ini());
    WriteBytes(data / "a.txt", kEucLf);
    bool shown = false;
    RunProgram(program.exe(), Quoted(data / "a.txt"), 60000,
               PressInSettingsDialog(IDCANCEL, &shown));
    EXPECT_TRUE(shown);
    EXPECT_EQ(ReadBytes(output / "a.txt"), "<missing>");
    EXPECT_EQ(ReadBytes(program.ini()), before);

    // /dlg:0 skips it; an unusable output folder forces it even then.
    program.WriteSettings(
        ShownAtStartup(RunSettings(OutputMethod::IntoOutputFolder, data / "no-such-folder")));
    shown = false;
    RunProgram(program.exe(), "/dlg:0 " + Quoted(data / "a.txt"), 60000,
               PressInSettingsDialog(IDCANCEL, &shown));
    EXPECT_TRUE(shown);
}

TEST_F(ProgramRun, ReviewExecutesAndItsSizeIsSaved) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    WriteBytes(data / "picture.png", kPng);
    WriteBytes(data / "a.txt", kEucLf);
    int reviews = 0;
    RunResult r =
        RunProgram(program.exe(), "/noui " + Quoted(data.path()), 60000,
                   WatchReview(&reviews, [](HWND dialog) {
                       SetWindowPos(dialog, nullptr, 0, 0, 700, 450, SWP_NOMOVE | SWP_NOZORDER);
                       ShowWindow(dialog, SW_MAXIMIZE);
                       // Every row stays on "ignore": Execute writes nothing.
                       PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                   }));
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(reviews, 1);
    std::string out = output / data.path().substr(data.path().rfind('\\') + 1);
    EXPECT_EQ(ReadBytes(out + "\\a.txt"), kSjisCrLf);
    EXPECT_EQ(ReadBytes(out + "\\picture.png"), "<missing>");
    // The restored size, not the maximised one, is what the run saved.
    std::string ini = ReadBytes(program.ini());
    EXPECT_NE(ini.find("ダイアログの幅=700\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("ダイアログの高さ=450\r\n"), std::string::npos) << ini;
}

// The list of files the program could not write.
std::function<void(DWORD)> WatchFailures(int* shown, const std::function<void(HWND)>& act) {
    return WatchDialog(Cp932(PathFromWide(kFailedFilesTitle)), shown, act);
}

TEST_F(ProgramRun, AFileHeldOpenIsListedAndWrittenWhenTriedAgain) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    ASSERT_TRUE(MakeFolder(data / "memo"));
    WriteBytes(data / "memo\\held.txt", kEucLf);
    WriteBytes(data / "memo\\free.txt", kEucLf);
    // An earlier result, held open by another program that shares nothing.
    ASSERT_TRUE(MakeFolder(output / "memo"));
    const std::string held = output / "memo\\held.txt";
    WriteBytes(held, "old\n");
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    // Closed without retrying: the file is told, its old bytes stay, the
    // others are converted, and the exit code says not everything was written.
    int shown = 0;
    RunResult r = RunProgram(program.exe(), "/noui " + Quoted(data / "memo"), 60000,
                             WatchFailures(&shown, Close));
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(r.exitCode, 2u);
    EXPECT_EQ(ReadBytes(output / "memo\\free.txt"), kSjisCrLf);

    // Tried again once the holder let go: written, and the list ends itself.
    shown = 0;
    r = RunProgram(program.exe(), "/noui " + Quoted(data / "memo"), 60000,
                   WatchFailures(&shown, [&holder](HWND dialog) {
                       CloseHandle(holder);
                       holder = INVALID_HANDLE_VALUE;
                       PostMessageA(dialog, WM_COMMAND, IDC_RETRY, 0);
                   }));
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(ReadBytes(held), kSjisCrLf);
}

// A source held open without sharing cannot be read: it is told with the
// failures, not offered in the review, and converted when tried again.
TEST_F(ProgramRun, AnUnreadableSourceIsToldNotReviewed) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    const std::string source = data / "locked.txt";
    WriteBytes(source, kEucLf);
    HANDLE holder =
        CreateFileA(source.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    int reviews = 0;
    int shown = 0;
    auto watchReview = WatchReview(&reviews, Close);
    auto watchFailures = WatchFailures(&shown, [&holder](HWND dialog) {
        CloseHandle(holder);
        holder = INVALID_HANDLE_VALUE;
        PostMessageA(dialog, WM_COMMAND, IDC_RETRY, 0);
    });
    RunResult r = RunProgram(program.exe(), "/noui " + Quoted(source), 60000, [&](DWORD processId) {
        std::thread review(watchReview, processId);
        watchFailures(processId);
        review.join();
    });
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(reviews, 0);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(ReadBytes(output / "locked.txt"), kSjisCrLf);
}

// Selects every row of a list view in another process: the item state it
// reads must lie in that process's memory.
bool SelectAllRows(HWND rows) {
    DWORD processId = 0;
    GetWindowThreadProcessId(rows, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return false;
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED;
    void* remote = VirtualAllocEx(process, nullptr, sizeof state, MEM_COMMIT, PAGE_READWRITE);
    bool done = remote != nullptr &&
                WriteProcessMemory(process, remote, &state, sizeof state, nullptr) &&
                SendMessageA(rows, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(remote)) != 0;
    if (remote != nullptr) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return done;
}

// A file the review marks, whose destination another program holds open when
// the marks are carried out: it is told with the run's failures, the other
// marked file is converted, and a retry writes it the way it was marked.
TEST_F(ProgramRun, AFailureAfterTheReviewIsListedAndRetriedTheMarkedWay) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    // Bytes that read as EUC-JP (亜亜) and as Shift-JIS (half-width ｰ｡ｰ｡)
    // alike, with no line end to tell them apart: both are reviewed.
    const std::string undecided = "\xB0\xA1\xB0\xA1";
    const std::string intoShiftJis = "\x88\x9F\x88\x9F";
    WriteBytes(data / "held.txt", undecided);
    WriteBytes(data / "free.txt", undecided);
    const std::string held = output / "held.txt";
    WriteBytes(held, "old\n");
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    int reviews = 0;
    int shown = 0;
    bool selected = false;
    bool freeWrittenBeforeTheList = false;
    // Both rows marked as EUC-JP: converted into Shift-JIS, whatever the
    // run's direction (/utf8).
    auto watchReview = WatchReview(&reviews, [&selected](HWND dialog) {
        selected = SelectAllRows(GetDlgItem(dialog, IDC_FILE_LIST));
        PostMessageA(dialog, WM_COMMAND, IDM_MARK_EUC_JP, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    auto watchFailures = WatchFailures(&shown, [&](HWND dialog) {
        freeWrittenBeforeTheList = ReadBytes(output / "free.txt") == intoShiftJis;
        CloseHandle(holder);
        holder = INVALID_HANDLE_VALUE;
        PostMessageA(dialog, WM_COMMAND, IDC_RETRY, 0);
    });
    const std::string files = Quoted(data / "held.txt") + " " + Quoted(data / "free.txt");
    RunResult r = RunProgram(program.exe(), "/noui /utf8 " + files, 60000, [&](DWORD processId) {
        std::thread review(watchReview, processId);
        watchFailures(processId);
        review.join();
    });
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(reviews, 1);
    EXPECT_TRUE(selected);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(freeWrittenBeforeTheList);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(ReadBytes(output / "free.txt"), intoShiftJis);
    EXPECT_EQ(ReadBytes(held), intoShiftJis);
}

// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

using Names = std::vector<std::string>;

// The program in a folder it cannot write, as under Program Files: a
// read-only view of its copy (a bind mount, which stops root too; CI runs as
// root). It converts all the same, into an output folder and in place,
// leaves no temporary file anywhere, and keeps its settings in
// %APPDATA%\TAVELIN\tavelin.ini, which later runs read: the first run finds
// no settings and saves the dialog's there, the second opens its dialog on
// them and saves another output method, the third follows that method
// without a dialog.
TEST_F(ProgramRun, FromAFolderItCannotWriteItConvertsAndKeepsItsSettingsInAppData) {
    ScratchFolder view;
    if (!MountReadOnlyView(program.folder(), view.path())) {
        GTEST_SKIP() << "a read-only bind mount cannot be made here (not root?): skipped";
    }
    struct Unmount {
        ~Unmount() { EXPECT_TRUE(UnmountView(path)); }
        std::string path;
    } unmount{view.path()};
    ASSERT_FALSE(WriteBytes(view / "probe.txt", "x")) << "the view can be written";
    Path desktop;
    ASSERT_TRUE(GetSpecialFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, &desktop));
    ScratchFolder appData;
    ScratchFolder temp;
    ScopedVariable appDataVariable("APPDATA", appData.path().c_str());
    ScopedVariable tmpVariable("TMP", temp.path().c_str());
    ScopedVariable tempVariable("TEMP", temp.path().c_str());
    WriteBytes(data / "a.txt", kEucLf);
    WriteBytes(data / "b.txt", kEucLf);
    const std::string settingsFile = appData / "TAVELIN\\tavelin.ini";

    struct Step {
        const char* what;
        std::string args;
        int choose;               // the output method chosen in the dialog; 0: none shows
        std::string folderShown;  // the output folder the dialog opens with
        const char* storedMethod;
        std::string converted;  // the file holding the Shift-JIS text afterwards
    } steps[] = {
        {"no settings anywhere: the dialog before the run", "/sjis " + Quoted(data / "a.txt"),
         IDC_OUTPUT_TO_FOLDER, Cp932(desktop), "0", output / "a.txt"},
        {"no file to convert: the dialog alone, on the saved settings", "", IDC_OUTPUT_IN_PLACE,
         output.path(), "1", ""},
        {"the saved method, without a dialog", "/sjis " + Quoted(data / "b.txt"), 0, "", "1",
         data / "b.txt"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        int dialogs = 0;
        int failures = 0;
        std::string folderShown;
        auto watchSettings = WatchDialog("TAVELIN の設定", &dialogs, [&](HWND dialog) {
            if (step.choose == 0) return Close(dialog);
            char text[MAX_PATH] = "";
            GetDlgItemTextA(dialog, IDC_OUTPUT_PATH, text, sizeof text);
            folderShown = text;
            SetDlgItemTextA(dialog, IDC_OUTPUT_PATH, output.path().c_str());
            SendDlgItemMessageA(dialog, step.choose, BM_CLICK, 0, 0);
            CheckDlgButton(dialog, IDC_SHOW_AT_STARTUP, BST_UNCHECKED);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        auto watchFailures = WatchFailures(&failures, Close);
        RunResult r = RunProgram(view / "TAVELIN.exe", step.args, 60000, [&](DWORD processId) {
            std::thread settings(watchSettings, processId);
            watchFailures(processId);
            settings.join();
        });
        EXPECT_TRUE(r.finished);
        EXPECT_EQ(r.exitCode, 0u);
        EXPECT_EQ(dialogs, step.choose == 0 ? 0 : 1);
        EXPECT_EQ(failures, 0);
        EXPECT_EQ(folderShown, step.folderShown);
        if (!step.converted.empty()) {
            EXPECT_EQ(ReadBytes(step.converted), kSjisCrLf);
        }
        EXPECT_EQ(ReadBytes(settingsFile), std::string("[TAVELIN]\r\n"
                                                       "上書きされるファイルをゴミ箱に残す=0\r\n"
                                                       "起動時に設定ダイアログを表示する=0\r\n"
                                                       "出力先決定方法=") +
                                               step.storedMethod +
                                               "\r\n出力先パス=" + output.path() +
                                               "\r\n"
                                               "ダイアログの幅=640\r\n"
                                               "ダイアログの高さ=400\r\n"
                                               "失敗一覧の幅=640\r\n"
                                               "失敗一覧の高さ=400\r\n"
                                               "UTF-8 に BOM を付ける=0\r\n");
    }
    // The source converted into the output folder stays as it was; nothing
    // else is anywhere, no temporary file above all.
    EXPECT_EQ(ReadBytes(data / "a.txt"), kEucLf);
    EXPECT_EQ(NamesIn(view.path()), Names{"TAVELIN.exe"});
    EXPECT_EQ(NamesIn(data.path()), (Names{"a.txt", "b.txt"}));
    EXPECT_EQ(NamesIn(output.path()), Names{"a.txt"});
    EXPECT_EQ(NamesIn(temp.path()), Names{});
    EXPECT_EQ(NamesIn(appData / "TAVELIN"), Names{"tavelin.ini"});
}

TEST_F(ProgramRun, WhenEverythingIsWrittenNoListShows) {
    program.WriteSettings(RunSettings(OutputMethod::IntoOutputFolder, output.path()));
    WriteBytes(data / "a.txt", kEucLf);
    int shown = 0;
    RunResult r = RunProgram(program.exe(), "/noui " + Quoted(data / "a.txt"), 60000,
                             WatchFailures(&shown, Close));
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(r.exitCode, 0u);
    EXPECT_EQ(ReadBytes(output / "a.txt"), kSjisCrLf);
}

}  // namespace
