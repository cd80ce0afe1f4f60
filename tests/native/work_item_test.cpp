// Which work lists ask the user about their files after a run.
#include "engine/work_item.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

namespace {

WorkList* ListOf(std::initializer_list<DetectionCode> codes) {
    WorkList* list = PtrListCreate();
    for (DetectionCode c : codes) {
        WorkItem* item = NewWorkItem(u"C:\\a.txt", u"D:\\a.txt");
        item->code = c;
        PtrListAppend(list, item);
    }
    return list;
}

TEST(HasUndecidedItems, OnlyUndecidedFilesCount) {
    EXPECT_FALSE(HasUndecidedItems(nullptr));
    struct Case {
        std::initializer_list<DetectionCode> codes;
        bool undecided;
    };
    const Case cases[] = {
        {{}, false},
        {{DetectionCode::Directory, DetectionCode::EucJp, DetectionCode::ShiftJis,
          DetectionCode::Iso2022Jp, DetectionCode::Utf8},
         false},
        {{DetectionCode::Directory}, false},
        {{DetectionCode::Directory, DetectionCode::Undetermined}, true},
        {{DetectionCode::ShiftJis, DetectionCode::CopyUnchanged}, true},
        {{DetectionCode::Undetermined, DetectionCode::EucJp}, true},
    };
    for (const Case& c : cases) {
        WorkList* list = ListOf(c.codes);
        EXPECT_EQ(HasUndecidedItems(list), c.undecided) << PtrListCount(list);
        PtrListDestroy(list);
    }
}

TEST(NewWorkItem, HoldsBothPathsInItsOwnBlock) {
    const Path source = u"C:\\한국어\\😀.txt";
    const Path destination = u"D:\\out\\" + Path(300, u'd') + u"\\😀.txt";
    WorkItem* item = NewWorkItem(source, destination);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->sourcePath, source);
    EXPECT_EQ(item->destinationPath, destination);
    EXPECT_EQ(item->code, DetectionCode::Undetermined);
    EXPECT_EQ(item->firstMissing, -1);
    // Both texts follow the record, so that freeing the item frees them.
    EXPECT_EQ(reinterpret_cast<const void*>(item->sourcePath), static_cast<void*>(item + 1));
    std::free(item);
    // A path Windows cannot name is refused, never cut.
    EXPECT_EQ(NewWorkItem(Path(kLongestPath + 1, u'a'), u"x"), nullptr);
    EXPECT_EQ(NewWorkItem(u"x", Path(kLongestPath + 1, u'a')), nullptr);
}

TEST(MarkForReview, OnlyAFileWithoutACellIsHandedToTheReview) {
    WorkItem item{};
    item.code = item.detected = DetectionCode::Utf8;
    for (ItemOutcome outcome : {ItemOutcome::Converted, ItemOutcome::Copied, ItemOutcome::LeftAlone,
                                ItemOutcome::NotWritten, ItemOutcome::Unreadable}) {
        MarkForReview(&item, ItemResult{outcome, 5, -1});
        EXPECT_EQ(item.code, DetectionCode::Utf8);
        EXPECT_EQ(item.firstMissing, -1);
    }
    MarkForReview(&item, ItemResult{ItemOutcome::NoCell, 0, 0x1F600});
    EXPECT_EQ(item.code, DetectionCode::Undetermined);
    EXPECT_EQ(item.detected, DetectionCode::Utf8);
    EXPECT_EQ(item.firstMissing, 0x1F600);
    // Listed in the review from now on.
    WorkList* list = ListOf({DetectionCode::Directory, DetectionCode::Utf8});
    EXPECT_FALSE(HasUndecidedItems(list));
    MarkForReview(static_cast<WorkItem*>(PtrListAt(list, 1)),
                  ItemResult{ItemOutcome::NoCell, 0, 0x82A0});
    EXPECT_TRUE(HasUndecidedItems(list));
    PtrListDestroy(list);
}

}  // namespace
