#include "app/gather.h"

#include <cstring>

#include "util/path.h"
#include "util/text.h"

namespace {

// The path without a trailing separator (a root C:\ becomes C:), folded to
// lower case character by character, so that the second byte of a double-byte
// character is never taken for a letter. False when the path does not fit.
bool ComparableForm(char* out, const char* path) {
    if (!JoinPath(out, kPathCapacity, path, "")) return false;
    CutLastComponent(out);
    FoldToLowerCase(out);
    return true;
}

}  // namespace

bool IsInsideFolder(const char* folder, const char* path) {
    char a[kPathCapacity];
    char b[kPathCapacity];
    if (!ComparableForm(a, folder) || !ComparableForm(b, path)) return false;
    std::size_t folderLength = std::strlen(a);
    while (folderLength < std::strlen(b)) {
        if (CutLastComponent(b) == b) return false;  // no separator left
        if (StringEquals(a, b)) return true;
    }
    return false;
}

bool IsSamePath(const char* a, const char* b) {
    char x[kPathCapacity];
    char y[kPathCapacity];
    return ComparableForm(x, a) && ComparableForm(y, b) && StringEquals(x, y);
}

void SplitPath(const char* path, char* parent, char* name) {
    CopyBounded(parent, path, kPathCapacity);
    char* last = CutLastComponent(parent);
    if (last == parent) {
        CopyBounded(name, path, kPathCapacity);
        parent[0] = '\0';
        return;
    }
    // The name lies inside the parent buffer: move it out before anything else.
    CopyBounded(name, last, kPathCapacity);
}
