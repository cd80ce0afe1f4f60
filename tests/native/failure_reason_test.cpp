// How a file that could not be written is told: the words for the failures
// a user can mend, which file of an item is named, and the trimming of the
// system's messages.
#include "ui/failure_reason.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(FixedFailureReason, WordsForWhatAUserCanMend) {
    const std::u16string inUse = u"他のプログラムが使用中です";
    const std::u16string full = u"ディスクの空き容量が足りません";
    const std::u16string forbidden = u"書き込みが禁止されています";
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

// The file a row names, and its reason: a file whose converted text had no
// temporary file is named by its source, and its reason says so, so that
// neither the output folder nor the words for the error are taken for the
// culprit.
TEST(FailedFilePath, TheSourceWhenUnreadableOrWithoutATemporaryFileElseTheDestination) {
    WorkItem* item = NewWorkItem(u"C:\\in\\メモ.txt", u"D:\\out\\メモ.txt");
    ASSERT_NE(item, nullptr);
    const std::u16string forbidden = u"書き込みが禁止されています";
    const struct {
        ItemOutcome outcome;
        const PathChar* named;
        std::u16string reason;
    } rows[] = {
        {ItemOutcome::Unreadable, item->sourcePath, forbidden},
        {ItemOutcome::NotWritten, item->destinationPath, forbidden},
        {ItemOutcome::NoTemporaryFile, item->sourcePath,
         u"一時ファイルに書き込めません（書き込みが禁止されています）"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(FailedFilePath(item, row.outcome), row.named);
        EXPECT_EQ(FailureReasonText(row.outcome, forbidden), row.reason);
        EXPECT_TRUE(IsFailure(row.outcome));
    }
    std::free(item);
}

TEST(TrimMessageEnd, CutsLineEndsAndBlanksOnlyAtTheEnd) {
    const std::u16string rows[][2] = {
        {u"The file name is too long.\r\n", u"The file name is too long."},
        {u"two\r\nlines \r\n\r\n", u"two\r\nlines"},
        {u"ファイル名が長すぎます。\t\n", u"ファイル名が長すぎます。"},
        {u"\r\n", u""},
        {u"", u""},
        {u"kept", u"kept"},
    };
    for (const auto& row : rows) {
        std::u16string text = row[0];
        TrimMessageEnd(&text);
        EXPECT_EQ(text, row[1]);
    }
}

}  // namespace
