// Carrying one work item from its source to its destination: folders are
// mirrored, files converted through a temporary file beside the program or
// copied, and the result keeps the source's times and attributes.
#pragma once

#include <windows.h>

#include "engine/byte_stream.h"
#include "engine/conversion.h"
#include "engine/work_item.h"

// Opens a file for reading as the C runtime does (others may read and write
// it meanwhile); INVALID_HANDLE_VALUE when it cannot.
HANDLE OpenSourceFile(const char* path);

// Fills the item's paths and classifies it (a folder, or what DetectEncoding
// says). False, with the item left empty and undetermined, when a path does
// not fit the item's buffers: a cut path could name another file.
bool InitWorkItem(WorkItem* item, const char* sourcePath, const char* destinationPath);
// The same with the source's attributes already known (from the enumeration
// of its folder), so that they are not asked for again; null reads them.
bool InitWorkItemKnowing(WorkItem* item, const char* sourcePath, const char* destinationPath,
                         const DWORD* knownAttributes);

// The same for a file (not a folder) already open for reading, which is
// classified through that handle and closed, whatever the outcome.
bool InitWorkItemOpen(WorkItem* item, const char* sourcePath, const char* destinationPath,
                      HANDLE opened);

// Mirrors a folder or hands a file to ConvertOrCopyItem; always true (the run
// goes on whatever happened to one item).
bool ProcessWorkItem(const WorkItem* item, ConversionMask mask, bool keepOverwrittenInRecycleBin);
// Skips an undetermined file (false), converts one with a matching rule, or
// copies it unchanged (all or nothing, as a conversion is placed); true when
// the destination received the result.
bool ConvertOrCopyItem(const WorkItem* item, ConversionMask mask, bool keepOverwrittenInRecycleBin);
// Converts through a temporary file beside the program, then puts the result
// in the destination's place in one step (PlaceResult: the old destination
// goes to the Recycle Bin, when asked, only once the new bytes are complete),
// with the source's times and attributes. True only when the converted text
// reached the destination; otherwise the destination is as it was.
bool ConvertFile(const char* sourcePath, const char* destinationPath, const ConversionRule* rule,
                 bool keepOverwrittenInRecycleBin);

// Opens a new file beside the program, named after it with ".000" to ".999",
// with the given stream mode. Null when none could be created; on success the
// buffer holds the file's path.
ByteStream* CreateTemporaryOutput(char* buffer, int capacity, const char* mode);
// The same; with readBack, the file is also open for reading (through
// StreamHandle) and is deleted when the stream is closed.
ByteStream* CreateTemporaryStream(char* buffer, int capacity, const char* mode, bool readBack);

// True when both the three times and the attributes were set.
bool RestoreTimesAndAttributes(const char* path, const WIN32_FIND_DATAA* found);
// Creates the folder (its parent must exist) and gives it the template's
// attributes; false when it already existed or could not be made.
bool CreateMirrorDirectory(const char* templateFolder, const char* newFolder,
                           SECURITY_ATTRIBUTES* security);
