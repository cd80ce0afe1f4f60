// The engine's buffered byte streams over the C runtime's binary files. They
// perform the text-mode translations themselves, identically on every build.
// One byte can be pushed back. The per-byte path is inline.
#pragma once

#include <cstdint>

// The C runtime's "r", "rb", "w" and "wb".
enum class StreamMode {
    ReadText,     // CR LF arrives as LF, a lone CR as CR, the first 0x1A ends the input
    ReadBinary,   // bytes pass unchanged
    WriteText,    // every LF goes out as CR LF
    WriteBinary,  // bytes pass unchanged
};

constexpr bool IsReadMode(StreamMode mode) {
    return mode == StreamMode::ReadText || mode == StreamMode::ReadBinary;
}

struct ByteStream;  // defined below the interface, for the inline fast path

// Null when the file cannot be opened or the mode is not one of the four.
ByteStream* StreamOpen(const char* path, StreamMode mode);
// 0 to 255, or -1 at the end of the input (or a read error).
inline int StreamReadByte(ByteStream* stream);
// The next read returns this byte again.
inline void StreamUnreadByte(ByteStream* stream, int byte);
inline void StreamWriteByte(ByteStream* stream, int byte);
// Closes and frees the stream; true when every byte reached the file.
bool StreamClose(ByteStream* stream);
// Hands every byte written so far to the file, leaving the stream open; true
// when all of them reached it. Nothing to do for a stream being read.
bool StreamFlush(ByteStream* stream);

// ---- implementation details (engine/byte_stream.cpp owns the slow paths) ----

#include <cstdio>

// Takes over a file the caller opened in binary mode (for memory files in
// tests), with the buffering the caller chose; the stream closes it. Null,
// with the file closed, for a bad mode.
ByteStream* StreamAttach(std::FILE* file, StreamMode mode);
// True when a read or a write has failed so far. A read error ends the input
// like the end of the file; StreamClose then reports false.
bool StreamFailed(const ByteStream* stream);
// Marks the stream as failed, so that its StreamClose reports false: an output
// made from an input that could not be read completely must not be taken for a
// complete result.
void StreamMarkFailed(ByteStream* stream);
// A stream opened ReadBinary from which nothing has been read yet (its
// first bytes may have been looked at in the block, after
// StreamHasBufferedBytes) is read ReadText from here on: the block is
// translated as if it had been read that way. So a file's first bytes can be
// seen as they are (a UTF-16 byte-order mark) before it is read as text,
// without reading it twice.
void StreamSwitchToText(ByteStream* stream);
// ReadText only: true when the input was ended by a 0x1A byte and some byte other
// than 0x1A follows it in the file (a binary file rather than a text with a
// final end-of-file mark). May read the rest of the file to find out.
bool StreamDataFollowsEndMark(ByteStream* stream);

// Bytes are read and written in blocks of this size. Tests place CR LF pairs,
// escape sequences and double-byte characters across its boundaries.
constexpr int kStreamBlockSize = 128 * 1024;
// Room in front of a block for pushed-back bytes: at least this many bytes can
// be pushed back in a row.
constexpr int kStreamPushbackRoom = 16;

struct ByteStream {
    // Reading: the bytes from readNext up to readEnd are ready for delivery,
    // already translated. Writing: readNext == readEnd (nothing to read).
    unsigned char* readNext;
    unsigned char* readEnd;
    // Writing: free space from writeNext up to writeEnd. Reading: both null,
    // so that a stray write takes the slow path, which refuses it.
    unsigned char* writeNext;
    unsigned char* writeEnd;
    // The one byte value that the inline write path must not store directly:
    // LF in WriteText (it goes out as CR LF); 0x100, which no byte equals,
    // otherwise.
    int writeSpecial;
    std::FILE* file;
    bool reading;
    bool text;
    bool fileEnded;     // the file has no more bytes (or a read failed)
    bool inputEnded;    // nothing more will be delivered beyond the buffered bytes
    bool carriedCr;     // a CR ended the last block; the next block decides its fate
    bool endMarkSeen;   // ReadText: a 0x1A ended the input
    int dataAfterMark;  // after the 0x1A: -1 not known yet, 0 only 0x1A bytes, 1 other bytes
    bool failed;
    unsigned char storage[kStreamPushbackRoom + kStreamBlockSize];
};

// Slow paths: a new block, or a byte that needs translating or a flush.
int StreamFillAndRead(ByteStream* stream);
bool StreamRefill(ByteStream* stream);
void StreamWriteSlow(ByteStream* stream, int byte);

// For scanners that work on the block itself: makes sure bytes are ready
// between readNext and readEnd, reading the next block when all are used;
// false at the end of the input. The scanner consumes bytes by advancing readNext.
inline bool StreamHasBufferedBytes(ByteStream* stream) {
    return stream->readNext < stream->readEnd || StreamRefill(stream);
}

// For runs that move bytes from the input's block straight into the
// output's: where they start reading and writing, and how far they may go.
// StreamsMovedTo hands the positions they reached back to the streams.
struct BlockRun {
    unsigned char* readNext;
    const unsigned char* readEnd;
    unsigned char* writeNext;
    const unsigned char* writeEnd;
};

inline BlockRun StartBlockRun(ByteStream* input, ByteStream* output) {
    return {input->readNext, input->readEnd, output->writeNext, output->writeEnd};
}

// True when the run took anything.
inline bool StreamsMovedTo(ByteStream* input, unsigned char* readNext, ByteStream* output,
                           unsigned char* writeNext) {
    bool moved = readNext != input->readNext;
    input->readNext = readNext;
    output->writeNext = writeNext;
    return moved;
}

inline int StreamReadByte(ByteStream* stream) {
    if (stream->readNext < stream->readEnd) return *stream->readNext++;
    return StreamFillAndRead(stream);
}

inline void StreamUnreadByte(ByteStream* stream, int byte) {
    // Like ungetc: pushing back the end marker does nothing.
    if (byte >= 0 && stream->reading && stream->readNext > stream->storage) {
        *--stream->readNext = static_cast<unsigned char>(byte);
    }
}

inline void StreamWriteByte(ByteStream* stream, int byte) {
    auto b = static_cast<unsigned char>(byte);
    if (stream->writeNext < stream->writeEnd && b != stream->writeSpecial) {
        *stream->writeNext++ = b;
    } else {
        StreamWriteSlow(stream, b);
    }
}
