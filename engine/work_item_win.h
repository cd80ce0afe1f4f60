// Making a work item: its paths, and what it holds as the detection decides
// it (or a folder).
#pragma once

#include <windows.h>

#include "engine/work_item.h"
#include "util/path.h"

// Opens a file for reading as the C runtime does (others may read and write
// it meanwhile); INVALID_HANDLE_VALUE when it cannot.
HANDLE OpenSourceFile(const Path& path);

// A new item (NewWorkItem) for the paths, classified: a folder, or what the
// detection says of the file; a file that cannot be opened keeps the system's
// error in openError. Null when it cannot be allocated or a path is longer
// than Windows allows: a cut path could name another file. Where the
// source's attributes are already known (from the enumeration of its folder)
// they are not asked for again; null reads them.
WorkItem* MakeWorkItem(const Path& sourcePath, const Path& destinationPath,
                       const DWORD* knownAttributes = nullptr);

// Classifies an existing item afresh, as MakeWorkItem does (a file that
// could not be opened before may be readable now).
void ClassifyWorkItem(WorkItem* item, const DWORD* knownAttributes = nullptr);

// The same for a file (not a folder) already open for reading, which is
// classified through that handle and closed, whatever the outcome.
WorkItem* MakeWorkItemOpen(const Path& sourcePath, const Path& destinationPath, HANDLE opened);
