#include "util/path.h"

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
