// Questions the run asks of a whole work list.
#pragma once

#include "engine/work_item.h"

// True when some item is neither a folder nor a file of a decided encoding:
// those are the files the user is asked about after the run.
bool HasUndecidedItems(const WorkList* list);
