// How a file that could not be written is told: which file the failure is
// about, and the reason in words a user understands for the failures a user
// can do something about. Other reasons are the system's own message
// (failure_reason_win.h).
#pragma once

#include <cstdint>
#include <string>

#include "engine/item_outcome.h"
#include "engine/work_item.h"

// The system's error codes these words stand for (winerror.h).
constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorWriteProtect = 19;
constexpr std::uint32_t kErrorSharingViolation = 32;
constexpr std::uint32_t kErrorLockViolation = 33;
constexpr std::uint32_t kErrorHandleDiskFull = 39;
constexpr std::uint32_t kErrorDiskFull = 112;

// "他のプログラムが使用中です", "ディスクの空き容量が足りません" or
// "書き込みが禁止されています"; null for any other code. A source that could
// not be read for want of rights is not told that writing is forbidden: the
// system's own words fit it better.
const char16_t* FixedFailureReason(std::uint32_t error, ItemOutcome outcome);
// The file a failure is about: the source when it could not be read, or when
// its converted text had no temporary file to go to (the destination's
// folder, an output folder say, is not to blame); else the destination,
// which could not be written.
const PathChar* FailedFilePath(const WorkItem* item, ItemOutcome outcome);
// The reason as the list shows it, from the words for the error code: as they
// are, or "一時ファイルに書き込めません（words）" for NoTemporaryFile, so that the
// failure of the temporary file is not taken for the file's own.
std::u16string FailureReasonText(ItemOutcome outcome, const std::u16string& words);
// Cuts the line ends (and the blanks before them) off the end of a message.
void TrimMessageEnd(std::u16string* text);
