// The about box's width follows its texts: it is built with one-unit-wide
// lines and widened once the texts are known.
#pragma once

#include <windows.h>

// Widens each text line of the box to its text, widens the box by the
// largest of those growths, and centres the OK button in the box's outer
// width (an odd remainder leaves it a pixel nearer the left edge). A box
// whose texts all fit is left as it is.
void FitAboutLayout(HWND dialog);
