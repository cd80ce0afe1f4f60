// How a file that could not be written is told: the words for the failures
// a user can mend, which file of an item is named, and the trimming of the
// system's messages.
#include "ui/failure_reason.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "util/text.h"

namespace {

TEST(FixedFailureReason, WordsForWhatAUserCanMend) {
    const std::string inUse = "他のプログラムが使用中です";
    const std::string full = "ディスクの空き容量が足りません";
    const std::string forbidden = "書き込みが禁止されています";
    const ItemOutcome written = ItemOutcome::NotWritten;
    const ItemOutcome read = ItemOutcome::Unreadable;
    EXPECT_EQ(FixedFailureReason(32, written), inUse);      // ERROR_SHARING_VIOLATION
    EXPECT_EQ(FixedFailureReason(33, written), inUse);      // ERROR_LOCK_VIOLATION
    EXPECT_EQ(FixedFailureReason(112, written), full);      // ERROR_DISK_FULL
    EXPECT_EQ(FixedFailureReason(39, written), full);       // ERROR_HANDLE_DISK_FULL
    EXPECT_EQ(FixedFailureReason(5, written), forbidden);   // ERROR_ACCESS_DENIED
    EXPECT_EQ(FixedFailureReason(19, written), forbidden);  // ERROR_WRITE_PROTECT
    // A source held open is in use all the same; one the user may not read
    // is not about writing.
    EXPECT_EQ(FixedFailureReason(32, read), inUse);
    EXPECT_EQ(FixedFailureReason(33, read), inUse);
    EXPECT_EQ(FixedFailureReason(5, read), nullptr);
    EXPECT_EQ(FixedFailureReason(19, read), nullptr);
    // Everything else is the system's to say: a name too long, a missing
    // folder, no error at all.
    for (std::uint32_t other : {0u, 2u, 3u, 6u, 34u, 111u, 206u, 0xFFFFFFFFu}) {
        EXPECT_EQ(FixedFailureReason(other, written), nullptr) << other;
        EXPECT_EQ(FixedFailureReason(other, read), nullptr) << other;
    }
}

TEST(FailedFilePath, TheSourceWhenUnreadableElseTheDestination) {
    WorkItem item{};
    CopyBounded(item.sourcePath, "C:\\in\\memo.txt", kPathCapacity);
    CopyBounded(item.destinationPath, "D:\\out\\memo.txt", kPathCapacity);
    EXPECT_EQ(FailedFilePath(&item, ItemOutcome::Unreadable), item.sourcePath);
    EXPECT_EQ(FailedFilePath(&item, ItemOutcome::NotWritten), item.destinationPath);
}

std::string Trimmed(std::string text) {
    TrimMessageEnd(&text[0]);
    return text.c_str();
}

TEST(TrimMessageEnd, CutsLineEndsAndBlanksOnlyAtTheEnd) {
    EXPECT_EQ(Trimmed("The file name is too long.\r\n"), "The file name is too long.");
    EXPECT_EQ(Trimmed("two\r\nlines \r\n\r\n"), "two\r\nlines");
    EXPECT_EQ(Trimmed("ファイル名が長すぎます。\t\n"), "ファイル名が長すぎます。");
    EXPECT_EQ(Trimmed("\r\n"), "");
    EXPECT_EQ(Trimmed(""), "");
    EXPECT_EQ(Trimmed("kept"), "kept");
}

}  // namespace
