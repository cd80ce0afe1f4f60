// Reading and driving the program's file lists (the review of undecided
// files, the list of files that could not be written) from a test's helper
// thread. Both dialogs hold their list as IDC_FILE_LIST.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

HWND List(HWND dialog);
int RowCount(HWND dialog);
// The text of a cell as a program of narrow texts reads it, in the system's
// code page.
std::string CellText(HWND dialog, int row, int column);
// The text of a cell as the list view holds it, in UTF-16.
std::wstring WideCellText(HWND dialog, int row, int column);
// The texts of one column, top to bottom.
std::vector<std::string> Column(HWND dialog, int column);
// Selects exactly these rows.
void Select(HWND dialog, const std::vector<int>& rows);
// The row showing the file name in the first column, or -1.
int RowOf(HWND dialog, const std::string& name);
// The selected rows, top to bottom.
std::vector<int> SelectedRows(HWND dialog);
// Presses and releases the key, as a user's keyboard does.
void SendKey(WORD key);
// Ctrl+A in the dialog's list, which has the focus when the dialog opens;
// returns once every row is selected, or after five seconds.
void PressCtrlA(HWND dialog);
// Clicks a column header with the mouse, as a user sorts.
void ClickHeader(HWND dialog, int column);
// Tells the dialog of a click on a column header as its list does, for a
// column scrolled out of view.
void NotifyColumnClick(HWND dialog, int column);
// Right-clicks the row with the mouse.
void RightClickRow(HWND dialog, int row);
// The context menu, once it shows (Wine's and Windows' menu windows are of
// the class "#32768"); null after five seconds.
HWND WaitForPopupMenu();
// The ways a user closes a list dialog without acting on it: its close
// button, Esc in the list, the close box.
std::vector<std::function<void(HWND)>> UserClosers();
