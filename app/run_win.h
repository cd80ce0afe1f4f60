// The one run the program performs per start.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/command_line.h"
#include "app/settings.h"
#include "engine/work_item.h"
#include "ui/failed_files_dialog_win.h"

// Shows the settings dialog when it is wanted or needed and saves the
// settings; true when the run goes on. A start without arguments is the
// dialog alone, and ends here.
bool DecideSettingsDialog(Settings* settings, const Arguments& arguments);
// The program's exit codes: every file handled as chosen, or some file not
// written (also when the user closed the list of failures without retrying).
// (1 once told a command line that could not be split; nothing gives it now.)
constexpr int kExitDone = 0;
constexpr int kExitNotEveryFileWritten = 2;

// Loads the settings, gathers and converts everything the arguments name,
// offers the undecided files for review and lists the files that could not
// be written, and saves the settings. kExitDone or kExitNotEveryFileWritten.
int RunConversion(HINSTANCE instance, const Arguments& arguments);
// Hands every item, in list order, to the engine, showing in the busy
// window's tray icon (if any) how far it is. The files that could not be
// written go to failures (if given). True when there were none.
bool ProcessWorkList(WorkList* list, ConversionMask mask, const Settings* settings,
                     HWND busy = nullptr, std::vector<FailedFile>* failures = nullptr);
// Offers the undecided files of the list for review (nothing shows when
// there are none) and carries out what the user chose: the chosen items go
// to the engine in the order shown, each the other way from its mark
// (ConversionMask::BothWays), with the tray icon up meanwhile. The files that
// could not be written go to failures (if given). True when the user
// executed the marks.
bool ReviewUndecidedFiles(Settings* settings, WorkList* list,
                          std::vector<FailedFile>* failures = nullptr);
