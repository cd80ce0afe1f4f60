// Code page 932 as Windows maps it between Shift-JIS and Unicode: ASCII
// unchanged (0x5C a backslash, 0x7E a tilde), half-width katakana 0xA1-0xDF
// as U+FF61-U+FF9F, JIS X 0208, the NEC row 13 characters (lead 0x87: ①,
// Ⅰ, ㈱), the NEC-selected IBM extensions (leads 0xED-0xEE), the IBM
// extensions (leads 0xFA-0xFC) and the user-defined area (leads 0xF0-0xF9)
// as the private use area U+E000-U+E757; and the single bytes 0x80, 0xA0,
// 0xFD-0xFF as U+0080, U+F8F0-U+F8F3, as Windows decodes them. The cells come
// from engine/cp932_data.inc (made by scripts/make-cp932-table).
//
// Back from Unicode, a code point that several cells decode to goes where
// Windows' own conversion puts it: to its JIS X 0208 cell first, else its
// NEC row 13 cell, else its IBM extension cell rather than its NEC-selected
// one. The forms Unix tools write for seven JIS X 0208 cells are taken too
// (U+301C ～, U+2016 ∥, U+2212 －, U+00A2 ￠, U+00A3 ￡, U+00AC ￢, U+2014 ―),
// so that their texts convert; nothing else is ever replaced by a look-alike
// (U+00A5 ¥ is not a backslash: it has no cell).
#pragma once

#include <cstdint>

// What the look-ups return for a character that has no cell.
constexpr std::int32_t kNoCell = -1;

// The code point of a Shift-JIS code (a single byte 0x00-0xFF, or a double
// byte (lead << 8) | trail), or kNoCell.
std::int32_t Cp932ToUnicode(std::uint32_t code);
// The Shift-JIS code of a code point (one byte, or lead << 8 | trail), or kNoCell.
std::int32_t UnicodeToCp932(std::uint32_t codePoint);
// The EUC-JP code of a code point (one byte, 0x8E << 8 | katakana, or two
// bytes 0xA1-0xFE), or kNoCell: the EUC-JP form that the Shift-JIS to EUC-JP
// conversion gives its Shift-JIS cell, so that a text comes out the same
// whether it went through Shift-JIS or not. An IBM extension cell, which has
// no EUC-JP form, is taken by way of its NEC-selected twin (rows 89-92); the
// user-defined area and the single bytes 0x80, 0xA0, 0xFD-0xFF have none.
std::int32_t UnicodeToEucJp(std::uint32_t codePoint);

// The GETA MARK 〓, written in place of a character that has no cell when the
// user asked for the conversion all the same.
constexpr std::uint32_t kGetaMarkShiftJis = 0x81AC;
constexpr std::uint32_t kGetaMarkEucJp = 0xA2AE;

// ---- the tables behind the look-ups, for the transcoders' loops ----

// Rows of pairUtf8: one per Shift-JIS lead byte, and row 0, all empty, for
// every other byte, so that a look-up needs no test of the lead.
constexpr int kCp932PairRows = 1 + 31 + 29;  // 0x81-0x9F, 0xE0-0xFC
constexpr int kJisCells = 94;                // a JIS X 0208 byte: 0x21-0x7E

struct Cp932Tables {
    // Into UTF-8: the character as packed UTF-8 (engine/utf8.h PackUtf8), 0
    // when the cell is empty. A single byte; a lead byte's row and a trail byte.
    std::uint32_t singleUtf8[256];
    std::uint8_t leadRow[256];
    std::uint32_t pairUtf8[kCp932PairRows][256];
    // A JIS X 0208 pair (EUC-JP's without the top bits, or ISO-2022-JP's) by
    // way of the Shift-JIS cell that JisToShiftJis gives it; index
    // (first - 0x21) * 94 + (second - 0x21).
    std::uint32_t jisUtf8[kJisCells * kJisCells];
    // From Unicode: the code for U+0080-U+FFFF, 0 when there is none (no code
    // point from U+0080 up has the code 0). ASCII maps to itself.
    std::uint16_t shiftJis[0x10000];
    std::uint16_t eucJp[0x10000];
};

// Built once, on first use.
const Cp932Tables& Cp932();
