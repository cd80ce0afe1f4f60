// Engine streams over memory for the fuzz targets: the input bytes as a file
// opened ReadText (or any mode), and an output whose bytes can be read back.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/byte_stream.h"
#include "engine/conversion.h"

// A reading stream over a copy of the bytes.
class MemoryInput {
  public:
    MemoryInput(const std::uint8_t* data, std::size_t size, StreamMode mode)
        : bytes_(data, data + size) {
        bytes_.push_back(0);  // fmemopen wants a size of at least one
        std::FILE* file = fmemopen(bytes_.data(), size == 0 ? 1 : size, "rb");
        if (file != nullptr && size == 0) std::fgetc(file);  // nothing to read then
        stream = StreamAttach(file, mode);
        if (stream == nullptr) std::abort();
    }
    ~MemoryInput() {
        if (stream != nullptr) StreamClose(stream);
    }
    MemoryInput(const MemoryInput&) = delete;
    MemoryInput& operator=(const MemoryInput&) = delete;

    ByteStream* stream;

  private:
    std::vector<std::uint8_t> bytes_;
};

// A writing stream whose bytes are handed back by Close.
class MemoryOutput {
  public:
    explicit MemoryOutput(StreamMode mode) {
        stream = StreamAttach(open_memstream(&buffer_, &size_), mode);
        if (stream == nullptr) std::abort();
    }
    ~MemoryOutput() { std::free(buffer_); }
    MemoryOutput(const MemoryOutput&) = delete;
    MemoryOutput& operator=(const MemoryOutput&) = delete;

    std::string Close() {
        bool written = false;
        std::string bytes = Close(&written);
        if (!written) std::abort();
        return bytes;
    }

    // For an output that a conversion may have marked failed on purpose.
    std::string Close(bool* written) {
        *written = StreamClose(stream);
        stream = nullptr;
        return std::string(buffer_, size_);
    }

    ByteStream* stream;

  private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
};

// Converts the bytes with the rule, as a file conversion would.
inline std::string Transcode(const std::uint8_t* data, std::size_t size,
                             const ConversionRule* rule) {
    MemoryInput input(data, size, StreamMode::ReadText);
    MemoryOutput output(rule->outputMode);
    TranscodeStream(input.stream, output.stream, rule);
    return output.Close();
}
