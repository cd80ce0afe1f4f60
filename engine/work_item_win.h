// Making a work item: its paths, and what it holds as the detection decides
// it (or a folder).
#pragma once

#include <windows.h>

#include "engine/work_item.h"

// Opens a file for reading as the C runtime does (others may read and write
// it meanwhile); INVALID_HANDLE_VALUE when it cannot.
HANDLE OpenSourceFile(const char* path);

// Fills the item's paths and classifies it (a folder, or what the detection
// says of the file; a file that cannot be opened keeps the system's error in
// openError). False, with the item left empty and undetermined, when a path does
// not fit the item's buffers: a cut path could name another file. Where the
// source's attributes are already known (from the enumeration of its folder)
// they are not asked for again; null reads them.
bool InitWorkItem(WorkItem* item, const char* sourcePath, const char* destinationPath,
                  const DWORD* knownAttributes = nullptr);

// The same for a file (not a folder) already open for reading, which is
// classified through that handle and closed, whatever the outcome.
bool InitWorkItemOpen(WorkItem* item, const char* sourcePath, const char* destinationPath,
                      HANDLE opened);
