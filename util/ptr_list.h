// The program's one container: an ordered, doubly linked list of untyped
// element pointers. The list owns its nodes; what happens to the elements is
// decided by the element functions a caller passes (FreeElement frees them).
// Elements that a list frees must have been allocated with std::malloc.
#pragma once

#include <cstdint>

struct PtrListNode {
    void* data;
    PtrListNode* prev;
    PtrListNode* next;
};

struct PtrList {
    std::int32_t count;
    PtrListNode* head;
    PtrListNode* tail;
};

// Element functions receive (element, index counted from head, context).
using PtrListPredicate = bool (*)(void* element, std::int32_t index, void* context);
using PtrListElementFunction = std::int32_t (*)(void* element, std::int32_t index, void* context);

PtrList* PtrListCreate();
// The new count, or -1 when the node cannot be allocated (the list is unchanged).
std::int32_t PtrListAppend(PtrList* list, void* element);
std::int32_t PtrListCount(const PtrList* list);
// Walks from head on every call: for a pass over the whole list use PtrListForEach.
void* PtrListAt(const PtrList* list, std::int32_t index);
void* PtrListFindIf(const PtrList* list, bool forward, PtrListPredicate predicate, void* context);
// Removes every node whose element function answers 0; returns the count after the pass.
std::int32_t PtrListRemoveIf(PtrList* list, bool forward, PtrListElementFunction function,
                             void* context);
// Calls the function for every element in walking order, in linear time.
void PtrListForEach(const PtrList* list, bool forward, PtrListElementFunction function,
                    void* context);
// Frees every element (FreeElement), every node and the list itself.
bool PtrListDestroy(PtrList* list);
// Frees the element's heap block and answers 0, so PtrListRemoveIf drops its node.
std::int32_t FreeElement(void* element, std::int32_t index, void* context);
