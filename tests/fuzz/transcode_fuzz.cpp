// Each of the four conversion rules over arbitrary bytes: nothing fails, and
// the fast loop writes exactly what the plain loop (one call of the rule's
// reader, mapper and writer per character) writes.
#include <cstdint>
#include <cstdlib>

#include "engine/conversion.h"
#include "engine/mappers.h"
#include "tests/fuzz/support/memory_streams.h"

namespace {
// A writer of its own makes TranscodeStream take the plain loop.
void WriteThroughPointer(CodeChar value, ByteStream* output) { WriteCodeChar(value, output); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const ConversionRule& rule : ConversionTable) {
        ConversionRule plain = rule;
        plain.writer = WriteThroughPointer;
        if (Transcode(data, size, &rule) != Transcode(data, size, &plain)) std::abort();
    }
    return 0;
}
