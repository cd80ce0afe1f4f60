#include "ui/failure_reason_win.h"

#include "ui/failure_reason.h"
#include "util/path_win.h"

static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED &&
                  kErrorWriteProtect == ERROR_WRITE_PROTECT &&
                  kErrorSharingViolation == ERROR_SHARING_VIOLATION &&
                  kErrorLockViolation == ERROR_LOCK_VIOLATION &&
                  kErrorHandleDiskFull == ERROR_HANDLE_DISK_FULL &&
                  kErrorDiskFull == ERROR_DISK_FULL,
              "the codes the fixed reasons stand for");

namespace {

// FixedFailureReason's words for the error, else the system's message.
std::u16string DescribeError(const ItemResult& result) {
    const DWORD error = result.error;
    if (const char16_t* fixed = FixedFailureReason(error, result.outcome)) return fixed;
    // In the user's language, whatever the system's code page; the message
    // ends in CR LF, which a list cell would show as two odd characters.
    wchar_t* message = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::u16string text;
    if (length != 0 && message != nullptr) {
        text = PathFromWide(message);
        TrimMessageEnd(&text);
    }
    if (message != nullptr) LocalFree(message);
    if (length == 0) {
        text = u"エラー ";
        for (char digit : std::to_string(error)) text.push_back(static_cast<char16_t>(digit));
    }
    return text;
}

}  // namespace

std::u16string DescribeFailure(const ItemResult& result) {
    return FailureReasonText(result.outcome, DescribeError(result));
}
