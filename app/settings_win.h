// The settings file: an INI file, section "TAVELIN", beside the program, or
// in the user's application data where the program's folder cannot be
// written (a program under Program Files). It is read and written by the
// program itself (app/ini_text.h), never through the profile functions,
// which would read a code page 932 file through the system's code page.
// Saving rewrites it all or nothing.
#pragma once

#include <cstdint>
#include <string>

#include "app/settings.h"
#include "util/path.h"

// The settings file beside the program: the program's own path with ".ini",
// its ASCII letters folded to lower case. False when the program's path
// cannot be obtained.
bool SettingsFilePath(Path* path);
// The settings file of a program whose folder cannot be written:
// "TAVELIN\tavelin.ini" in the user's application data, %APPDATA% (the
// environment's, else the shell's folder). False when there is none.
bool UserSettingsFilePath(Path* path);

// Fills every persistent field (defaults where the file says nothing) and
// resets the list dialog's sort order. The other per-run fields are untouched.
// Read from the file beside the program where there is one, else from the
// user's file where there is one; without either every field is its default.
void LoadSettings(Settings* settings);
// Writes the eight persistent fields. A file beside the program is written
// there or not at all (a portable copy keeps its settings with it, and a file
// the user made read-only stays as it is). Without one, the file goes beside
// the program where its folder takes it, else into the user's file (its
// folder made when missing). True when a file was written; callers may
// ignore it, since options that cannot be kept must not stop a run.
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
