#include "engine/work_item_win.h"

#include "engine/detect_win.h"
#include "util/path.h"
#include "util/text.h"

namespace {

// The item's paths; false, with the item left empty and undetermined, when
// one does not fit.
bool SetItemPaths(WorkItem* item, const char* sourcePath, const char* destinationPath) {
    item->detected = DetectionCode::Undetermined;
    item->firstMissing = -1;
    item->openError = 0;
    if (!FitsPathBuffer(sourcePath) || !FitsPathBuffer(destinationPath)) {
        item->sourcePath[0] = '\0';
        item->destinationPath[0] = '\0';
        item->code = DetectionCode::Undetermined;
        return false;
    }
    CopyBounded(item->sourcePath, sourcePath, kPathCapacity - 1);
    CopyBounded(item->destinationPath, destinationPath, kPathCapacity - 1);
    return true;
}

}  // namespace

HANDLE OpenSourceFile(const char* path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool InitWorkItem(WorkItem* item, const char* sourcePath, const char* destinationPath,
                  const DWORD* knownAttributes) {
    if (!SetItemPaths(item, sourcePath, destinationPath)) return false;
    // Attributes that cannot be read have every bit set, the folder bit too.
    DWORD attributes =
        knownAttributes != nullptr ? *knownAttributes : GetFileAttributesA(item->sourcePath);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        item->code = DetectionCode::Directory;
    } else {
        // Opened here rather than by the detection: a file that cannot be
        // opened is not a file of unknown encoding, and why it could not be
        // read is what the user is told.
        HANDLE file = OpenSourceFile(item->sourcePath);
        if (file == INVALID_HANDLE_VALUE) {
            item->code = DetectionCode::Undetermined;
            item->openError = GetLastError();
        } else {
            item->code = DetectOpenFile(file, item->sourcePath);
        }
    }
    item->detected = item->code;
    return true;
}

bool InitWorkItemOpen(WorkItem* item, const char* sourcePath, const char* destinationPath,
                      HANDLE opened) {
    if (!SetItemPaths(item, sourcePath, destinationPath)) {
        CloseHandle(opened);
        return false;
    }
    item->code = DetectOpenFile(opened, item->sourcePath);
    item->detected = item->code;
    return true;
}
