// The mapping of double-byte characters looked up rather than computed, for
// the conversion's run of pairs. A table covers the pairs whose result is two
// bytes of which neither is 0 nor LF, so that the writer would put both out
// unchanged in either output mode; every other pair is left to the mapper.
// The tables are built at compile time by calling the mapper itself on each
// covered pair, so a cell cannot disagree with it.
#pragma once

#include <cstdint>

#include "engine/conversion.h"
#include "engine/mappers.h"

constexpr std::uint8_t kNoRow = 0xFF;

template <int Rows, int Columns>
struct PairTable {
    std::uint8_t rowOf[256];             // the first byte's row, kNoRow when not covered
    unsigned char secondLow;             // the second byte of column 0
    std::uint16_t cells[Rows][Columns];  // the result, first byte high; 0 not covered
};

// The mapped value of the pair, or 0 when the table does not cover it.
template <int Rows, int Columns>
inline unsigned LookUpPair(const PairTable<Rows, Columns>& table, unsigned first, unsigned second) {
    unsigned row = table.rowOf[first];
    unsigned column = second - table.secondLow;
    if (row == kNoRow || column >= static_cast<unsigned>(Columns)) return 0;
    return table.cells[row][column];
}

namespace pair_table_detail {

using ByteTest = bool (*)(unsigned);

constexpr bool Usable(unsigned byte) { return byte != 0 && byte != 0x0A; }

template <int Rows, int Columns>
constexpr PairTable<Rows, Columns> Build(CodeMapper map, ByteTest coveredFirst,
                                         ByteTest coveredSecond, unsigned secondLow) {
    static_assert(Rows < kNoRow, "a row number is a byte");
    PairTable<Rows, Columns> table{};
    int rows = 0;
    for (unsigned first = 0; first < 256; first++) {
        table.rowOf[first] = kNoRow;
        if (!coveredFirst(first)) continue;
        int row = rows++;
        table.rowOf[first] = static_cast<std::uint8_t>(row);
        for (unsigned column = 0; column < static_cast<unsigned>(Columns); column++) {
            unsigned second = secondLow + column;
            table.cells[row][column] = 0;
            if (!coveredSecond(second)) continue;
            auto value =
                static_cast<std::uint32_t>(map(static_cast<CodeChar>(first * 256 + second)));
            unsigned high = (value >> 8) & 0xFF;
            unsigned low = value & 0xFF;
            if (Usable(high) && Usable(low))
                table.cells[row][column] = static_cast<std::uint16_t>(high * 256 + low);
        }
    }
    table.secondLow = static_cast<unsigned char>(secondLow);
    return table;
}

constexpr bool EucJpByte(unsigned b) { return b >= 0xA1 && b <= 0xFE; }
constexpr bool JisByte(unsigned b) { return b >= 0x21 && b <= 0x7E; }
// The lead bytes of JIS X 0208's rows (0x81-0x9F, 0xE0-0xEF); the user-defined
// rows above are left to the mapper.
constexpr bool ShiftJisRowLead(unsigned b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF);
}
constexpr bool ShiftJisTrail(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

}  // namespace pair_table_detail

// EUC-JP 0xA1-0xFE 0xA1-0xFE into Shift-JIS.
inline constexpr auto kEucJpToShiftJisPairs = pair_table_detail::Build<94, 94>(
    EucJpToShiftJis, pair_table_detail::EucJpByte, pair_table_detail::EucJpByte, 0xA1);
// Shift-JIS leads 0x81-0x9F, 0xE0-0xEF with trails 0x40-0xFC (not 0x7F) into EUC-JP.
inline constexpr auto kShiftJisToEucJpPairs = pair_table_detail::Build<47, 189>(
    ShiftJisToEucJp, pair_table_detail::ShiftJisRowLead, pair_table_detail::ShiftJisTrail, 0x40);
// JIS X 0208 0x21-0x7E 0x21-0x7E (ISO-2022-JP's two-byte mode) into Shift-JIS.
inline constexpr auto kJisToShiftJisPairs = pair_table_detail::Build<94, 94>(
    JisToShiftJis, pair_table_detail::JisByte, pair_table_detail::JisByte, 0x21);
