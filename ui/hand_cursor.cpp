#include "ui/hand_cursor.h"

#include <cstddef>

namespace {

// The rows that hold the hand; the rows below it are transparent. Columns
// 20 to 31 are transparent in every row. The picture, columns 0 to 19
// (. transparent, B black, W white):
struct MaskRow {
    std::uint32_t andMask;
    std::uint32_t xorMask;
};
constexpr MaskRow kHandRows[] = {
    {0xFCFFFFFF, 0x00000000},  //  0 ......BB............
    {0xF87FFFFF, 0x03000000},  //  1 .....BWWB...........
    {0xF87FFFFF, 0x03000000},  //  2 .....BWWB...........
    {0xF87FFFFF, 0x03000000},  //  3 .....BWWB...........
    {0xF87FFFFF, 0x03000000},  //  4 .....BWWB...........
    {0xF81FFFFF, 0x03000000},  //  5 .....BWWBBB.........
    {0xF803FFFF, 0x03600000},  //  6 .....BWWBWWBBB......
    {0xF800FFFF, 0x036C0000},  //  7 .....BWWBWWBWWBB....
    {0xF8007FFF, 0x036D0000},  //  8 .....BWWBWWBWWBWB...
    {0x88003FFF, 0x036D8000},  //  9 .BBB.BWWBWWBWWBWWB..
    {0x80003FFF, 0x33FD8000},  // 10 .BWWBBWWWWWWWWBWWB..
    {0x80003FFF, 0x3BFF8000},  // 11 .BWWWBWWWWWWWWWWWB..
    {0xC0003FFF, 0x1BFF8000},  // 12 ..BWWBWWWWWWWWWWWB..
    {0xE0003FFF, 0x0BFF8000},  // 13 ...BWBWWWWWWWWWWWB..
    {0xE0003FFF, 0x0FFF8000},  // 14 ...BWWWWWWWWWWWWWB..
    {0xF0003FFF, 0x07FF8000},  // 15 ....BWWWWWWWWWWWWB..
    {0xF0007FFF, 0x07FF0000},  // 16 ....BWWWWWWWWWWWB...
    {0xF8007FFF, 0x03FF0000},  // 17 .....BWWWWWWWWWWB...
    {0xF8007FFF, 0x03FF0000},  // 18 .....BWWWWWWWWWWB...
    {0xFC00FFFF, 0x01FE0000},  // 19 ......BWWWWWWWWB....
    {0xFC00FFFF, 0x01FE0000},  // 20 ......BWWWWWWWWB....
    {0xFC00FFFF, 0x00000000},  // 21 ......BBBBBBBBBB....
};
constexpr std::size_t kHandRowCount = sizeof kHandRows / sizeof kHandRows[0];
constexpr MaskRow kTransparentRow = {0xFFFFFFFF, 0x00000000};

// Big-endian, so that the leftmost pixel is the top bit of the first byte.
void PutRow(unsigned char* row, std::uint32_t mask) {
    for (int i = 0; i < 4; i++) row[i] = static_cast<unsigned char>(mask >> (24 - 8 * i));
}

}  // namespace

void FillHandCursorMasks(unsigned char* buffer) {
    unsigned char* andPlane = buffer;
    unsigned char* xorPlane = buffer + kHandCursorPlaneBytes;
    for (std::size_t y = 0; y < kHandCursorSize; y++) {
        const MaskRow& row = y < kHandRowCount ? kHandRows[y] : kTransparentRow;
        PutRow(andPlane + 4 * y, row.andMask);
        PutRow(xorPlane + 4 * y, row.xorMask);
    }
}
