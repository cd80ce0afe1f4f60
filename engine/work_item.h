// One file or folder to process, and the list of them in processing order.
#pragma once

#include <cstdint>

#include "engine/detection_code.h"
#include "engine/item_outcome.h"
#include "util/path.h"
#include "util/ptr_list.h"

struct WorkItem {
    // Both paths live in the item's own heap block (NewWorkItem), so that an
    // item costs what its paths need and std::free releases all of it.
    const PathChar* sourcePath;
    const PathChar* destinationPath;  // the same text as sourcePath when rewriting in place
    // What the detection decided, or what the review marked the file as
    // (CopyUnchanged: copy it; EucJp: convert it into Shift-JIS; ShiftJis:
    // into EUC-JP; Undetermined: leave it alone).
    DetectionCode code;
    // What the detection decided, kept when a file that could not be
    // converted is handed to the review (code then becomes Undetermined).
    DetectionCode detected = DetectionCode::Undetermined;
    // For such a file: the first character without a form in the target
    // encoding (engine/item_outcome.h); -1 otherwise.
    std::int32_t firstMissing = -1;
    // The system's error code when the file could not even be opened to be
    // classified (held open by another program, access denied); 0 otherwise.
    // Such a file is told as a failure, not offered in the review.
    std::uint32_t openError = 0;
    // The file starts with a byte-order mark (UTF-8's EF BB BF, or UTF-16's):
    // a run that writes UTF-8 with the mark copies such a UTF-8 file as it is.
    bool byteOrderMark = false;
};

// A new item in one std::malloc block, its paths copied into it, its codes
// Undetermined and nothing else known; null when it cannot be allocated or
// a path is longer than Windows allows (a cut path could name another file).
WorkItem* NewWorkItem(const Path& sourcePath, const Path& destinationPath);

// A file the user is asked about after the run: its encoding is unknown (or
// a character had no form in the target), and it could be read.
inline bool IsForReview(const WorkItem* item) {
    return !IsDecidedCode(item->code) && item->openError == 0;
}

// A PtrList of WorkItems (each one std::malloc block); a folder comes before
// everything below it.
using WorkList = PtrList;

// Hands a file that could not be converted for a character without a form
// in the target encoding (ItemOutcome::NoCell) to the review: listed as
// undecided, on "ignore", with its first missing character kept. Any other
// result leaves the item as it is.
void MarkForReview(WorkItem* item, const ItemResult& result);

// True when some item is for review (IsForReview).
bool HasUndecidedItems(const WorkList* list);
