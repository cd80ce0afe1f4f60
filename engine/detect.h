// The portable part of the encoding detection: one pass over a text-mode
// stream that feeds the recognizers and counts bytes and line ends, and the
// decision over what that pass found. engine/detect_win.h adds the file size.
#pragma once

#include <cstdint>

#include "engine/byte_stream.h"
#include "engine/detection_code.h"

// The byte-order mark a file starts with.
enum class ByteOrderMark : std::uint8_t { None, Utf8, Utf16Le, Utf16Be };

struct EncodingEvidence {
    // How many bytes broke the rules of each validator (ISO-2022-JP,
    // Shift-JIS, EUC-JP), and how many bytes were ESC or 8-bit (0x80 and
    // above). Only whether a count is zero matters, so a validator that has
    // found a violation is not fed any further; its count stays at the first
    // few.
    std::int32_t iso2022Jp = 0;
    std::int32_t shiftJis = 0;
    std::int32_t eucJp = 0;
    std::int32_t escapeOrHigh = 0;
    // The bytes the text-mode stream delivered (a CR LF pair as one LF,
    // nothing from the end mark on), and the LF bytes among them: set against
    // the file's size, they tell what text mode removed.
    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;
    // Well-formed UTF-8 holding at least one byte of 0x80 or above.
    bool utf8NonAscii = false;
    // A 0x1A ended the input, and bytes other than 0x1A follow it in the file.
    bool dataAfterEndMark = false;
    // A NUL byte was delivered. No text in these encodings holds one; UTF-16
    // without a byte-order mark does, and often passes the validators.
    bool holdsNul = false;
    // The pass stopped early: at a NUL byte, or when all three validators and
    // the UTF-8 check had found violations; nothing later could make the file
    // anything but undetermined. The counts (and, after a NUL, the verdicts)
    // are then incomplete and mean nothing.
    bool settledEarly = false;
    // The mark the file starts with, as it is on disk. A file with a UTF-16
    // mark is read as UTF-16 alone (engine/utf16.h), and only whether it is
    // well-formed after the mark is gathered: the fields above stay as they
    // are.
    ByteOrderMark byteOrderMark = ByteOrderMark::None;
    bool utf16WellFormed = false;
};

// Reads the stream to its end and gathers the evidence. The stream is opened
// ReadBinary, and nothing has been read from it: the first bytes are looked
// at as they are on disk, for a byte-order mark, and then, unless they are a
// UTF-16 mark, the stream is read as text (StreamSwitchToText).
void GatherEvidence(ByteStream* input, EncodingEvidence* evidence);
// Opens the path ReadBinary, gathers and closes. False when the file cannot be opened
// or was not read completely (a read error): nothing can be decided then.
bool GatherFileEvidence(const char* path, EncodingEvidence* evidence);
// The same for a stream already open ReadBinary, which is closed.
bool GatherStreamEvidence(ByteStream* input, EncodingEvidence* evidence);

// What DecideByContent answers when only the line ends can decide: no code of
// a file's.
constexpr DetectionCode LineEndsDecide = DetectionCode{0};
// Stands for a file size that could not be read.
constexpr std::uint64_t kUnknownFileSize = ~std::uint64_t{0};

// UTF-16 by its mark, the safety rules (data after the end mark, NUL bytes,
// UTF-8) and the decision by the validators; LineEndsDecide when the file
// size has to settle it.
DetectionCode DecideByContent(const EncodingEvidence& evidence);
// Compares what text mode delivered with the file's size: nothing removed is
// EUC-JP (LF line ends), exactly one CR per line end removed is Shift-JIS.
DetectionCode DecideByLineEnds(std::uint64_t bytes, std::uint64_t lines, std::uint64_t fileSize);
// Both steps, for a size known in advance.
DetectionCode DecideEncoding(const EncodingEvidence& evidence, std::uint64_t fileSize);
