#include "engine/staged_name.h"

#include <cstring>

#include "util/path.h"
#include "util/text.h"

namespace {

constexpr char kPrefix[] = "~tavelin-";
constexpr char kSuffix[] = ".tmp";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr std::size_t kSuffixLength = sizeof kSuffix - 1;
// "~tavelin-" + 8 hex digits + "-" + 3 digits + ".tmp"
constexpr std::size_t kNameLength = kPrefixLength + 8 + 1 + 3 + kSuffixLength;

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool SameIgnoringCase(const char* text, const char* ascii, std::size_t length) {
    for (std::size_t i = 0; i < length; i++) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != ascii[i]) return false;
    }
    return true;
}

}  // namespace

bool FormatStagedPath(char* buffer, int capacity, const char* destinationPath,
                      unsigned long processId, int attempt) {
    if (capacity < 1) return false;
    int folderLength = static_cast<int>(FileNamePart(destinationPath) - destinationPath);
    if (folderLength >= capacity) {
        buffer[0] = '\0';
        return false;
    }
    std::memcpy(buffer, destinationPath, static_cast<std::size_t>(folderLength));
    int written =
        FormatBounded(buffer + folderLength, capacity - folderLength, "%s%08lx-%03d%s", kPrefix,
                      processId & 0xFFFFFFFFUL, attempt % kStagedCandidates, kSuffix);
    if (written < 0) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

bool IsStagedName(const char* name) {
    if (std::strlen(name) != kNameLength) return false;
    if (!SameIgnoringCase(name, kPrefix, kPrefixLength)) return false;
    const char* p = name + kPrefixLength;
    for (int i = 0; i < 8; i++) {
        if (!IsHexDigit(*p++)) return false;
    }
    if (*p++ != '-') return false;
    for (int i = 0; i < 3; i++) {
        if (!IsDigit(*p++)) return false;
    }
    return SameIgnoringCase(p, kSuffix, kSuffixLength);
}
