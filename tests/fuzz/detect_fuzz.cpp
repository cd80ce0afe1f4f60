// Detection over arbitrary bytes: the pass never fails, and its verdicts are
// exactly those of a plain pass that feeds every recognizer every delivered
// byte through the base class.
#include <cstdint>
#include <cstdlib>

#include "engine/detect.h"
#include "engine/recognizers.h"
#include "tests/fuzz/support/memory_streams.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    EncodingEvidence evidence;
    {
        MemoryInput input(data, size, "r");
        GatherEvidence(input.stream, &evidence);
    }
    DetectionCode code = DecideEncoding(evidence, size);
    if (code < Undetermined || code > Iso2022Jp) std::abort();

    Iso2022JpRecognizer j;
    ShiftJisRecognizer s;
    EucJpRecognizer e;
    EscapeOrHighByteCounter a;
    Utf8Recognizer u;
    CodeRecognizer* all[] = {&j, &s, &e, &a, &u};
    std::uint64_t bytes = 0, lines = 0;
    {
        MemoryInput input(data, size, "r");
        for (int b = StreamReadByte(input.stream); b >= 0; b = StreamReadByte(input.stream)) {
            for (CodeRecognizer* r : all) r->Feed(b);
            bytes++;
            lines += b == '\n';
        }
    }
    for (CodeRecognizer* r : all) r->Feed(-1);
    if ((evidence.iso2022Jp == 0) != (j.count == 0)) std::abort();
    if ((evidence.shiftJis == 0) != (s.count == 0)) std::abort();
    if ((evidence.eucJp == 0) != (e.count == 0)) std::abort();
    if (evidence.settledEarly) {
        if (code != Undetermined) std::abort();
        return 0;
    }
    if ((evidence.escapeOrHigh == 0) != (a.count == 0)) std::abort();
    if (evidence.utf8NonAscii != (u.count == 0 && u.nonAscii)) std::abort();
    if (evidence.bytes != bytes || evidence.lines != lines) std::abort();
    return 0;
}
