#include "util/ptr_list.h"

#include <cstdlib>

PtrList* PtrListCreate() {
    auto* list = static_cast<PtrList*>(std::malloc(sizeof(PtrList)));
    if (list == nullptr) return nullptr;
    list->count = 0;
    list->head = nullptr;
    list->tail = nullptr;
    return list;
}

std::int32_t PtrListAppend(PtrList* list, void* element) {
    auto* node = static_cast<PtrListNode*>(std::malloc(sizeof(PtrListNode)));
    if (node == nullptr) return -1;
    node->data = element;
    node->next = nullptr;
    node->prev = list->tail;
    list->count++;
    list->tail = node;
    if (list->head == nullptr) list->head = node;
    if (node->prev != nullptr) node->prev->next = node;
    return list->count;
}

std::int32_t PtrListCount(const PtrList* list) { return list->count; }

void* PtrListAt(const PtrList* list, std::int32_t index) {
    if (index < 0 || index >= list->count) return nullptr;
    PtrListNode* node = list->head;
    for (std::int32_t i = 0; i < index && node != nullptr; i++) node = node->next;
    return node == nullptr ? nullptr : node->data;
}

void* PtrListFindIf(const PtrList* list, bool forward, PtrListPredicate predicate, void* context) {
    std::int32_t index = forward ? 0 : list->count - 1;
    for (PtrListNode* node = forward ? list->head : list->tail; node != nullptr;
         node = forward ? node->next : node->prev) {
        if (predicate(node->data, index, context)) return node->data;
        index += forward ? 1 : -1;
    }
    return nullptr;
}

static void Unlink(PtrList* list, PtrListNode* node) {
    if (node->prev != nullptr) node->prev->next = node->next;
    if (node->next != nullptr) node->next->prev = node->prev;
    if (list->head == node) list->head = node->next;
    if (list->tail == node) list->tail = node->prev;
    list->count--;
    node->prev = nullptr;
    node->next = nullptr;
    std::free(node);
}

std::int32_t PtrListRemoveIf(PtrList* list, bool forward, PtrListElementFunction function,
                             void* context) {
    std::int32_t index = forward ? 0 : list->count - 1;
    PtrListNode* node = forward ? list->head : list->tail;
    while (node != nullptr) {
        // The function may free the element, and the node may go: take the
        // follower first.
        PtrListNode* following = forward ? node->next : node->prev;
        bool keep = function(node->data, index, context) != 0;
        if (!keep) Unlink(list, node);
        // A forward walk that removed a node leaves the index where it is, so
        // the next node is shown its new position.
        if (!forward) {
            index--;
        } else if (keep) {
            index++;
        }
        node = following;
    }
    return list->count;
}

void PtrListForEach(const PtrList* list, bool forward, PtrListElementFunction function,
                    void* context) {
    std::int32_t index = forward ? 0 : list->count - 1;
    for (PtrListNode* node = forward ? list->head : list->tail; node != nullptr;
         node = forward ? node->next : node->prev) {
        function(node->data, index, context);
        index += forward ? 1 : -1;
    }
}

bool PtrListDestroy(PtrList* list) {
    if (list == nullptr) return true;
    PtrListRemoveIf(list, true, FreeElement, nullptr);
    list->count = 0;
    list->head = nullptr;
    list->tail = nullptr;
    std::free(list);
    return true;
}

std::int32_t FreeElement(void* element, std::int32_t, void*) {
    std::free(element);
    return 0;
}
