// Which work lists ask the user about their files after a run.
#include "engine/work_item.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>

namespace {

WorkList* ListOf(std::initializer_list<DetectionCode> codes) {
    WorkList* list = PtrListCreate();
    for (DetectionCode c : codes) {
        auto* item = static_cast<WorkItem*>(std::calloc(1, sizeof(WorkItem)));
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
          DetectionCode::Iso2022Jp},
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

}  // namespace
