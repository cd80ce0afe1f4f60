// The tray icon's picture of a run's progress: the plain icon with a bar
// across its bottom (ui/progress.h gives its height and how far it fills).
#pragma once

#include <windows.h>

#include <cstdint>

// The number of cells the bar over the icon holds: its width inside the
// frame. 0 when the icon's size cannot be read.
std::int32_t ProgressBarCells(HICON plain);
// A new icon: the plain one with the bar, filled cells of ProgressBarCells
// green and the rest white. The caller destroys it. Null when it cannot be
// made (a monochrome icon, or the system out of objects).
HICON MakeProgressIcon(HICON plain, std::int32_t filled);
