#include "tests/win32/support/resource_counts.h"

#include <windows.h>

#include <cstdio>

namespace {

// Kernel handles are multiples of 4. Wine hands out the lowest free one, so
// the open handles lie close together: a long run of closed values means
// there are no more.
constexpr UINT_PTR kHandleStep = 4;
constexpr int kClosedRunToStop = 1024;
// Wine's tables: GDI handles are indexes 1 to 0xFFFF, USER handles
// 0x20 + 2 * index for 32768 indexes.
constexpr UINT_PTR kGdiIndexes = 0x10000;
constexpr UINT_PTR kFirstUserHandle = 0x20;
constexpr UINT_PTR kUserIndexes = 0x8000;

bool SystemCountsKernelHandles(long* count) {
    DWORD handles = 0;
    if (!GetProcessHandleCount(GetCurrentProcess(), &handles) || handles == 0) return false;
    *count = static_cast<long>(handles);
    return true;
}

bool SystemCountsGuiObjects(DWORD kind, long* count) {
    DWORD objects = GetGuiResources(GetCurrentProcess(), kind);
    if (objects == 0) return false;
    *count = static_cast<long>(objects);
    return true;
}

long ScanKernelHandles() {
    long open = 0;
    int closedRun = 0;
    for (UINT_PTR value = kHandleStep; closedRun < kClosedRunToStop; value += kHandleStep) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            open++;
            closedRun = 0;
        } else {
            closedRun++;
        }
    }
    return open;
}

long ScanGdiObjects() {
    long objects = 0;
    for (UINT_PTR index = 1; index < kGdiIndexes; index++) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) objects++;
    }
    return objects;
}

struct WindowTally {
    DWORD process;
    long windows;
};

BOOL CALLBACK CountDescendant(HWND, LPARAM tally) {
    reinterpret_cast<WindowTally*>(tally)->windows++;
    return TRUE;
}

void CountWindowAndDescendants(HWND window, WindowTally* tally) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != tally->process) return;
    tally->windows++;
    EnumChildWindows(window, CountDescendant, reinterpret_cast<LPARAM>(tally));
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM tally) {
    CountWindowAndDescendants(window, reinterpret_cast<WindowTally*>(tally));
    return TRUE;
}

long CountOwnWindows() {
    WindowTally tally{GetCurrentProcessId(), 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&tally));
    // Message-only windows (COM's among them) are not top-level windows.
    for (HWND window = nullptr;
         (window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) != nullptr;) {
        CountWindowAndDescendants(window, &tally);
    }
    return tally.windows;
}

long ScanUserObjects() {
    long objects = CountOwnWindows();
    for (UINT_PTR index = 0; index < kUserIndexes; index++) {
        UINT_PTR value = kFirstUserHandle + 2 * index;
        if (IsMenu(reinterpret_cast<HMENU>(value))) objects++;
        ICONINFO info;
        if (GetIconInfo(reinterpret_cast<HICON>(value), &info)) {
            // The answer comes with copies of the icon's bitmaps.
            if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
            if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
            objects++;
        }
    }
    return objects;
}

long CountHeapBlocks() {
    HANDLE heaps[256];
    DWORD heapCount = GetProcessHeaps(256, heaps);
    if (heapCount > 256) heapCount = 256;
    long blocks = 0;
    for (DWORD i = 0; i < heapCount; i++) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry)) {
            if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) blocks++;
        }
        HeapUnlock(heaps[i]);
    }
    return blocks;
}

}  // namespace

ResourceCounts CountResources() {
    ResourceCounts counts;
    if (!SystemCountsKernelHandles(&counts.kernelHandles))
        counts.kernelHandles = ScanKernelHandles();
    if (!SystemCountsGuiObjects(GR_GDIOBJECTS, &counts.gdiObjects)) {
        counts.gdiObjects = ScanGdiObjects();
    }
    if (!SystemCountsGuiObjects(GR_USEROBJECTS, &counts.userObjects)) {
        counts.userObjects = ScanUserObjects();
    }
    // Last: the scans above must not be counted as heap use.
    counts.heapBlocks = CountHeapBlocks();
    return counts;
}

std::string DescribeResourceCounters() {
    long ignored = 0;
    std::string text = "kernel handles: ";
    text += SystemCountsKernelHandles(&ignored) ? "GetProcessHandleCount" : "handle scan";
    text += "; GDI objects: ";
    text += SystemCountsGuiObjects(GR_GDIOBJECTS, &ignored) ? "GetGuiResources" : "GDI table scan";
    text += "; USER objects: ";
    text += SystemCountsGuiObjects(GR_USEROBJECTS, &ignored)
                ? "GetGuiResources"
                : "windows enumerated, icons and menus by table scan";
    text += "; heap blocks: HeapWalk";
    return text;
}

std::string DescribeChange(const ResourceCounts& before, const ResourceCounts& after) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "handles %ld -> %ld, GDI %ld -> %ld, USER %ld -> %ld, heap %ld -> %ld",
                  before.kernelHandles, after.kernelHandles, before.gdiObjects, after.gdiObjects,
                  before.userObjects, after.userObjects, before.heapBlocks, after.heapBlocks);
    return text;
}

ResourceChange CountAround(const char* label, int warmUp, int repetitions,
                           const std::function<void()>& operation) {
    for (int i = 0; i < warmUp; i++) operation();
    // A leak grows in every round; a cache of Wine's that a loaded machine
    // filled late (a dozen GDI objects, once) does not grow again. So a round
    // that grew is followed by another, up to kRounds, and the last counts.
    constexpr int kRounds = 3;
    ResourceChange change;
    for (int round = 1; round <= kRounds; round++) {
        change.before = CountResources();
        for (int i = 0; i < repetitions; i++) operation();
        change.after = CountResources();
        std::printf("%-42s %s\n", label, DescribeChange(change.before, change.after).c_str());
        std::fflush(stdout);
        if (GrowthOf(change).empty()) break;
    }
    return change;
}

std::string GrowthOf(const ResourceChange& change) {
    std::string growth;
    auto add = [&growth](const char* what, long before, long after) {
        if (after <= before) return;
        if (!growth.empty()) growth += ", ";
        growth += what;
        growth += " +" + std::to_string(after - before);
    };
    add("kernel handles", change.before.kernelHandles, change.after.kernelHandles);
    add("GDI objects", change.before.gdiObjects, change.after.gdiObjects);
    add("USER objects", change.before.userObjects, change.after.userObjects);
    add("heap blocks", change.before.heapBlocks, change.after.heapBlocks);
    return growth;
}
