#include "util/path.h"

#include <cstdint>

bool FitsWindowsPath(const Path& path) { return path.size() <= kLongestPath; }

namespace {

// The parent of folder: everything before its last separator (a trailing
// one included, so C:\a\ gives C:\a), a root keeping its separator (C:\x
// gives C:\). False when folder has no separator.
bool ParentOf(const Path& folder, Path* parent) {
    std::size_t cut = folder.find_last_of(u'\\');
    if (cut == Path::npos) return false;
    *parent = folder.substr(0, cut);
    if (parent->find(u'\\') == Path::npos) parent->push_back(u'\\');
    return true;
}

}  // namespace

bool JoinPath(Path* destination, const Path& folder, const Path& name) {
    if (folder.empty()) {
        *destination = name;
    } else if (name == u".") {
        *destination = folder;
    } else if (name == u"..") {
        if (!ParentOf(folder, destination)) {
            *destination = folder;
            return false;
        }
    } else {
        *destination = folder;
        if (!IsSeparator(folder.back())) destination->push_back(u'\\');
        destination->append(name);
    }
    return FitsWindowsPath(*destination);
}

Path JoinedPath(const Path& folder, const Path& name) {
    Path joined;
    if (!JoinPath(&joined, folder, name)) joined.clear();
    return joined;
}

std::size_t FileNameOffset(const Path& path) {
    std::size_t last = path.find_last_of(u'\\');
    return last == Path::npos ? 0 : last + 1;
}

Path FileNamePart(const Path& path) { return path.substr(FileNameOffset(path)); }

Path FolderPart(const Path& path) {
    std::size_t last = path.find_last_of(u'\\');
    return last == Path::npos ? Path() : path.substr(0, last);
}

std::size_t ExtensionOffset(const Path& path) {
    std::size_t dot = path.find_last_of(u'.');
    if (dot == Path::npos || dot < FileNameOffset(path)) return path.size();
    return dot;
}

void FoldAsciiToLowerCase(Path* path) {
    for (PathChar& c : *path) {
        if (c >= u'A' && c <= u'Z') c = static_cast<PathChar>(c - u'A' + u'a');
    }
}

namespace {

// The code point of the well-formed UTF-8 sequence at text[i], and its
// length; -1 when none starts there.
int DecodeUtf8At(const std::string& text, std::size_t i, std::uint32_t* code) {
    auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    std::uint32_t first = at(i);
    if (first < 0x80) {
        *code = first;
        return 1;
    }
    int length = first >= 0xC2 && first < 0xE0   ? 2
                 : first >= 0xE0 && first < 0xF0 ? 3
                 : first >= 0xF0 && first < 0xF5 ? 4
                                                 : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) return -1;
    std::uint32_t value = first & (0x7F >> length);
    for (int k = 1; k < length; k++) {
        std::uint8_t next = at(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) return -1;
        value = (value << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond U+10FFFF are malformed.
    if ((length == 3 && value < 0x800) || (length == 4 && (value < 0x10000 || value > 0x10FFFF)) ||
        (value >= 0xD800 && value <= 0xDFFF)) {
        return -1;
    }
    *code = value;
    return length;
}

}  // namespace

Path PathFromUtf8(const std::string& text) {
    Path path;
    for (std::size_t i = 0; i < text.size();) {
        std::uint32_t code = 0xFFFD;
        int length = DecodeUtf8At(text, i, &code);
        if (length < 0) {
            code = 0xFFFD;
            length = 1;
        }
        i += static_cast<std::size_t>(length);
        if (code >= 0x10000) {
            code -= 0x10000;
            path.push_back(static_cast<PathChar>(0xD800 + (code >> 10)));
            path.push_back(static_cast<PathChar>(0xDC00 + (code & 0x3FF)));
        } else {
            path.push_back(static_cast<PathChar>(code));
        }
    }
    return path;
}

std::string Utf8FromPath(const Path& path) {
    std::string text;
    for (std::size_t i = 0; i < path.size(); i++) {
        std::uint32_t c = path[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < path.size() && path[i + 1] >= 0xDC00 &&
            path[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (path[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            text.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            text.push_back(static_cast<char>(0xC0 | (c >> 6)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            text.push_back(static_cast<char>(0xE0 | (c >> 12)));
            text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            text.push_back(static_cast<char>(0xF0 | (c >> 18)));
            text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            text.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return text;
}
