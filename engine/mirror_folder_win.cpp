#include "engine/mirror_folder_win.h"

#include "util/path_win.h"

bool CreateMirrorDirectory(const Path& templateFolder, const Path& newFolder,
                           SECURITY_ATTRIBUTES* security) {
    FileApiPath from(templateFolder);
    FileApiPath folder(newFolder);
    if (!CreateDirectoryExW(from, folder, security)) return false;
    return SetFileAttributesW(folder, GetFileAttributesW(from)) != FALSE;
}
