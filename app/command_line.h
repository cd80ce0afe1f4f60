// The program's own command-line splitter and its switches.
#pragma once

#include <cstdint>

#include "engine/detection_code.h"

// Whether a byte starts a double-byte character in the system's code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

// Splits the command line into an argument block: one std::malloc block with
// argc + 1 pointers (the last one null) followed by the texts they point at.
// Argument 0 is the program path as written. Null when the block cannot be
// allocated. The caller frees the block with std::free.
char** SplitCommandLine(const char* commandLine, std::int32_t* argc, LeadBytePredicate isLeadByte);

// The conversion mask the switches ask for (/sjis or /jms, /euc, /auto,
// /utf8: the last of them wins; both ways without any), and whether the
// startup dialog is suppressed.
ConversionMask ParseSwitches(std::int32_t argc, char* const* argv, bool* suppressStartupDialog);
