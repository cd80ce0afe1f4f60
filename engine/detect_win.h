// Deciding a file's encoding: the Win32 edge around the portable detection.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/detection_code.h"
#include "util/path.h"

// Reads the file once and returns Undetermined, EucJp, ShiftJis or Iso2022Jp.
// A file that cannot be opened is Undetermined.
DetectionCode DetectEncoding(const Path& path);
// The same for the file at path, already open for reading: the handle is
// read and closed, whatever the outcome.
DetectionCode DetectOpenFile(HANDLE file, const Path& path);
// The file's size (low 32 bits); 0xFFFFFFFF when the file cannot be opened
// exclusively. The high part, when asked for, is -1 in that case.
std::uint32_t QueryFileSize(const Path& path, std::int32_t* high);
