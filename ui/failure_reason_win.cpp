#include "ui/failure_reason_win.h"

#include "ui/failure_reason.h"
#include "util/text.h"

static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED &&
                  kErrorWriteProtect == ERROR_WRITE_PROTECT &&
                  kErrorSharingViolation == ERROR_SHARING_VIOLATION &&
                  kErrorLockViolation == ERROR_LOCK_VIOLATION &&
                  kErrorHandleDiskFull == ERROR_HANDLE_DISK_FULL &&
                  kErrorDiskFull == ERROR_DISK_FULL,
              "the codes the fixed reasons stand for");

void DescribeFailure(const ItemResult& result, char* text, int capacity) {
    const DWORD error = result.error;
    if (const char* fixed = FixedFailureReason(error, result.outcome)) {
        CopyBounded(text, fixed, capacity);
        return;
    }
    // In the user's language; the message ends in CR LF, which a list cell
    // would show as two odd characters.
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, static_cast<DWORD>(capacity), nullptr);
    if (length == 0) {
        FormatBounded(text, capacity, "エラー %lu", static_cast<unsigned long>(error));
        return;
    }
    text[capacity - 1] = '\0';
    TrimMessageEnd(text);
}
