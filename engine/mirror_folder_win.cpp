#include "engine/mirror_folder_win.h"

bool CreateMirrorDirectory(const char* templateFolder, const char* newFolder,
                           SECURITY_ATTRIBUTES* security) {
    if (!CreateDirectoryExA(templateFolder, newFolder, security)) return false;
    return SetFileAttributesA(newFolder, GetFileAttributesA(templateFolder)) != FALSE;
}
