// The engine's buffered byte streams over the C runtime's binary files. They
// perform the text-mode translations themselves, identically on every build:
//   "r"  reading: CR LF arrives as LF, a lone CR as CR, the first 0x1A ends the input
//   "w"  writing: every LF goes out as CR LF
//   "rb", "wb": bytes pass unchanged
// One byte can be pushed back. The per-byte path is inline.
#pragma once

#include <cstdint>

struct ByteStream;  // defined below the interface, for the inline fast path

// Null when the file cannot be opened or the mode is not one of the four.
ByteStream* StreamOpen(const char* path, const char* mode);
// 0 to 255, or -1 at the end of the input (or a read error).
inline int StreamReadByte(ByteStream* stream);
// The next read returns this byte again.
inline void StreamUnreadByte(ByteStream* stream, int byte);
inline void StreamWriteByte(ByteStream* stream, int byte);
// Closes and frees the stream; true when every byte reached the file.
bool StreamClose(ByteStream* stream);

// ---- implementation details (engine/byte_stream.cpp owns the slow paths) ----
