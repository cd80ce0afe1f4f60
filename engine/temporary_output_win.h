// The temporary file a conversion writes into before its result is put in
// place: beside the program where that folder can be written, else beside the
// destination, else in the user's temporary folder.
#pragma once

#include "engine/byte_stream.h"
#include "util/path.h"

// Opens a new file for the converted text of destinationPath, with the given
// stream mode, in the first of these places that takes one:
//   1. beside the program, named after it with ".000" to ".999";
//   2. in the destination's own folder, under a staged name
//      (engine/staged_name.h), which the gathering never takes for a text;
//   3. in the user's temporary folder (GetTempPathW), under a staged name.
// A place that refuses a new file (a folder the user may not write, a
// missing folder, a full volume) is left for the next. Null when none took
// one: path is then empty and GetLastError tells why the last place refused.
// On success path holds the file's path. With readBack, the file is also open
// for reading (through StreamHandle) and is deleted when the stream is
// closed.
ByteStream* CreateTemporaryOutput(const Path& destinationPath, Path* path, StreamMode mode,
                                  bool readBack = false);
