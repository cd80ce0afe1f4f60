// The pointer list: invariants after every kind of change, the walking index
// in both directions, removal during a walk, and destruction.
#include "util/ptr_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace {

// Checks the list's invariants and returns its elements in order.
std::vector<void*> CheckedElements(const PtrList* list) {
    std::vector<void*> forward;
    const PtrListNode* last = nullptr;
    for (const PtrListNode* n = list->head; n != nullptr; n = n->next) {
        EXPECT_EQ(n->prev, last);
        forward.push_back(n->data);
        last = n;
    }
    EXPECT_EQ(list->tail, last);
    EXPECT_EQ(static_cast<std::size_t>(list->count), forward.size());
    EXPECT_EQ(list->head == nullptr, list->tail == nullptr);
    std::vector<void*> backward;
    for (const PtrListNode* n = list->tail; n != nullptr; n = n->prev)
        backward.insert(backward.begin(), n->data);
    EXPECT_EQ(forward, backward);
    return forward;
}

void* Tag(std::intptr_t n) { return reinterpret_cast<void*>(n); }

struct Visit {
    std::vector<std::int32_t> indexes;
    std::vector<void*> elements;
    void* removeThis = nullptr;
};

std::int32_t RecordAndRemove(void* element, std::int32_t index, void* context) {
    auto* visit = static_cast<Visit*>(context);
    visit->indexes.push_back(index);
    visit->elements.push_back(element);
    return element == visit->removeThis ? 0 : 1;
}

PtrList* ListOf(std::initializer_list<std::intptr_t> tags) {
    PtrList* list = PtrListCreate();
    for (auto t : tags) PtrListAppend(list, Tag(t));
    return list;
}

// Lists holding tags (not heap blocks) are freed node by node here.
std::int32_t DropNode(void*, std::int32_t, void*) { return 0; }
void DestroyTagList(PtrList* list) {
    PtrListRemoveIf(list, true, DropNode, nullptr);
    std::free(list);
}

TEST(PtrList, AppendKeepsOrderAndInvariants) {
    PtrList* list = PtrListCreate();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(PtrListCount(list), 0);
    CheckedElements(list);
    EXPECT_EQ(PtrListAppend(list, Tag(1)), 1);
    EXPECT_EQ(list->head, list->tail);
    EXPECT_EQ(PtrListAppend(list, Tag(2)), 2);
    EXPECT_EQ(PtrListAppend(list, nullptr), 3);  // a null element is allowed
    EXPECT_EQ(CheckedElements(list), (std::vector<void*>{Tag(1), Tag(2), nullptr}));
    DestroyTagList(list);
}

TEST(PtrList, AtCountsFromHeadAndStopsAtCount) {
    PtrList* list = ListOf({10, 11, 12});
    EXPECT_EQ(PtrListAt(list, 0), Tag(10));
    EXPECT_EQ(PtrListAt(list, 2), Tag(12));
    EXPECT_EQ(PtrListAt(list, 3), nullptr);
    EXPECT_EQ(PtrListAt(list, -1), nullptr);
    DestroyTagList(list);
    PtrList* empty = PtrListCreate();
    for (int i = -1; i < 3; i++) EXPECT_EQ(PtrListAt(empty, i), nullptr);
    DestroyTagList(empty);
}

bool NeverCalled(void*, std::int32_t, void*) {
    ADD_FAILURE() << "predicate called on an empty list";
    return true;
}
bool IsTwelve(void* element, std::int32_t, void* context) {
    static_cast<std::vector<std::int32_t>*>(context)->push_back(0);
    return element == Tag(12);
}
bool IsNull(void* element, std::int32_t, void*) { return element == nullptr; }

TEST(PtrList, FindIfWalksEitherWayAndCannotTellANullMatch) {
    PtrList* empty = PtrListCreate();
    EXPECT_EQ(PtrListFindIf(empty, true, NeverCalled, nullptr), nullptr);
    DestroyTagList(empty);

    PtrList* list = ListOf({10, 11, 12, 13});
    std::vector<std::int32_t> calls;
    EXPECT_EQ(PtrListFindIf(list, true, IsTwelve, &calls), Tag(12));
    EXPECT_EQ(calls.size(), 3u);
    calls.clear();
    EXPECT_EQ(PtrListFindIf(list, false, IsTwelve, &calls), Tag(12));
    EXPECT_EQ(calls.size(), 2u);
    PtrListAppend(list, nullptr);
    // A null element matches, and the answer looks like "no match".
    EXPECT_EQ(PtrListFindIf(list, true, IsNull, nullptr), nullptr);
    DestroyTagList(list);
}

TEST(PtrList, ForwardRemovalKeepsTheIndexBackwardAlwaysCountsDown) {
    PtrList* list = ListOf({1, 2, 3});
    Visit forward;
    forward.removeThis = Tag(1);
    EXPECT_EQ(PtrListRemoveIf(list, true, RecordAndRemove, &forward), 2);
    EXPECT_EQ(forward.indexes, (std::vector<std::int32_t>{0, 0, 1}));
    EXPECT_EQ(CheckedElements(list), (std::vector<void*>{Tag(2), Tag(3)}));
    DestroyTagList(list);

    for (std::intptr_t removed = 1; removed <= 3; removed++) {
        PtrList* l = ListOf({1, 2, 3});
        Visit backward;
        backward.removeThis = Tag(removed);
        EXPECT_EQ(PtrListRemoveIf(l, false, RecordAndRemove, &backward), 2);
        EXPECT_EQ(backward.indexes, (std::vector<std::int32_t>{2, 1, 0}));
        EXPECT_EQ(backward.elements, (std::vector<void*>{Tag(3), Tag(2), Tag(1)}));
        CheckedElements(l);
        DestroyTagList(l);
    }
}

std::int32_t KeepAll(void*, std::int32_t, void*) { return 1; }

TEST(PtrList, RemovingAllOrNothing) {
    PtrList* list = ListOf({1, 2, 3});
    EXPECT_EQ(PtrListRemoveIf(list, true, KeepAll, nullptr), 3);
    EXPECT_EQ(CheckedElements(list), (std::vector<void*>{Tag(1), Tag(2), Tag(3)}));
    EXPECT_EQ(PtrListRemoveIf(list, false, DropNode, nullptr), 0);
    EXPECT_EQ(list->head, nullptr);
    EXPECT_EQ(list->tail, nullptr);
    EXPECT_EQ(PtrListAppend(list, Tag(4)), 1);  // usable again after being emptied
    CheckedElements(list);
    DestroyTagList(list);
}

struct Parity {
    std::int32_t keep;
};
std::int32_t KeepByTagParity(void* element, std::int32_t, void* context) {
    return (reinterpret_cast<std::intptr_t>(element) % 2) == static_cast<Parity*>(context)->keep;
}

TEST(PtrList, RandomRemovalsKeepInvariants) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; round++) {
        PtrList* list = PtrListCreate();
        std::vector<void*> expected;
        int n = static_cast<int>(random() % 20);
        for (int i = 0; i < n; i++) {
            std::intptr_t t = static_cast<std::intptr_t>(random() % 1000);
            PtrListAppend(list, Tag(t));
            expected.push_back(Tag(t));
        }
        Parity parity{static_cast<std::int32_t>(random() % 2)};
        bool forward = random() % 2 == 0;
        PtrListRemoveIf(list, forward, KeepByTagParity, &parity);
        std::vector<void*> kept;
        for (void* e : expected) {
            if ((reinterpret_cast<std::intptr_t>(e) % 2) == parity.keep) kept.push_back(e);
        }
        EXPECT_EQ(CheckedElements(list), kept);
        DestroyTagList(list);
    }
}

std::int32_t CountVisit(void*, std::int32_t index, void* context) {
    static_cast<std::vector<std::int32_t>*>(context)->push_back(index);
    return 0;  // ForEach never removes, whatever the function answers
}

TEST(PtrList, ForEachVisitsEveryElementWithItsPosition) {
    PtrList* list = ListOf({5, 6, 7});
    std::vector<std::int32_t> seen;
    PtrListForEach(list, true, CountVisit, &seen);
    PtrListForEach(list, false, CountVisit, &seen);
    EXPECT_EQ(seen, (std::vector<std::int32_t>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(PtrListCount(list), 3);
    DestroyTagList(list);
}

// The bytes the address sanitizer's heap holds at the moment (the tests run
// under it): sanitizer/allocator_interface.h declares it, but only clang
// ships that header.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();

TEST(PtrList, DestroyFreesEveryElementEveryNodeAndTheList) {
    const std::size_t before = __sanitizer_get_current_allocated_bytes();
    PtrList* list = PtrListCreate();
    for (int i = 0; i < 100; i++) PtrListAppend(list, std::malloc(16));
    PtrListAppend(list, nullptr);  // freeing a null element is no fault either
    ASSERT_GE(__sanitizer_get_current_allocated_bytes(), before + 100 * 16);
    PtrListDestroy(list);
    EXPECT_EQ(__sanitizer_get_current_allocated_bytes(), before);
    PtrListDestroy(nullptr);
}

}  // namespace
