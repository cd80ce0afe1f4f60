// Detection over arbitrary bytes: the pass never fails, gives one of the seven
// codes, and its verdicts are exactly those of the plain pass that feeds every
// recognizer every delivered byte through the base class (or, after a UTF-16
// byte-order mark, judges every unit).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/detect.h"
#include "tests/fuzz/support/memory_streams.h"
#include "tests/native/support/plain_pass.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EncodingEvidence evidence;
    {
        MemoryInput input(data, size, StreamMode::ReadBinary);
        GatherEvidence(input.stream, &evidence);
    }
    DetectionCode code = DecideEncoding(evidence, size);
    switch (code) {
        case DetectionCode::Undetermined:
        case DetectionCode::EucJp:
        case DetectionCode::ShiftJis:
        case DetectionCode::Iso2022Jp:
        case DetectionCode::Utf8:
        case DetectionCode::Utf16Le:
        case DetectionCode::Utf16Be:
            break;
        default:
            std::abort();
    }
    if (evidence.settledEarly && code != DetectionCode::Undetermined) std::abort();
    std::string file(reinterpret_cast<const char*>(data), size);
    if (!Disagreement(evidence, PlainPass(file)).empty()) std::abort();
    return 0;
}
