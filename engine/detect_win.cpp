#include "engine/detect_win.h"

#include <windows.h>

#include "engine/byte_stream_win.h"
#include "engine/detect.h"
#include "util/holders_win.h"
#include "util/path_win.h"

namespace {

DetectionCode Decide(const Path& path, const EncodingEvidence& evidence) {
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

DetectionCode DetectEncoding(const Path& path) {
    HANDLE file = CreateFileW(FileApiPath(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return DetectionCode::Undetermined;
    return DetectOpenFile(file, path);
}

DetectionCode DetectOpenFile(HANDLE file, const Path& path, bool* byteOrderMark) {
    if (byteOrderMark != nullptr) *byteOrderMark = false;
    ByteStream* input = StreamAttachHandle(file, StreamMode::ReadBinary);
    EncodingEvidence evidence;
    if (input == nullptr || !GatherStreamEvidence(input, &evidence))
        return DetectionCode::Undetermined;
    if (byteOrderMark != nullptr) *byteOrderMark = evidence.byteOrderMark != ByteOrderMark::None;
    // Closed by now: the size is asked of the file alone, exclusively.
    return Decide(path, evidence);
}

std::uint32_t QueryFileSize(const Path& path, std::int32_t* high) {
    if (high != nullptr) *high = -1;
    // Exclusive access: a file that another program holds open is not sized.
    HandleHolder file(
        CreateFileW(FileApiPath(path), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) return 0xFFFFFFFFu;
    DWORD highPart = 0;
    SetLastError(NO_ERROR);
    DWORD low = GetFileSize(file.get(), &highPart);
    // 0xFFFFFFFF is also the low half of a real size: only the error tells.
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0xFFFFFFFFu;
    if (high != nullptr) *high = static_cast<std::int32_t>(highPart);
    return low;
}
