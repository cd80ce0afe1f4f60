// The reason a file could not be written, in words: the program's own for
// the failures a user can mend, the system's message for any other.
#pragma once

#include <windows.h>

#include <string>

#include "engine/item_outcome.h"

// The reason for the failure: FixedFailureReason's words, else the system's
// message in the user's language without its line end, else "エラー <code>"
// when the system has no message for it; for a file whose converted text had
// no temporary file, those words framed as FailureReasonText frames them.
std::u16string DescribeFailure(const ItemResult& result);
