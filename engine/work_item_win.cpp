#include "engine/work_item_win.h"

#include "engine/detect_win.h"
#include "util/path_win.h"

HANDLE OpenSourceFile(const Path& path) {
    return CreateFileW(FileApiPath(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

WorkItem* MakeWorkItem(const Path& sourcePath, const Path& destinationPath,
                       const DWORD* knownAttributes) {
    WorkItem* item = NewWorkItem(sourcePath, destinationPath);
    if (item != nullptr) ClassifyWorkItem(item, knownAttributes);
    return item;
}

void ClassifyWorkItem(WorkItem* item, const DWORD* knownAttributes) {
    const Path sourcePath = item->sourcePath;
    item->firstMissing = -1;
    item->openError = 0;
    item->byteOrderMark = false;
    // Attributes that cannot be read have every bit set, the folder bit too.
    DWORD attributes =
        knownAttributes != nullptr ? *knownAttributes : GetFileAttributesW(FileApiPath(sourcePath));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        item->code = DetectionCode::Directory;
    } else {
        // Opened here rather than by the detection: a file that cannot be
        // opened is not a file of unknown encoding, and why it could not be
        // read is what the user is told.
        HANDLE file = OpenSourceFile(sourcePath);
        if (file == INVALID_HANDLE_VALUE) {
            item->code = DetectionCode::Undetermined;
            item->openError = GetLastError();
        } else {
            item->code = DetectOpenFile(file, sourcePath, &item->byteOrderMark);
        }
    }
    item->detected = item->code;
}

WorkItem* MakeWorkItemOpen(const Path& sourcePath, const Path& destinationPath, HANDLE opened) {
    WorkItem* item = NewWorkItem(sourcePath, destinationPath);
    if (item == nullptr) {
        CloseHandle(opened);
        return nullptr;
    }
    item->code = DetectOpenFile(opened, sourcePath, &item->byteOrderMark);
    item->detected = item->code;
    return item;
}
