// The one run the program performs per start.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/settings.h"
#include "engine/work_item.h"

// Shows the settings dialog when it is wanted or needed and saves the
// settings; true when the run goes on. A start without arguments is the
// dialog alone, and ends here.
bool DecideSettingsDialog(Settings* settings, std::int32_t argc, char* const* argv);
// Loads the settings, gathers and converts everything the arguments name,
// and saves the settings. Always 0.
int RunConversion(HINSTANCE instance, std::int32_t argc, char* const* argv);
// Hands every item, in list order, to the engine. Always true.
bool ProcessWorkList(WorkList* list, ConversionMask mask, const Settings* settings);
