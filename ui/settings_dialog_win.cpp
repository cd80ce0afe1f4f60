#include "ui/settings_dialog_win.h"

#include <string>

#include "res/resource.h"
#include "ui/app_window_win.h"
#include "ui/browse_folder_win.h"
#include "ui/geometry_win.h"
#include "ui/window_text_win.h"
#include "util/path.h"
#include "util/path_win.h"

namespace {

// The path box takes the longest path Windows can name and one character
// more, so that a longer one typed or pasted is seen as such and refused,
// never stored cut.
constexpr WPARAM kPathBoxCharacters = kLongestPath + 1;
// The message around the folder; its second line starts with an ideographic
// space.
constexpr wchar_t kFolderMessageStart[] = L"出力先に指定されたパス\n　";
constexpr wchar_t kFolderMessageEnd[] = L"\nにアクセスできません。";

// The line that says the output folder is unusable, at the top.
constexpr int kWarningLine[] = {IDC_FOLDER_WARNING};
// Everything below the warning line, moved up together when it is hidden.
constexpr int kBelowWarning[] = {
    IDC_OUTPUT_GROUP,
    IDC_OUTPUT_TO_FOLDER,
    IDC_OUTPUT_IN_PLACE,
    IDC_OUTPUT_PATH,
    IDC_BROWSE,
    IDC_CONVERSION_GROUP,
    IDC_CONVERT_BOTH_WAYS,
    IDC_CONVERT_TO_SJIS,
    IDC_CONVERT_TO_EUC,
    IDC_CONVERT_TO_UTF8,
    IDC_UTF8_BYTE_ORDER_MARK,
    IDC_OTHER_GROUP,
    IDC_KEEP_IN_RECYCLE_BIN,
    IDC_SHOW_AT_STARTUP,
    IDOK,
    IDCANCEL,
};
// The conversion choices, one radio button each; a record holding none of
// these masks shows none checked and leaves the dialog with both ways.
struct MaskButton {
    int id;
    ConversionMask mask;
};
constexpr MaskButton kMaskButtons[] = {
    {IDC_CONVERT_BOTH_WAYS, ConversionMask::BothWays},
    {IDC_CONVERT_TO_SJIS, ConversionMask::IntoShiftJis},
    {IDC_CONVERT_TO_EUC, ConversionMask::IntoEucJp},
    {IDC_CONVERT_TO_UTF8, ConversionMask::IntoUtf8},
};
// The conversion-method group and the byte-order mark's check box below it,
// hidden when no run follows the dialog.
constexpr int kConversionGroup[] = {IDC_CONVERSION_GROUP, IDC_CONVERT_BOTH_WAYS,
                                    IDC_CONVERT_TO_SJIS,  IDC_CONVERT_TO_EUC,
                                    IDC_CONVERT_TO_UTF8,  IDC_UTF8_BYTE_ORDER_MARK};
// What sits below that group, moved up when it is hidden.
constexpr int kBelowConversionGroup[] = {IDC_KEEP_IN_RECYCLE_BIN, IDC_SHOW_AT_STARTUP, IDOK,
                                         IDCANCEL};

Settings* DialogSettings(HWND dialog) {
    return static_cast<Settings*>(GetPropW(dialog, kPropSettingsRecord));
}

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void Check(HWND dialog, int id, bool checked) {
    CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

LONG ItemTop(HWND dialog, int id) {
    POINT origin;
    GetWindowOrigin(GetDlgItem(dialog, id), &origin);
    return origin.y;
}

// Hides a band of the dialog: shows or hides its controls, and when they are
// hidden moves everything below up by dy and shrinks the dialog by as much.
template <std::size_t Shown, std::size_t Below>
void CollapseBand(HWND dialog, const int (&band)[Shown], bool show, LONG dy,
                  const int (&below)[Below]) {
    for (int id : band) ShowWindowPassive(GetDlgItem(dialog, id), show);
    if (show) return;
    for (int id : below) MoveWindowBy(GetDlgItem(dialog, id), 0, dy);
    ResizeWindowBy(dialog, 0, dy);
}

// The path box and Browse only mean something when writing into a folder.
// The box stays enabled, read-only, so its text can still be copied; Tab
// skips it while it is read-only.
void UpdateEnabledState(HWND dialog, bool toFolder) {
    EnableWindow(GetDlgItem(dialog, IDC_BROWSE), toFolder);
    HWND pathBox = GetDlgItem(dialog, IDC_OUTPUT_PATH);
    SendMessageW(pathBox, EM_SETREADONLY, toFolder ? 0 : 1, 0);
    LONG style = GetWindowLongW(pathBox, GWL_STYLE);
    style = toFolder ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
    SetWindowStyle(pathBox, style);
}

// The path box's whole text.
Path ReadPathBox(HWND dialog) {
    std::wstring text;
    GetWindowTextCopy(GetDlgItem(dialog, IDC_OUTPUT_PATH), &text);
    return PathFromWide(text.c_str());
}

void SetPathBox(HWND dialog, const Path& path) {
    SetDlgItemTextW(dialog, IDC_OUTPUT_PATH, WidePath(path));
}

BOOL OnInitDialog(HWND dialog, Settings* settings) {
    SetPropW(dialog, kPropSettingsRecord, settings);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    SetWindowIcon(dialog, ICON_BIG, GetExecutableIcon(instance, 0));
    SetWindowIcon(dialog, ICON_SMALL, GetExecutableIcon(instance, 1));
    // Placed at its full height, before any band is taken out below.
    PlaceWindowAtCursor(dialog);

    SendDlgItemMessageW(dialog, IDC_OUTPUT_PATH, EM_LIMITTEXT, kPathBoxCharacters, 0);
    SetPathBox(dialog, settings->outputFolder);
    Check(dialog, IDC_OUTPUT_TO_FOLDER, settings->outputMethod == OutputMethod::IntoOutputFolder);
    Check(dialog, IDC_OUTPUT_IN_PLACE, settings->outputMethod == OutputMethod::RewriteInPlace);
    for (const MaskButton& button : kMaskButtons) {
        Check(dialog, button.id, DirectionOf(settings->conversionMask) == button.mask);
    }
    Check(dialog, IDC_UTF8_BYTE_ORDER_MARK, settings->utf8ByteOrderMark);
    Check(dialog, IDC_KEEP_IN_RECYCLE_BIN, settings->keepOverwrittenInRecycleBin);
    Check(dialog, IDC_SHOW_AT_STARTUP, settings->showSettingsAtStartup);
    UpdateEnabledState(dialog, IsChecked(dialog, IDC_OUTPUT_TO_FOLDER));

    // Distances are measured on the laid-out controls, in pixels, so they
    // match whatever the dialog font made of the dialog units.
    CollapseBand(dialog, kWarningLine, settings->outputFolderWarning,
                 ItemTop(dialog, IDC_FOLDER_WARNING) - ItemTop(dialog, IDC_OUTPUT_GROUP),
                 kBelowWarning);
    CollapseBand(dialog, kConversionGroup, settings->dialogBeforeRun,
                 ItemTop(dialog, IDC_CONVERSION_GROUP) - ItemTop(dialog, IDC_OTHER_GROUP),
                 kBelowConversionGroup);
    return TRUE;
}

// Rejects a folder that cannot be written into, keeping the dialog open.
void ReportUnusableFolder(HWND dialog, const Path& folder) {
    const std::wstring message =
        kFolderMessageStart + std::wstring(WidePath(folder)) + kFolderMessageEnd;
    MessageBoxW(dialog, message.c_str(), kSettingsDialogTitle, MB_OK);
    SetFocus(GetDlgItem(dialog, IDC_OUTPUT_PATH));
}

// Takes the controls into the record and ends the dialog, unless the chosen
// output folder is unusable. The record is written only when the dialog
// ends, so a rejected OK followed by Cancel leaves it as it was.
BOOL OnOk(HWND dialog) {
    Settings* settings = DialogSettings(dialog);
    Settings edited = *settings;
    edited.keepOverwrittenInRecycleBin = IsChecked(dialog, IDC_KEEP_IN_RECYCLE_BIN);
    edited.showSettingsAtStartup = IsChecked(dialog, IDC_SHOW_AT_STARTUP);
    // Read even while the group is hidden: it still holds what the record
    // said. The box is the saved setting; /bom, for this run alone, stays in
    // the mask beside the direction chosen.
    edited.utf8ByteOrderMark = IsChecked(dialog, IDC_UTF8_BYTE_ORDER_MARK);
    ConversionMask direction = ConversionMask::BothWays;
    for (const MaskButton& button : kMaskButtons) {
        if (IsChecked(dialog, button.id)) direction = button.mask;
    }
    edited.conversionMask =
        direction | (settings->conversionMask & ConversionMask::WithByteOrderMark);
    if (IsChecked(dialog, IDC_OUTPUT_IN_PLACE)) {
        // The folder is not used when rewriting in place: keep the old one.
        edited.outputMethod = OutputMethod::RewriteInPlace;
    } else if (IsChecked(dialog, IDC_OUTPUT_TO_FOLDER)) {
        edited.outputMethod = OutputMethod::IntoOutputFolder;
        const Path folder = ReadPathBox(dialog);
        if (folder.empty() || !FitsWindowsPath(folder) || !IsDirectory(folder)) {
            ReportUnusableFolder(dialog, folder);
            return FALSE;
        }
        edited.outputFolder = folder;
    }
    *settings = edited;
    EndDialog(dialog, IDOK);
    return TRUE;
}

void OnBrowse(HWND dialog) {
    Path folder = ReadPathBox(dialog);
    // A path too long to be a folder selects nothing in the picker.
    if (!FitsWindowsPath(folder)) folder.clear();
    Path chosen;
    if (BrowseForFolder(dialog, 0, L"", folder, &chosen)) SetPathBox(dialog, chosen);
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
        case IDOK:
            return OnOk(dialog);
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        case IDC_OUTPUT_TO_FOLDER:
        case IDC_OUTPUT_IN_PLACE:
            UpdateEnabledState(dialog, IsChecked(dialog, IDC_OUTPUT_TO_FOLDER));
            return TRUE;
        case IDC_BROWSE:
            OnBrowse(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

static INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInitDialog(dialog, reinterpret_cast<Settings*>(lParam));
        case WM_COMMAND:
            return OnCommand(dialog, LOWORD(wParam));
        case WM_NCHITTEST:
            return AnswerBackgroundAsCaption(dialog, wParam, lParam);
        case WM_DESTROY:
            RemovePropW(dialog, kPropSettingsRecord);
            DestroyTitleBarIcons(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}

bool ShowSettingsDialog(HWND owner, Settings* settings) {
    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS),
                                     owner, SettingsDialogProc, reinterpret_cast<LPARAM>(settings));
    return result == IDOK;
}
