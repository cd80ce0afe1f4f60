#include "engine/byte_stream.h"

#include <cstring>
#include <new>

#include "engine/word_scan.h"

namespace {

constexpr unsigned char kCr = 0x0D;
constexpr unsigned char kLf = 0x0A;
constexpr unsigned char kEndMark = 0x1A;  // end of a text file, in text mode
constexpr int kNoSpecialByte = 0x100;

unsigned char* BlockStart(ByteStream* stream) { return stream->storage + kStreamPushbackRoom; }

// What a mode asks of a stream; not valid for a value that is none of the four.
struct ModeTraits {
    bool valid;
    bool reading;
    bool text;
};

ModeTraits TraitsOf(StreamMode mode) {
    switch (mode) {
        case StreamMode::ReadText:
            return {true, true, true};
        case StreamMode::ReadBinary:
            return {true, true, false};
        case StreamMode::WriteText:
            return {true, false, true};
        case StreamMode::WriteBinary:
            return {true, false, false};
    }
    return {false, false, false};
}

// The last stream closed, kept for the next one opened. A stream holds a
// block of 128 KiB; a run over many small files opens three streams per file,
// and the heap would hand each block back to the system when it is freed and
// ask for it again at the next opening. Streams are opened and closed on one
// thread (the program has no other).
ByteStream* spareStream = nullptr;

ByteStream* NewStream() {
    ByteStream* stream = spareStream;
    spareStream = nullptr;
    return stream != nullptr ? stream : new (std::nothrow) ByteStream;
}

void FreeStream(ByteStream* stream) {
    if (spareStream == nullptr) {
        spareStream = stream;
    } else {
        delete stream;
    }
}

ByteStream* CreateStream(std::FILE* file, ModeTraits mode) {
    const bool reading = mode.reading;
    const bool text = mode.text;
    ByteStream* stream = NewStream();
    if (stream == nullptr) {
        std::fclose(file);
        return nullptr;
    }
    stream->file = file;
    stream->reading = reading;
    stream->text = text;
    stream->fileEnded = !reading;
    stream->inputEnded = !reading;
    stream->carriedCr = false;
    stream->endMarkSeen = false;
    stream->dataAfterMark = 0;
    stream->failed = false;
    stream->readNext = BlockStart(stream);
    stream->readEnd = stream->readNext;
    if (reading) {
        stream->writeNext = nullptr;
        stream->writeEnd = nullptr;
        stream->writeSpecial = kNoSpecialByte;
    } else {
        // No pushed-back byte can land in a write stream: readNext is at the
        // very start of the storage.
        stream->readNext = stream->storage;
        stream->readEnd = stream->storage;
        stream->writeNext = BlockStart(stream);
        stream->writeEnd = stream->writeNext + kStreamBlockSize;
        stream->writeSpecial = text ? kLf : kNoSpecialByte;
    }
    return stream;
}

// Reads up to length bytes; a short count means the file has no more.
std::size_t ReadFromFile(ByteStream* stream, unsigned char* into, std::size_t length) {
    if (stream->fileEnded) return 0;
    std::size_t got = std::fread(into, 1, length, stream->file);
    if (got < length) {
        stream->fileEnded = true;
        if (std::ferror(stream->file)) stream->failed = true;
    }
    return got;
}

// memchr, sixteen or eight bytes at a time (see engine/word_scan.h): the C runtime's
// own looks at one byte at a time on some systems (Wine's among them), and
// every block read in text mode is searched twice.
const unsigned char* FindByte(const unsigned char* p, std::size_t length, unsigned char byte) {
    const unsigned char* end = p + length;
#if TAVELIN_SSE2
    while (end - p >= kBlockBytes) {
        unsigned found = BytesEqualToMask(LoadBlock(p), byte);
        if (found != 0) return p + BytesBeforeFirstInMask(found);
        p += kBlockBytes;
    }
#endif
    while (end - p >= 8) {
        std::uint64_t found = AnyBytesEqualTo(LoadWord(p), byte);
        if (found != 0) return p + BytesBeforeFirst(found);
        p += 8;
    }
    for (; p < end; p++) {
        if (*p == byte) return p;
    }
    return nullptr;
}

// Whether either of two bytes occurs, in one pass: a block read in text mode
// most often holds neither an end mark nor a CR.
bool HoldsEither(const unsigned char* p, std::size_t length, unsigned char one,
                 unsigned char other) {
    const unsigned char* end = p + length;
#if TAVELIN_SSE2
    while (end - p >= kBlockBytes) {
        __m128i block = LoadBlock(p);
        if ((BytesEqualToMask(block, one) | BytesEqualToMask(block, other)) != 0) return true;
        p += kBlockBytes;
    }
#endif
    while (end - p >= 8) {
        std::uint64_t word = LoadWord(p);
        if ((AnyBytesEqualTo(word, one) | AnyBytesEqualTo(word, other)) != 0) return true;
        p += 8;
    }
    for (; p < end; p++) {
        if (*p == one || *p == other) return true;
    }
    return false;
}

// Whether the bytes after an end mark hold anything but further end marks.
int ClassifyAfterMark(const unsigned char* bytes, std::size_t length) {
    for (std::size_t i = 0; i < length; i++) {
        if (bytes[i] != kEndMark) return 1;
    }
    return 0;
}

// Applies the ReadText translations to a freshly read block in place and returns
// the number of bytes left to deliver.
std::size_t TranslateTextBlock(ByteStream* stream, unsigned char* block, std::size_t length) {
    if (!HoldsEither(block, length, kEndMark, kCr)) return length;
    const unsigned char* mark = FindByte(block, length, kEndMark);
    if (mark != nullptr) {
        std::size_t at = static_cast<std::size_t>(mark - block);
        stream->endMarkSeen = true;
        stream->inputEnded = true;
        stream->dataAfterMark = ClassifyAfterMark(mark + 1, length - at - 1);
        // Only end marks so far: the rest of the file settles it, if anyone asks.
        if (stream->dataAfterMark == 0 && !stream->fileEnded) stream->dataAfterMark = -1;
        length = at;
    }
    // CR LF becomes LF: move the bytes between the dropped CRs down.
    const unsigned char* cr = FindByte(block, length, kCr);
    if (cr != nullptr) {
        unsigned char* end = block + length;
        unsigned char* to = block + (cr - block);
        const unsigned char* from = cr;
        while (from < end) {
            if (from[0] == kCr && from + 1 < end && from[1] == kLf) from++;
            *to++ = *from++;
        }
        length = static_cast<std::size_t>(to - block);
    }
    // A CR at the very end of a block may be the first half of a pair that the
    // next block completes: hold it back until that block is read.
    if (length > 0 && block[length - 1] == kCr && !stream->inputEnded && !stream->fileEnded) {
        length--;
        stream->carriedCr = true;
    }
    return length;
}

void FillBlock(ByteStream* stream) {
    unsigned char* block = BlockStart(stream);
    std::size_t length = 0;
    if (stream->carriedCr) {
        block[length++] = kCr;
        stream->carriedCr = false;
    }
    length += ReadFromFile(stream, block + length, kStreamBlockSize - length);
    if (stream->text) length = TranslateTextBlock(stream, block, length);
    if (stream->fileEnded && !stream->carriedCr) stream->inputEnded = true;
    stream->readNext = block;
    stream->readEnd = block + length;
}

void FlushBlock(ByteStream* stream) {
    unsigned char* block = BlockStart(stream);
    auto length = static_cast<std::size_t>(stream->writeNext - block);
    if (length > 0 && !stream->failed) {
        if (std::fwrite(block, 1, length, stream->file) != length) stream->failed = true;
    }
    // After a failure the bytes are dropped: the result is already lost, and
    // the close reports it.
    stream->writeNext = block;
}

}  // namespace

ByteStream* StreamOpen(const char* path, StreamMode mode) {
    ModeTraits parsed = TraitsOf(mode);
    if (path == nullptr || !parsed.valid) return nullptr;
    // Always binary underneath: the translations are done here, the same way
    // on every platform.
    std::FILE* file = std::fopen(path, parsed.reading ? "rb" : "wb");
    if (file == nullptr) return nullptr;
    // Our own blocks are the buffer: the C runtime's would only add a copy.
    std::setvbuf(file, nullptr, _IONBF, 0);
    return CreateStream(file, parsed);
}

ByteStream* StreamAttach(std::FILE* file, StreamMode mode) {
    if (file == nullptr) return nullptr;
    ModeTraits parsed = TraitsOf(mode);
    if (!parsed.valid) {
        std::fclose(file);
        return nullptr;
    }
    return CreateStream(file, parsed);
}

bool StreamRefill(ByteStream* stream) {
    // A block may deliver nothing (it began with 0x1A, or the file ended):
    // read until there are bytes or the input has ended.
    while (stream->readNext == stream->readEnd) {
        if (stream->inputEnded) return false;
        FillBlock(stream);
    }
    return true;
}

int StreamFillAndRead(ByteStream* stream) {
    if (!StreamRefill(stream)) return -1;
    return *stream->readNext++;
}

void StreamWriteSlow(ByteStream* stream, int byte) {
    if (stream->reading) {
        stream->failed = true;
        return;
    }
    bool crLf = stream->text && byte == kLf;
    if (stream->writeEnd - stream->writeNext < (crLf ? 2 : 1)) FlushBlock(stream);
    if (crLf) *stream->writeNext++ = kCr;
    *stream->writeNext++ = static_cast<unsigned char>(byte);
}

void StreamSwitchToText(ByteStream* stream) {
    if (!stream->reading || stream->text) return;
    stream->text = true;
    if (stream->readNext == stream->readEnd) return;  // the first block is read as text
    auto length = static_cast<std::size_t>(stream->readEnd - stream->readNext);
    length = TranslateTextBlock(stream, stream->readNext, length);
    stream->readEnd = stream->readNext + length;
    if (stream->fileEnded && !stream->carriedCr) stream->inputEnded = true;
}

bool StreamFailed(const ByteStream* stream) { return stream->failed; }

void StreamMarkFailed(ByteStream* stream) { stream->failed = true; }

bool StreamDataFollowsEndMark(ByteStream* stream) {
    if (!stream->endMarkSeen) return false;
    if (stream->dataAfterMark < 0) {
        // Only end marks up to the end of the block that held the first one:
        // look at the rest of the file, in small pieces, without touching the
        // block (it may still hold undelivered bytes).
        unsigned char piece[4096];
        stream->dataAfterMark = 0;
        while (stream->dataAfterMark == 0 && !stream->fileEnded) {
            std::size_t got = ReadFromFile(stream, piece, sizeof piece);
            stream->dataAfterMark = ClassifyAfterMark(piece, got);
        }
    }
    return stream->dataAfterMark == 1;
}

bool StreamFlush(ByteStream* stream) {
    if (stream->reading) return !stream->failed;
    FlushBlock(stream);
    if (std::fflush(stream->file) != 0) stream->failed = true;
    return !stream->failed;
}

bool StreamClose(ByteStream* stream) {
    if (stream == nullptr) return false;
    if (!stream->reading) FlushBlock(stream);
    bool closed = std::fclose(stream->file) == 0;
    bool ok = closed && !stream->failed;
    FreeStream(stream);
    return ok;
}
