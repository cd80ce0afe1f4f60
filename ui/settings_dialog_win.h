// The settings dialog: output method and folder, conversion direction with
// the UTF-8 byte-order mark, and the two flags. It edits the caller's record in place; saving is
// the caller's business.
#pragma once

#include <windows.h>

#include "app/settings.h"

// The window property that holds the caller's Settings while the dialog lives.
constexpr wchar_t kPropSettingsRecord[] = L"PROP_CUSTOMBOXPARAM";
// The dialog's title, also the caption of its message.
constexpr wchar_t kSettingsDialogTitle[] = L"TAVELIN の設定";

// Runs the dialog modally. dialogBeforeRun shows the conversion choices (and
// the byte-order mark's check box below them) and outputFolderWarning the
// line about an unusable folder; without them their space is taken out of
// the dialog. True when the user closed it with OK: the record then holds
// outputMethod, outputFolder, conversionMask (WithByteOrderMark kept as it
// was), utf8ByteOrderMark and both flags as edited. The folder is taken as typed or chosen, up to
// the longest path Windows can name, once it is an existing folder; anything else is refused with a
// message and the dialog stays. Cancel, or a dialog that cannot be created, leaves the record
// untouched and returns false.
bool ShowSettingsDialog(HWND owner, Settings* settings);
