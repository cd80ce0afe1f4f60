#include "engine/staged_name.h"

#include <cstdio>

namespace {

constexpr char kPrefix[] = "~tavelin-";
constexpr char kSuffix[] = ".tmp";
constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
constexpr std::size_t kSuffixLength = sizeof kSuffix - 1;
// "~tavelin-" + 8 hex digits + "-" + 3 digits + ".tmp"
constexpr std::size_t kNameLength = kPrefixLength + 8 + 1 + 3 + kSuffixLength;

bool IsHexDigit(PathChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool IsDigit(PathChar c) { return c >= u'0' && c <= u'9'; }

bool SameIgnoringCase(const PathChar* text, const char* ascii, std::size_t length) {
    for (std::size_t i = 0; i < length; i++) {
        PathChar c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<PathChar>(c - u'A' + u'a');
        if (c != static_cast<PathChar>(ascii[i])) return false;
    }
    return true;
}

}  // namespace

Path StagedPath(const Path& destinationPath, unsigned long processId, int attempt) {
    char name[kNameLength + 8];
    std::snprintf(name, sizeof name, "%s%08lx-%03u%s", kPrefix, processId & 0xFFFFFFFFUL,
                  static_cast<unsigned>(attempt) % kStagedCandidates, kSuffix);
    Path staged = destinationPath.substr(0, FileNameOffset(destinationPath));
    for (const char* p = name; *p != '\0'; p++) staged.push_back(static_cast<PathChar>(*p));
    return staged;
}

bool IsStagedName(const Path& name) {
    if (name.size() != kNameLength) return false;
    if (!SameIgnoringCase(name.c_str(), kPrefix, kPrefixLength)) return false;
    const PathChar* p = name.c_str() + kPrefixLength;
    for (int i = 0; i < 8; i++) {
        if (!IsHexDigit(*p++)) return false;
    }
    if (*p++ != u'-') return false;
    for (int i = 0; i < 3; i++) {
        if (!IsDigit(*p++)) return false;
    }
    return SameIgnoringCase(p, kSuffix, kSuffixLength);
}
