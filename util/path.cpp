#include "util/path.h"

#include <cstring>

#include "util/text.h"

bool IsSeparatorAt(const char* text, int position) {
    if (position < 0) return false;
    return text[position] == '\\' && ByteKindAt(text, position) == SingleByte;
}

static int TextLength(const char* text) { return static_cast<int>(std::strlen(text)); }

bool FitsPathBuffer(const char* path) { return TextLength(path) <= kPathCapacity - 2; }

// Whether a text of this length fits a buffer of this capacity uncut.
static bool Fits(const char* text, int capacity) { return TextLength(text) <= capacity - 1; }

static bool JoinParent(char* destination, int capacity, const char* folder) {
    if (!Fits(folder, capacity)) return false;
    int i = TextLength(destination) - 1;
    while (i >= 0 && !IsSeparatorAt(destination, i)) destination[i--] = '\0';
    // A folder without any separator has no parent we could name.
    if (i < 0) {
        CopyBounded(destination, folder, capacity);
        return false;
    }
    destination[i] = '\0';
    // The root stays a root: C:\ keeps its separator.
    if (std::strchr(destination, '\\') == nullptr) destination[i] = '\\';
    return true;
}

bool JoinPath(char* destination, int capacity, const char* folder, const char* name) {
    if (capacity < 1) return false;
    if (folder[0] == '\0') {
        CopyBounded(destination, name, capacity);
        return Fits(name, capacity);
    }
    CopyBounded(destination, folder, capacity);
    if (StringEquals(name, ".")) return Fits(folder, capacity);
    if (StringEquals(name, "..")) return JoinParent(destination, capacity, folder);
    if (!Fits(folder, capacity)) return false;

    int length = TextLength(destination);
    int room = capacity;
    if (!IsSeparatorAt(destination, length - 1)) {
        // The separator and its terminator must fit.
        if (length + 2 > capacity) return false;
        destination[length++] = '\\';
        destination[length] = '\0';
        // The inserted separator is counted against the capacity once more,
        // so a joined path keeps one byte spare (259 characters in 261).
        room--;
    }
    room -= length;
    if (room < 1) return name[0] == '\0';
    CopyBounded(destination + length, name, room);
    return Fits(name, room);
}

char* CutLastComponent(char* path) {
    for (int i = TextLength(path) - 1; i >= 0; i--) {
        if (IsSeparatorAt(path, i)) {
            path[i] = '\0';
            return path + i + 1;
        }
    }
    return path;
}

const char* FileNamePart(const char* path) {
    for (int i = TextLength(path) - 1; i >= 0; i--) {
        if (IsSeparatorAt(path, i)) return path + i + 1;
    }
    return path;
}

char* FileNamePart(char* path) {
    return const_cast<char*>(FileNamePart(static_cast<const char*>(path)));
}

const char* FindExtension(const char* path) {
    const char* name = FileNamePart(path);
    const char* dot = std::strrchr(name, '.');
    return dot != nullptr ? dot : StringEnd(name);
}

char* FindExtension(char* path) {
    return const_cast<char*>(FindExtension(static_cast<const char*>(path)));
}

char* RemoveExtension(char* path) {
    char* dot = FindExtension(path);
    if (*dot != '.') return dot;
    *dot = '\0';
    return dot + 1;
}
