// Names of the files a result is staged in beside its destination before it
// takes the destination's place. A staged file left behind by a run that was
// killed must never be taken for a user's text, so its name has a form of its
// own that the gathering recognises and skips.
#pragma once

#include "util/path.h"

// "~tavelin-PPPPPPPP-NNN.tmp": PPPPPPPP the process id in eight hex digits
// (so two instances never try the same names), NNN an attempt from 000 to 999.
constexpr int kStagedCandidates = 1000;

// The staged path for an attempt: the destination's folder (everything up to
// its last separator) followed by the staged name.
Path StagedPath(const Path& destinationPath, unsigned long processId, int attempt);
// True when a file name (without folder) has the staged form, in any case.
bool IsStagedName(const Path& name);
