// The settings file: an INI file beside the program, section "TAVELIN". It
// is read and written by the program itself (app/ini_text.h), never through
// the profile functions, which would read a code page 932 file through the
// system's code page. Saving rewrites it all or nothing.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings.h"
#include "util/path.h"

// The program's own path with ".ini", its ASCII letters folded to lower case.
// False when the program's path cannot be obtained.
bool SettingsFilePath(Path* path);

// Fills every persistent field (defaults where the file says nothing) and
// resets the list dialog's sort order. The other per-run fields are untouched.
void LoadSettings(Settings* settings);
// Writes the eight persistent fields. True when the file was written; callers
// may ignore it, since options that cannot be kept must not stop a run.
bool SaveSettings(const Settings* settings);

// A missing file or key, or a value that does not start with a number, gives
// the default.
bool ReadFlag(const Path& path, const std::u16string& section, const std::u16string& key,
              bool defaultValue);
std::int32_t ReadInteger(const Path& path, const std::u16string& section, const std::u16string& key,
                         std::int32_t defaultValue);
// True when the file was written.
bool WriteFlag(const Path& path, const std::u16string& section, const std::u16string& key,
               bool value);
bool WriteInteger(const Path& path, const std::u16string& section, const std::u16string& key,
                  std::int32_t value);
