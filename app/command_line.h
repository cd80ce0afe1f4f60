// The program's own command-line splitter and its switches.
#pragma once

#include <vector>

#include "engine/detection_code.h"
#include "util/path.h"

// The program's arguments, argument 0 the program path as written.
using Arguments = std::vector<Path>;

// Splits the command line (UTF-16, as Windows gives it) as Windows' own
// programs do: the program path quoted up to the next quote or up to the first
// blank; every further argument with the backslash and quote rules.
Arguments SplitCommandLine(const Path& commandLine);

// The conversion mask the switches ask for (/sjis or /jms, /euc, /auto,
// /utf8: the last of them wins; both ways without any; /bom adds
// WithByteOrderMark, whatever the direction), and whether the startup
// dialog is suppressed.
ConversionMask ParseSwitches(const Arguments& arguments, bool* suppressStartupDialog);
