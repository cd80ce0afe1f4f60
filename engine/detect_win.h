// Deciding a file's encoding: the Win32 edge around the portable detection.
#pragma once

#include <windows.h>

#include <cstdint>

#include "engine/detection_code.h"
#include "util/path.h"

// Reads the file once and returns Undetermined, EucJp, ShiftJis, Iso2022Jp,
// Utf8, Utf16Le or Utf16Be. A file that cannot be opened is Undetermined.
DetectionCode DetectEncoding(const Path& path);
// The same for the file at path, already open for reading: the handle is
// read and closed, whatever the outcome. *byteOrderMark, when asked for,
// says whether the file starts with one (of UTF-8 or UTF-16).
DetectionCode DetectOpenFile(HANDLE file, const Path& path, bool* byteOrderMark = nullptr);
// The file's size (low 32 bits); 0xFFFFFFFF when the file cannot be opened
// exclusively. The high part, when asked for, is -1 in that case.
std::uint32_t QueryFileSize(const Path& path, std::int32_t* high);
