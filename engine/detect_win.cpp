#include "engine/detect_win.h"

#include <windows.h>

#include "engine/byte_stream_win.h"
#include "engine/detect.h"
#include "util/holders_win.h"

namespace {

DetectionCode Decide(const char* path, const EncodingEvidence& evidence) {
    DetectionCode code = DecideByContent(evidence);
    if (code != LineEndsDecide) return code;
    // The whole size, not only its low half: a file of 4 GiB or more must not
    // pass the comparison by a coincidence of the low 32 bits.
    std::int32_t high = -1;
    std::uint32_t low = QueryFileSize(path, &high);
    std::uint64_t size = kUnknownFileSize;
    if (high != -1) size = (std::uint64_t{static_cast<std::uint32_t>(high)} << 32) | low;
    return DecideByLineEnds(evidence.bytes, evidence.lines, size);
}

}  // namespace

DetectionCode DetectEncoding(const char* path) {
    EncodingEvidence evidence;
    if (!GatherFileEvidence(path, &evidence)) return DetectionCode::Undetermined;
    return Decide(path, evidence);
}

DetectionCode DetectOpenFile(HANDLE file, const char* path) {
    ByteStream* input = StreamAttachHandle(file, StreamMode::ReadText);
    EncodingEvidence evidence;
    if (input == nullptr || !GatherStreamEvidence(input, &evidence))
        return DetectionCode::Undetermined;
    // Closed by now: the size is asked of the file alone, exclusively.
    return Decide(path, evidence);
}

std::uint32_t QueryFileSize(const char* path, std::int32_t* high) {
    if (high != nullptr) *high = -1;
    // Exclusive access: a file that another program holds open is not sized.
    HandleHolder file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return 0xFFFFFFFFu;
    DWORD highPart = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(file.get(), &highPart);
    // 0xFFFFFFFF is also the low half of a real size: only the error tells.
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0xFFFFFFFFu;
    if (high != nullptr) *high = static_cast<std::int32_t>(highPart);
    return low;
}
