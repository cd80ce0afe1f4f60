// The pointing hand that a link label shows: a 32 by 32 monochrome cursor
// whose hot spot is the tip of the raised index finger. The masks are fixed
// data; this file is portable so that they can be checked against the
// picture they stand for without a window system.
#pragma once

#include <cstdint>

constexpr int kHandCursorSize = 32;
constexpr int kHandCursorHotSpotX = 7;
constexpr int kHandCursorHotSpotY = 0;
// One bit per pixel, four bytes per row, the AND plane then the XOR plane.
constexpr int kHandCursorPlaneBytes = kHandCursorSize * kHandCursorSize / 8;
constexpr int kHandCursorMaskBytes = 2 * kHandCursorPlaneBytes;

// Writes both planes into the buffer (kHandCursorMaskBytes bytes). Within a
// row the most significant bit of the first byte is the leftmost pixel.
// AND 1 XOR 0 is transparent, AND 0 XOR 0 black, AND 0 XOR 1 white.
void FillHandCursorMasks(unsigned char* buffer);
