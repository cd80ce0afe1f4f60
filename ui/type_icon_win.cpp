#include "ui/type_icon_win.h"

#include <shellapi.h>

#include "util/path_win.h"

namespace {

// What the shell says about a file of this name without looking for it.
HIMAGELIST AskShell(const Path& name, int* index) {
    SHFILEINFOW info{};
    auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(WideText(name.c_str()), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    *index = images != nullptr ? info.iIcon : -1;
    return images;
}

// The extension with its dot, lower case; empty when the name has none.
Path Extension(const PathChar* path) {
    const Path name = FileNamePart(path);
    const std::size_t dot = name.rfind(u'.');
    Path extension = dot == Path::npos ? Path() : name.substr(dot);
    FoldAsciiToLowerCase(&extension);
    return extension;
}

}  // namespace

HIMAGELIST SystemSmallIcons() {
    int index = -1;
    return AskShell(u"file", &index);
}

int TypeIconIndex(const PathChar* path, TypeIconCache* cache) {
    const Path extension = Extension(path);
    auto found = cache->find(extension);
    if (found != cache->end()) return found->second;
    // A made-up name of the type: the shell reads the icon of a type whose
    // icon is inside each file (programs, icons) from the file it is given,
    // and there is no such file.
    int index = -1;
    AskShell(u"file" + extension, &index);
    (*cache)[extension] = index;
    return index;
}
