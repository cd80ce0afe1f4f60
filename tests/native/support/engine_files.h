// Scratch files for the engine's native tests: bytes go in through a real
// file and come back out, so the streams are exercised as the program uses them.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/byte_stream.h"
#include "engine/conversion.h"

// A file in the temporary folder, removed with the object.
class ScratchFile {
  public:
    explicit ScratchFile(const std::string& bytes = std::string()) {
        const char* folder = std::getenv("TMPDIR");
        path_ = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                "/tavelin-engine-XXXXXX";
        int fd = mkstemp(&path_[0]);
        if (fd >= 0) close(fd);
        Write(bytes);
    }
    ~ScratchFile() { std::remove(path_.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const char* path() const { return path_.c_str(); }

    void Write(const std::string& bytes) const {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (f == nullptr) return;
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }

    std::string Read() const {
        std::string bytes;
        std::FILE* f = std::fopen(path_.c_str(), "rb");
        if (f == nullptr) return "<missing>";
        char buffer[65536];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, got);
        std::fclose(f);
        return bytes;
    }

  private:
    std::string path_;
};

// The reading rules of ReadText, applied to a whole file at once: CR LF becomes
// LF, and the first 0x1A ends the input.
inline std::string TextModeReading(const std::string& bytes) {
    std::string delivered;
    for (std::size_t i = 0; i < bytes.size(); i++) {
        if (bytes[i] == '\x1A') break;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        delivered += bytes[i];
    }
    return delivered;
}

// Everything a stream opened with the mode delivers from a file holding the bytes.
inline std::string ReadThrough(const std::string& bytes, StreamMode mode) {
    ScratchFile file(bytes);
    ByteStream* stream = StreamOpen(file.path(), mode);
    if (stream == nullptr) return "<no stream>";
    std::string delivered;
    for (int b = StreamReadByte(stream); b >= 0; b = StreamReadByte(stream)) {
        delivered += static_cast<char>(b);
    }
    if (!StreamClose(stream)) return "<close failed>";
    return delivered;
}

// What lands in a file when the bytes are written one by one with the mode.
inline std::string WriteThrough(const std::string& bytes, StreamMode mode) {
    ScratchFile file;
    ByteStream* stream = StreamOpen(file.path(), mode);
    if (stream == nullptr) return "<no stream>";
    for (char c : bytes) StreamWriteByte(stream, static_cast<unsigned char>(c));
    if (!StreamClose(stream)) return "<close failed>";
    return file.Read();
}

// The converted file, as the program makes it: input opened ReadText, output
// opened with the rule's mode.
inline std::string TranscodeBytes(const std::string& bytes, const ConversionRule* rule) {
    ScratchFile from(bytes);
    ScratchFile to;
    ByteStream* input = StreamOpen(from.path(), StreamMode::ReadText);
    ByteStream* output = StreamOpen(to.path(), rule->outputMode);
    if (input == nullptr || output == nullptr) return "<no stream>";
    TranscodeStream(input, output, rule);
    bool read = StreamClose(input);
    bool written = StreamClose(output);
    if (!read || !written) return "<close failed>";
    return to.Read();
}

// The rule for a source encoding and a direction (the test fails if there is none).
inline const ConversionRule* RuleFor(DetectionCode source, ConversionMask mask) {
    const ConversionRule* rule = nullptr;
    FindConversionRule(source, mask, &rule);
    return rule;
}
