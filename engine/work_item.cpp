#include "engine/work_item.h"

static bool IsUndecided(void* element, std::int32_t, void*) {
    return IsForReview(static_cast<const WorkItem*>(element));
}

bool HasUndecidedItems(const WorkList* list) {
    // FindIf cannot tell a match from none by its answer when the element is
    // null; work items never are.
    return list != nullptr && PtrListFindIf(list, true, IsUndecided, nullptr) != nullptr;
}

void MarkForReview(WorkItem* item, const ItemResult& result) {
    if (result.outcome != ItemOutcome::NoCell) return;
    // item->detected keeps what the detection made of the file.
    item->code = DetectionCode::Undetermined;
    item->firstMissing = result.firstMissing;
}
