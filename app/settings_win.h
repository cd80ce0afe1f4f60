// The settings file: an INI file beside the program, section "TAVELIN",
// read and written only through the profile functions.
#pragma once

#include <cstdint>

#include "app/settings.h"

// The program's own path with ".ini", folded to lower case. False when the
// program's path cannot be obtained or the settings path does not fit.
bool SettingsFilePath(char* buffer, int capacity);

// Fills every persistent field (defaults where the file says nothing) and
// resets the list dialog's sort order. The other per-run fields are untouched.
void LoadSettings(Settings* settings);
// Writes the eight persistent fields. True when every write succeeded; callers
// may ignore it, since options that cannot be kept must not stop a run.
bool SaveSettings(const Settings* settings);

// A missing key, or a value that does not start with a number, gives the default.
bool ReadFlag(const char* path, const char* section, const char* key, bool defaultValue);
std::int32_t ReadInteger(const char* path, const char* section, const char* key,
                         std::int32_t defaultValue);
// True when the profile function reported success.
bool WriteFlag(const char* path, const char* section, const char* key, bool value);
bool WriteInteger(const char* path, const char* section, const char* key, std::int32_t value);
