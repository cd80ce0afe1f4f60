// What became of one work item, as the run keeps it: a failure is kept with
// the system's reason, so that it can be told and the item tried again.
#pragma once

#include <cstdint>

enum class ItemOutcome : std::int32_t {
    Pending,     // not processed (yet)
    Converted,   // written in the other encoding
    Copied,      // written unchanged
    FolderMade,  // a folder whose destination exists now
    LeftAlone,   // nothing to write: already in the wanted encoding, or ignored
    NotWritten,  // the destination could not be written; the old bytes are whole
    Unreadable,  // the source could not be read
};

struct ItemResult {
    ItemOutcome outcome;
    std::uint32_t error;  // the system's error code for a failure; 0 otherwise
};

inline bool IsFailure(ItemOutcome outcome) {
    return outcome == ItemOutcome::NotWritten || outcome == ItemOutcome::Unreadable;
}
