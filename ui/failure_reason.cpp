#include "ui/failure_reason.h"

const char16_t* FixedFailureReason(std::uint32_t error, ItemOutcome outcome) {
    switch (error) {
        case kErrorSharingViolation:
        case kErrorLockViolation:
            return u"他のプログラムが使用中です";
        case kErrorDiskFull:
        case kErrorHandleDiskFull:
            return u"ディスクの空き容量が足りません";
        case kErrorAccessDenied:
        case kErrorWriteProtect:
            return outcome == ItemOutcome::Unreadable ? nullptr : u"書き込みが禁止されています";
        default:
            return nullptr;
    }
}

const PathChar* FailedFilePath(const WorkItem* item, ItemOutcome outcome) {
    const bool source =
        outcome == ItemOutcome::Unreadable || outcome == ItemOutcome::NoTemporaryFile;
    return source ? item->sourcePath : item->destinationPath;
}

std::u16string FailureReasonText(ItemOutcome outcome, const std::u16string& words) {
    if (outcome != ItemOutcome::NoTemporaryFile) return words;
    return u"一時ファイルに書き込めません（" + words + u"）";
}

void TrimMessageEnd(std::u16string* text) {
    std::size_t end = text->size();
    while (end > 0) {
        const char16_t last = (*text)[end - 1];
        if (last != u'\r' && last != u'\n' && last != u' ' && last != u'\t') break;
        end--;
    }
    text->resize(end);
}
