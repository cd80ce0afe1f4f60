// What became of one work item when it was handed to the conversion, so that
// the run can tell the user about the files it could not write and offer
// them again.
#pragma once

#include <cstdint>

enum class ItemOutcome {
    Mirrored,    // a folder: its mirror exists (or it is its own destination)
    Converted,   // the destination holds the converted text
    Copied,      // the destination holds the source's bytes unchanged
    LeftAlone,   // nothing was to be done: an undecided file, or a copy onto itself
    NoCell,      // a character has no form in the target encoding: nothing written
    NotWritten,  // the result could not be put in place: the destination is as it was
    Unreadable,  // the source could not be read: nothing written
    // The converted text had nowhere to go: no temporary file could be made
    // (not beside the program, the destination or in the user's temporary
    // folder), or writing one away from the destination's folder failed.
    // Nothing written; the destination's folder is not to blame.
    NoTemporaryFile,
};

struct ItemResult {
    ItemOutcome outcome = ItemOutcome::LeftAlone;
    // The system's error code (GetLastError) for NotWritten, Unreadable and
    // NoTemporaryFile (the last place's refusal); 0 otherwise.
    std::uint32_t error = 0;
    // NoCell: the first character without a form in the target encoding
    // (engine/utf8_transcode.h says how it is written); -1 otherwise.
    std::int32_t firstMissing = -1;
};

// Whether the user must be told that the item was not written.
inline bool IsFailure(ItemOutcome outcome) {
    return outcome == ItemOutcome::NotWritten || outcome == ItemOutcome::Unreadable ||
           outcome == ItemOutcome::NoTemporaryFile;
}
