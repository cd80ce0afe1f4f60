#include "engine/work_item.h"

#include <cstdlib>
#include <cstring>
#include <new>

WorkItem* NewWorkItem(const Path& sourcePath, const Path& destinationPath) {
    if (!FitsWindowsPath(sourcePath) || !FitsWindowsPath(destinationPath)) return nullptr;
    const std::size_t sourceUnits = sourcePath.size() + 1;
    const std::size_t destinationUnits = destinationPath.size() + 1;
    const std::size_t size = sizeof(WorkItem) + (sourceUnits + destinationUnits) * sizeof(PathChar);
    void* block = std::malloc(size);
    if (block == nullptr) return nullptr;
    auto* item = new (block) WorkItem{};
    auto* texts = reinterpret_cast<PathChar*>(item + 1);
    std::memcpy(texts, sourcePath.c_str(), sourceUnits * sizeof(PathChar));
    std::memcpy(texts + sourceUnits, destinationPath.c_str(), destinationUnits * sizeof(PathChar));
    item->sourcePath = texts;
    item->destinationPath = texts + sourceUnits;
    item->code = DetectionCode::Undetermined;
    return item;
}

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
