// Carrying one work item from its source to its destination: folders are
// mirrored, files converted through a temporary file (CreateTemporaryOutput
// says where) or copied, and the result keeps the source's times and
// attributes.
#pragma once

#include <windows.h>

#include "engine/conversion.h"
#include "engine/item_outcome.h"
#include "engine/work_item.h"
#include "util/path.h"

// Mirrors a folder, converts or copies a file as ConvertOrCopyItem does, and
// says what became of it (the run goes on whatever happened to one item):
// NoCell, with the first missing character, when a character of the file has
// no form in the target encoding; NoTemporaryFile when the converted text
// had no temporary file to go to.
ItemResult ProcessWorkItem(const WorkItem* item, ConversionMask mask,
                           bool keepOverwrittenInRecycleBin);
// Skips an undetermined file (false), converts one with a matching rule
// (FindItemRule: a UTF-8 or UTF-16 file marked in the review is converted
// from its encoding with 〓 for what has no cell), or copies it unchanged (all or nothing, as
// a conversion is placed); true when the destination received the result.
bool ConvertOrCopyItem(const WorkItem* item, ConversionMask mask, bool keepOverwrittenInRecycleBin);
// Converts through a temporary file (engine/temporary_output_win.h), then puts the result
// in the destination's place in one step (PlaceResult: the old destination
// goes to the Recycle Bin, when asked, only once the new bytes are complete),
// with the source's times and attributes. True only when the converted text
// reached the destination; otherwise the destination is as it was.
// *characters (when given) receives what a UTF-8 or UTF-16 rule said: NoCell
// when a character had no form, and nothing was placed. options as for
// ConvertStream.
bool ConvertFile(const Path& sourcePath, const Path& destinationPath, const ConversionRule* rule,
                 bool keepOverwrittenInRecycleBin, Utf8Result* characters = nullptr,
                 const ConversionOptions& options = ConversionOptions{});
