// Putting a finished result in the place of its destination, all or nothing:
// afterwards the destination holds either its complete old bytes (or is still
// missing) or the complete new bytes, whatever fails and whenever.
#pragma once

#include <windows.h>

#include "util/path.h"

// What the destination's own open file told, where the caller had it open
// anyway (a file rewritten in place is the source it was read from), so that
// it is not opened once more to be described.
struct DestinationFacts {
    DWORD attributes;  // as GetFileAttributesW gives them for the path
    bool mayBeLink;    // it may be a symbolic link, to be followed
    DWORD numberOfLinks;
};
// Asks them of the file open at path. False when it cannot tell.
bool DescribeDestination(HANDLE file, const Path& path, DestinationFacts* facts);

// What the result takes over from the source, and how a protected
// destination is treated.
struct Placement {
    // The source's find data: its attributes and times go to the result.
    const WIN32_FIND_DATAW* source;
    // A conversion gives the result all three times and replaces read-only,
    // hidden and system destinations. A plain copy gives only the last write
    // time and refuses such a destination, as CopyFileW does.
    bool conversion;
    // The old destination goes to the Recycle Bin, once the new bytes are
    // complete and ready to take its place.
    bool keepOverwrittenInRecycleBin;
    // What is already known of the destination, or null: it is looked at.
    const DestinationFacts* known = nullptr;
};

// Copies the bytes of resultPath into a staged file beside the destination
// (same folder, so same volume), makes it durable, gives it the source's
// times and attributes, and renames it over the destination in one step. On
// any failure the staged file is removed, the destination is left as it was,
// and the failure is traced with the destination's name and the reason.
//
// A destination reached through a symbolic link is replaced where the link
// leads. A destination with more than one name (a hard link) cannot be
// replaced by a rename without leaving its other names on the old bytes: its
// old bytes are first kept in a staged copy, the new bytes are written into
// the file itself, and if that fails the old bytes are written back.
bool PlaceResult(const Path& resultPath, const Path& destinationPath, const Placement* placement);
// The same with the new bytes in a file the caller has open for reading (the
// converted text in its temporary file, say): they are read from its start,
// and the file stays open.
bool PlaceResultFrom(HANDLE result, const Path& destinationPath, const Placement* placement);

// The call that writes one block of the new bytes. Tests put in its place one
// that fails part way, as a full volume or a pulled stick does; returns the
// routine it replaces (null restores WriteFile).
using BlockWriter = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
BlockWriter SetBlockWriter(BlockWriter writer);
