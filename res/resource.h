// Resource ids shared by the resource scripts and the code.
#pragma once

// The application icon: the lowest id, so the shell shows it for the program file.
#define IDI_APPLICATION_ICON 1
// The tray icon shown while files are converted.
#define IDI_BUSY 130
