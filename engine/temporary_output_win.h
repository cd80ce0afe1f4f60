// The temporary file a conversion writes into: beside the program, under the
// program's own name with a three-digit extension.
#pragma once

#include "engine/byte_stream.h"
#include "util/path.h"

// Opens a new file beside the program, named after it with ".000" to ".999",
// with the given stream mode. Null when none could be created; on success
// path holds the file's path. With readBack, the file is also open for
// reading (through StreamHandle) and is deleted when the stream is closed.
ByteStream* CreateTemporaryOutput(Path* path, StreamMode mode, bool readBack = false);
