// The link's hand cursor: every pixel the masks make, read back from the
// buffer, against the picture of the hand drawn as text.
#include "ui/hand_cursor.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Columns 0 to 19 of rows 0 to 21: . transparent, B black, W white.
// Everything else is transparent.
const char* const kPicture[] = {
    "......BB............", ".....BWWB...........", ".....BWWB...........", ".....BWWB...........",
    ".....BWWB...........", ".....BWWBBB.........", ".....BWWBWWBBB......", ".....BWWBWWBWWBB....",
    ".....BWWBWWBWWBWB...", ".BBB.BWWBWWBWWBWWB..", ".BWWBBWWWWWWWWBWWB..", ".BWWWBWWWWWWWWWWWB..",
    "..BWWBWWWWWWWWWWWB..", "...BWBWWWWWWWWWWWB..", "...BWWWWWWWWWWWWWB..", "....BWWWWWWWWWWWWB..",
    "....BWWWWWWWWWWWB...", ".....BWWWWWWWWWWB...", ".....BWWWWWWWWWWB...", "......BWWWWWWWWB....",
    "......BWWWWWWWWB....", "......BBBBBBBBBB....",
};

bool Bit(const unsigned char* plane, int x, int y) {
    return (plane[4 * y + x / 8] >> (7 - x % 8)) & 1;
}

char PixelAt(const unsigned char* masks, int x, int y) {
    bool andBit = Bit(masks, x, y);
    bool xorBit = Bit(masks + kHandCursorPlaneBytes, x, y);
    if (andBit && !xorBit) return '.';
    if (!andBit && !xorBit) return 'B';
    if (!andBit && xorBit) return 'W';
    return '?';  // inverts the screen: never part of the hand
}

char Expected(int x, int y) {
    if (y < static_cast<int>(sizeof kPicture / sizeof kPicture[0]) && x < 20) return kPicture[y][x];
    return '.';
}

TEST(HandCursor, MasksDrawThePictureExactly) {
    unsigned char masks[kHandCursorMaskBytes + 1];
    masks[kHandCursorMaskBytes] = 0xA5;  // a guard: nothing written beyond the planes
    FillHandCursorMasks(masks);
    EXPECT_EQ(masks[kHandCursorMaskBytes], 0xA5);
    for (int y = 0; y < kHandCursorSize; y++) {
        std::string got, want;
        for (int x = 0; x < kHandCursorSize; x++) {
            got += PixelAt(masks, x, y);
            want += Expected(x, y);
        }
        EXPECT_EQ(got, want) << "row " << y;
    }
    // The hot spot is the finger's tip, the top black pixel.
    EXPECT_EQ(PixelAt(masks, kHandCursorHotSpotX, kHandCursorHotSpotY), 'B');
    EXPECT_EQ(kHandCursorMaskBytes, 256);
}

}  // namespace
