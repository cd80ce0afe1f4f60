// The reason a file could not be written, in words: the program's own for
// the failures a user can mend, the system's message for any other.
#pragma once

#include <windows.h>

#include "engine/item_outcome.h"

// Fills text (capacity bytes, at least 1) with the reason for the failure:
// FixedFailureReason's words, else the system's message without its line
// end, else "エラー <code>" when the system has no message for it.
void DescribeFailure(const ItemResult& result, char* text, int capacity);
