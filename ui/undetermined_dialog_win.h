// The review of the files whose encoding was not decided: a resizable list
// where the user marks each file to be converted to Shift-JIS or EUC-JP,
// copied or ignored, and then executes the marks. The dialog only records
// the marks; carrying them out is the caller's (app/run_win.h). It edits the
// caller's Settings in place (its size and sort order); saving is the
// caller's business.
#pragma once

#include <windows.h>

#include <vector>

#include "app/settings.h"
#include "engine/work_item.h"

// The window property that holds the dialog's UndeterminedFilesParam. It
// keeps the dialog's historic name, the "redo box": the files the run left
// undecided are run once more there, with the user's choices.
constexpr wchar_t kPropUndeterminedFilesHistoricName[] = L"PROP_REDOBOXPARAM";
constexpr wchar_t kUndeterminedFilesTitle[] = L"文字コード判別不能ファイルの扱い";

// What the dialog works on, alive while it runs.
struct UndeterminedFilesParam {
    Settings* settings;
    WorkList* workList;
    std::vector<WorkItem*>* chosen;  // may be null
};

// Lists every item of the list that is neither a folder nor a decided file,
// modally. Without such items no dialog is shown and the answer is true.
// Otherwise true exactly when the user executed the marks; closing, or a
// dialog that cannot be created, gives false. On execution chosen (when
// given) receives the rows marked for an action, in the order shown, each
// item's code holding its mark (engine/work_item.h); rows left on "ignore"
// are not among them. The dialog stores its restored
// outer size in listDialogWidth and listDialogHeight when it closes, and the
// last sort in listSortColumn and listSortAscending.
bool ShowUndeterminedFilesDialog(HWND owner, Settings* settings, WorkList* workList,
                                 std::vector<WorkItem*>* chosen = nullptr);
