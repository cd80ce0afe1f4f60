// One file or folder to process, and the list of them in processing order.
#pragma once

#include "engine/detection_code.h"
#include "util/ptr_list.h"
#include "util/text.h"

struct WorkItem {
    char sourcePath[kPathCapacity];
    char destinationPath[kPathCapacity];  // equal to sourcePath when rewriting in place
    DetectionCode code;
};

// A PtrList of WorkItems (each one std::malloc block); a folder comes before
// everything below it.
using WorkList = PtrList;

// True when some item is neither a folder nor a file of a decided encoding:
// those are the files the user is asked about after the run.
bool HasUndecidedItems(const WorkList* list);
