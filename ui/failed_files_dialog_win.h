// The list of files that could not be written (or not even read): name,
// folder and the reason in words, with the habits of the review of undecided
// files (resizable, its size remembered, open and open-folder on a row,
// sorting by column). "再試行" tries every listed file again through the
// caller; the files that succeed leave the list. It edits the caller's
// Settings in place (its size); saving is the caller's business.
#pragma once

#include <windows.h>

#include "app/settings.h"
#include "engine/item_outcome.h"
#include "engine/work_item.h"

// The window property that holds the dialog's FailedFilesParam.
constexpr wchar_t kPropFailedFilesParam[] = L"PROP_FAILEDBOXPARAM";
constexpr wchar_t kFailedFilesTitle[] = L"書き込めなかったファイル";

// A file that could not be written: the item and what became of it (a
// failure, with the system's error code). An item is listed by the file
// FailedFilePath names: its source when it could not be read or had no
// temporary file, else its destination.
struct FailedFile {
    WorkItem* item;
    ItemResult result;
    // The direction the item was handed over with, for trying it again: the
    // run's, or both ways for a file the review marked.
    ConversionMask mask = ConversionMask::BothWays;
};

// Tries the file again and stores what became of it in file->result. True
// when it was written this time.
using RetryFile = bool (*)(FailedFile* file, void* context);

// What the dialog works on, alive while it runs.
struct FailedFilesParam {
    Settings* settings;
    FailedFile* files;
    int count;
    RetryFile retry;
    void* context;
};

// Lists the files modally (nothing is shown, and the answer is true, when
// count is 0). "再試行" calls retry for every listed file in the order shown,
// with the tray icon up and the dialog disabled meanwhile; the files it
// wrote leave the list, the others show their new reason, and the dialog
// ends by itself when none remain. "閉じる", Esc and the close box end it
// too. True when every file was finally written; false when it was closed
// with files left, or could not be created. The restored outer size goes to
// failedDialogWidth and failedDialogHeight when it closes.
bool ShowFailedFilesDialog(HWND owner, Settings* settings, FailedFile* files, int count,
                           RetryFile retry, void* context);
