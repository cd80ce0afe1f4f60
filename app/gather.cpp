#include "app/gather.h"

namespace {

// The path without a trailing separator (a root C:\ becomes C:), its ASCII
// letters folded to lower case.
Path ComparableForm(const Path& path) {
    Path form = path;
    if (!form.empty() && IsSeparator(form.back())) form.pop_back();
    FoldAsciiToLowerCase(&form);
    return form;
}

}  // namespace

bool IsInsideFolder(const Path& folder, const Path& path) {
    Path a = ComparableForm(folder);
    Path b = ComparableForm(path);
    // Some ancestor of path is folder: path continues folder after a separator.
    return !a.empty() && b.size() > a.size() + 1 && IsSeparator(b[a.size()]) &&
           b.compare(0, a.size(), a) == 0;
}

bool IsSamePath(const Path& a, const Path& b) { return ComparableForm(a) == ComparableForm(b); }

void SplitPath(const Path& path, Path* parent, Path* name) {
    *parent = FolderPart(path);
    *name = FileNamePart(path);
}
