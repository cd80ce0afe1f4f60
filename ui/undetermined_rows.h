// What the rows of the undetermined-files list show, kept apart from the list
// view: the action each code stands for, the first bytes of a file as text,
// and a table of every row's column texts, so that sorting reaches a row's
// text directly instead of searching the list view for the row. The list of
// files that could not be written keeps its texts and sorts in the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "engine/detection_code.h"

// The list's columns, in the order the list view holds them.
enum ListColumn : int {
    NameColumn = 0,     // "ファイル名": the last component of the source path
    ActionColumn = 1,   // "処理方法": the action the row's code stands for
    FolderColumn = 2,   // "場所": the source path's folder
    ContentColumn = 3,  // "内容": the first bytes of the file
    ListColumnCount = 4,
};

// How many bytes of a file the contents column shows.
constexpr int kPreviewBytes = 1023;

// The action text for a code: copying, converting to EUC-JP (the file is
// marked as Shift-JIS), converting to Shift-JIS (marked as EUC-JP); any other
// code is ignored.
const char* ActionText(DetectionCode code);
// The code a menu command marks the selected rows with (40003, 40004, 40005;
// anything else ignores them).
DetectionCode ActionCodeForCommand(int command);
// Turns count bytes read from a file into text in place: zero bytes become
// 0xFF, so the text does not end early, and a terminator follows at
// bytes[count]. The buffer holds count + 1 bytes; count is 0 to kPreviewBytes.
void MakePreviewText(char* bytes, int count);

// The texts of one row, by column.
struct RowTexts {
    std::string columns[ListColumnCount];
};

// Every row's texts, found by the row's item pointer.
using RowTextTable = std::unordered_map<const void*, RowTexts>;

// The row's text in the column; empty for a row the table does not know or a
// column outside the list.
const char* RowText(const RowTextTable& table, const void* item, int column);

// A click on a column's heading: the column sorted by again is reversed,
// another one sorts ascending.
void NextSortOrder(std::int32_t column, std::int32_t* sortColumn, bool* ascending);
