#include "ui/failure_reason.h"

#include "util/text.h"

const char* FixedFailureReason(std::uint32_t error, ItemOutcome outcome) {
    switch (error) {
        case kErrorSharingViolation:
        case kErrorLockViolation:
            return "他のプログラムが使用中です";
        case kErrorDiskFull:
        case kErrorHandleDiskFull:
            return "ディスクの空き容量が足りません";
        case kErrorAccessDenied:
        case kErrorWriteProtect:
            return outcome == ItemOutcome::Unreadable ? nullptr : "書き込みが禁止されています";
        default:
            return nullptr;
    }
}

const char* FailedFilePath(const WorkItem* item, ItemOutcome outcome) {
    return outcome == ItemOutcome::Unreadable ? item->sourcePath : item->destinationPath;
}

void TrimMessageEnd(char* text) {
    // Only single bytes are cut, and no second byte of a double-byte
    // character is below 0x40, so the end is found from behind.
    char* end = StringEnd(text);
    while (end > text &&
           (end[-1] == '\r' || end[-1] == '\n' || end[-1] == ' ' || end[-1] == '\t')) {
        *--end = '\0';
    }
}
