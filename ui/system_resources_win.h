// The free system resources that the optional resource-meter library
// reports. Most systems lack it (it is absent under Wine); the line that
// shows the figure then stays empty.
#pragma once

#include <windows.h>

// The percentages the library reports for its arguments 0, 1 and 2; only
// the outputs given are asked for. False when the library or its export is
// missing.
bool QueryFreeSystemResources(int* first, int* second, int* third);
// Sets the control's text to the free percentage, or empties it when there
// is no figure (and returns false).
bool SetFreeResourcesText(HWND control);
