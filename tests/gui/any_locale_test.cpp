// The dialogs as a user of a Windows in any language meets them: their texts,
// read back with the wide functions, are the Japanese texts, and folders and
// files named outside code page 932 show as they are named. The program's
// second ctest entry runs it under a non-Japanese system locale (code page
// 1252 under Wine) with kOtherLocaleSwitch, and the test then makes sure the
// code page really is another. Leaves pictures of both dialogs in the demo
// folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cwchar>
#include <string>

#include "res/resource.h"
#include "engine/work_item_win.h"
#include "tests/win32/support/com_environment.h"
#include "tests/win32/support/file_list_support.h"
#include "tests/win32/support/gui_support.h"
#include "tests/win32/support/settings_support.h"
#include "tests/win32/support/test_support.h"
#include "ui/settings_dialog_win.h"
#include "ui/undetermined_dialog_win.h"
#include "util/path_win.h"
#include "util/ptr_list.h"

namespace {

constexpr wchar_t kDialogClass[] = L"#32770";
constexpr wchar_t kOtherLocaleSwitch[] = L"--non-japanese-locale";

const auto* const g_com = ::testing::AddGlobalTestEnvironment(new ComEnvironment);

void ExpectTheCodePageAsked() {
    if (std::wcsstr(GetCommandLineW(), kOtherLocaleSwitch) != nullptr) {
        ASSERT_NE(GetACP(), 932u) << "Wine still runs in code page 932";
    } else {
        ASSERT_EQ(GetACP(), 932u);
    }
}

struct ControlText {
    int id;
    const wchar_t* text;
};

TEST(AnyLocale, TheSettingsDialogReadsInJapanese) {
    ASSERT_NO_FATAL_FAILURE(ExpectTheCodePageAsked());
    ScratchFolder scratch;
    const Path folder = JoinedPath(P(scratch.path()), u"出力_José_김민수");
    ASSERT_TRUE(MakeFolder(folder));
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, folder);
    settings.dialogBeforeRun = true;
    settings.outputFolderWarning = true;
    const ControlText texts[] = {
        {IDC_FOLDER_WARNING, L"出力先に指定されたパスにアクセスできませんでした。"},
        {IDC_OUTPUT_GROUP, L"出力方法の設定"},
        {IDC_OUTPUT_TO_FOLDER, L"指定パスに出力"},
        {IDC_OUTPUT_IN_PLACE, L"常に元のファイルを変更"},
        {IDC_OUTPUT_PATH, WidePath(folder)},
        {IDC_BROWSE, L"参照(&B)..."},
        {IDC_CONVERSION_GROUP, L"変換方法"},
        {IDC_CONVERT_BOTH_WAYS, L"相互に変換"},
        {IDC_CONVERT_TO_SJIS, L"Shift-JIS に統一"},
        {IDC_CONVERT_TO_EUC, L"日本語EUC に統一"},
        {IDC_CONVERT_TO_UTF8, L"UTF-8 に統一"},
        {IDC_KEEP_IN_RECYCLE_BIN, L"上書きされるファイルをゴミ箱に残す"},
        {IDC_SHOW_AT_STARTUP, L"起動時に設定ダイアログを表示する"},
        {IDOK, L"OK"},
        {IDCANCEL, L"ｷｬﾝｾﾙ"},
    };
    bool result = false;
    // Found by its title as the dialog itself holds it.
    EXPECT_TRUE(DriveModal(
        kDialogClass, L"TAVELIN の設定", [&] { result = ShowSettingsDialog(nullptr, &settings); },
        [&](HWND dialog) {
            for (const ControlText& expected : texts) {
                EXPECT_EQ(WideTextOf(GetDlgItem(dialog, expected.id)), expected.text)
                    << "control " << expected.id;
            }
            SaveScreenshot(dialog, "any-locale-settings");
            PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        }));
    EXPECT_TRUE(result);
    EXPECT_EQ(settings.outputFolder, folder);
}

// The heading of a column of the dialog's list.
std::wstring Heading(HWND dialog, int column) {
    wchar_t text[64] = L"";
    LVCOLUMNW heading{};
    heading.mask = LVCF_TEXT;
    heading.pszText = text;
    heading.cchTextMax = 64;
    SendMessageW(List(dialog), LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&heading));
    return text;
}

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[64] = L"";
    GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
    return text;
}

int WideRowOf(HWND dialog, const Path& name) {
    for (int row = 0; row < RowCount(dialog); row++) {
        if (WideCellText(dialog, row, 0) == WidePath(name)) return row;
    }
    return -1;
}

struct ReviewRow {
    const char16_t* name;
    std::string bytes;
    int mark;  // the menu command the row is marked with, or 0
    const wchar_t* action;
    const wchar_t* contents;
};

TEST(AnyLocale, TheReviewReadsInJapanese) {
    ASSERT_NO_FATAL_FAILURE(ExpectTheCodePageAsked());
    ScratchFolder in;
    ScratchFolder out;
    const Path folder = JoinedPath(P(in.path()), u"資料_José");
    ASSERT_TRUE(MakeFolder(folder));
    // EUC-JP 亜亜 and Shift-JIS ｰ｡ｰ｡ alike; あ, an emoji and い in UTF-8.
    const std::string undecided = "\xB0\xA1\xB0\xA1";
    const ReviewRow rows[] = {
        {u"メモ.txt", undecided, 0, L"無視する", L"ｰ｡ｰ｡"},
        {u"메모.txt", undecided, IDM_MARK_EUC_JP, L"Shift-JIS へ変換する", L"亜亜"},
        {u"絵文字.txt", "\xE3\x81\x82\xF0\x9F\x98\x80\xE3\x81\x84", IDM_MARK_COPY, L"コピーする",
         L"[U+1F600] あ〓い"},
    };
    WorkList* list = PtrListCreate();
    for (const ReviewRow& row : rows) {
        const Path source = JoinedPath(folder, row.name);
        ASSERT_TRUE(WriteBytes(source, row.bytes));
        WorkItem* item = MakeWorkItem(source, JoinedPath(P(out.path()), row.name));
        ASSERT_NE(item, nullptr);
        // As the run hands a UTF-8 file over when the emoji had no cell.
        if (item->code == DetectionCode::Utf8) {
            MarkForReview(item, ItemResult{ItemOutcome::NoCell, 0, 0x1F600});
        }
        PtrListAppend(list, item);
    }
    Settings settings = RunSettings(OutputMethod::IntoOutputFolder, P(out.path()));
    settings.listDialogWidth = 900;  // every column in view, for the picture
    EXPECT_TRUE(DriveModal(
        kDialogClass, kUndeterminedFilesTitle,
        [&] { ShowUndeterminedFilesDialog(nullptr, &settings, list); },
        [&](HWND dialog) {
            EXPECT_EQ(WideTextOf(dialog), L"文字コード判別不能ファイルの扱い");
            EXPECT_EQ(StaticTexts(dialog),
                      L"以下のファイルは、文字コードが判別できませんでした。|"
                      L"処理方法を指定して下さい。|3 個のﾌｧｲﾙ");
            EXPECT_EQ(WideTextOf(GetDlgItem(dialog, IDOK)), L"実行(&D)");
            EXPECT_EQ(WideTextOf(GetDlgItem(dialog, IDCANCEL)), L"閉じる");
            const wchar_t* menus[] = {L"実行(&D)", L"編集(&E)", L"ヘルプ(&H)"};
            const wchar_t* headings[] = {L"ファイル名", L"処理方法", L"場所", L"内容"};
            for (int i = 0; i < 3; i++) EXPECT_EQ(MenuText(GetMenu(dialog), i), menus[i]);
            for (int i = 0; i < 4; i++) EXPECT_EQ(Heading(dialog, i), headings[i]);
            for (const ReviewRow& expected : rows) {
                SCOPED_TRACE(Cp932(expected.name));
                int row = WideRowOf(dialog, expected.name);
                ASSERT_GE(row, 0);
                if (expected.mark != 0) {
                    Select(dialog, {row});
                    SendMessageW(dialog, WM_COMMAND, expected.mark, 0);
                }
                EXPECT_EQ(WideCellText(dialog, row, 1), expected.action);
                EXPECT_EQ(WideCellText(dialog, row, 2), WidePath(folder));
                EXPECT_EQ(WideCellText(dialog, row, 3), expected.contents);
            }
            Select(dialog, {});
            SaveScreenshot(dialog, "any-locale-review");
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }));
    PtrListDestroy(list);
}

}  // namespace
