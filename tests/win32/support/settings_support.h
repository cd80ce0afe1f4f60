// The settings record the Windows tests run with, made in one place.
#pragma once

#include <string>

#include "app/settings.h"

// A record as a run holds it: the output method and folder given, both
// conversion directions, no settings dialog at start-up or before the run,
// nothing kept in the Recycle Bin, and the review at its default size (640 by
// 400) sorted by its first column, ascending. A test changes the fields its
// case is about.
Settings RunSettings(OutputMethod method, const std::string& outputFolder = "");
