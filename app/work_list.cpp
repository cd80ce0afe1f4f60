#include "app/work_list.h"

static bool IsUndecided(void* element, std::int32_t, void*) {
    DetectionCode code = static_cast<const WorkItem*>(element)->code;
    return code != Directory && code != EucJp && code != ShiftJis && code != Iso2022Jp;
}

bool HasUndecidedItems(const WorkList* list) {
    // FindIf cannot tell a match from none by its answer when the element is
    // null; work items never are.
    return list != nullptr && PtrListFindIf(list, true, IsUndecided, nullptr) != nullptr;
}
