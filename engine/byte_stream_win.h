// The byte streams over a file the caller has already opened with the Win32
// API, so that a file created exclusively is written through the same handle
// rather than opened a second time by name.
#pragma once

#include <windows.h>

#include "engine/byte_stream.h"

// Takes over the handle (opened for reading for the read modes, for writing
// for the write modes); the stream closes it. Null, with the handle closed,
// when the C runtime cannot take it or the mode is not one of the four.
ByteStream* StreamAttachHandle(HANDLE file, StreamMode mode);
// The handle underneath a stream made by StreamAttachHandle (or opened by
// name), still owned by the stream.
HANDLE StreamHandle(ByteStream* stream);
