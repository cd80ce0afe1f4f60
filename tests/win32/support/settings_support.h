// The settings record the Windows tests run with, and the settings files they
// write, made in one place.
#pragma once

#include <string>

#include "app/settings.h"
#include "util/path.h"

// A record as a run holds it: the output method and folder given, both
// conversion directions, no settings dialog at start-up or before the run,
// nothing kept in the Recycle Bin, no byte-order mark in UTF-8 output, and
// the review at its default size (640 by 400) sorted by its first column,
// ascending. A test changes the fields its
// case is about.
Settings RunSettings(OutputMethod method, const Path& outputFolder = Path());
// The same with the folder written in code page 932, as the tests' narrow
// texts are.
Settings RunSettings(OutputMethod method, const std::string& outputFolder);

// The bytes of a settings file holding the text, in the encoding the program
// writes it in: code page 932 when every character has a cell of its own
// there (Windows' conversion, never a best fit), UTF-16 LE after its
// byte-order mark otherwise.
std::string SettingsFileBytes(const std::u16string& text);
