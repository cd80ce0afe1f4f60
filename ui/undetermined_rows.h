// What the rows of the undetermined-files list show, kept apart from the list
// view: the action each code stands for and the first bytes of a file as
// text. Every text is UTF-16, as the list view shows it on any system locale.
#pragma once

#include <cstdint>
#include <string>

#include "engine/detection_code.h"
#include "engine/work_item.h"

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
const char16_t* ActionText(DetectionCode code);
// The code a menu command marks the selected rows with (40003, 40004, 40005;
// anything else ignores them).
DetectionCode ActionCodeForCommand(int command);

// The contents column's text for the first count bytes of the item's file
// (count 0 to kPreviewBytes), decoded by the program's own tables whatever
// the system's code page, the file read as the row's action takes it, so
// that a choice shows at once whether the text then reads right:
// - a file decided as UTF-8 or UTF-16: decoded from its encoding (its
//   byte-order mark left out), each character that has no cell in code page
//   932 (and each malformed byte or lone surrogate) shown as 〓, every other
//   character as its cell reads back; a character cut by the end of the
//   bytes is left out;
// - on "Shift-JIS へ変換する" (taken as EUC-JP): read as EUC-JP and converted
//   into code page 932 as the conversion into Shift-JIS does it, 〓 for
//   bytes that are no EUC-JP character or whose cell is empty;
// - on "日本語EUC へ変換する" (taken as Shift-JIS), and every other row: the
//   bytes read as code page 932, 〓 for a lead byte without its trail byte
//   and for an empty cell; a lead byte cut by the end is left out.
// A file handed to the review because a character had no form in the target
// encoding names that character first: "[U+1F600] " for a code point,
// "[0xF040] " for a character of Shift-JIS, EUC-JP or ISO-2022-JP.
// A zero byte is shown as the byte 0xFF reads in code page 932 (U+F8F3), so
// that the text does not end early, as it always showed.
std::u16string PreviewText(const WorkItem& item, const unsigned char* bytes, int count);
