// What the process holds, counted so that a test can see a leak: kernel
// handles, GDI objects, USER objects (windows, icons and cursors, menus) and
// busy heap blocks.
//
// Windows answers the first three through GetProcessHandleCount and
// GetGuiResources. Wine (8.0) answers 0 to all three, so there they are
// counted by asking the system about every handle value it can hand out:
// Wine gives out the lowest free kernel handle, keeps GDI objects in a table
// of 65536 entries and USER objects in one of 32768, and accepts a GDI or
// USER handle by its index alone (the upper half zero).
#pragma once

#include <functional>
#include <string>

struct ResourceCounts {
    long kernelHandles = 0;
    long gdiObjects = 0;
    long userObjects = 0;
    long heapBlocks = 0;  // busy blocks of every heap of the process
};

ResourceCounts CountResources();
// Which way each figure is obtained, for the test's output.
std::string DescribeResourceCounters();
// "handles 12 -> 12, GDI ..., USER ..., heap ...".
std::string DescribeChange(const ResourceCounts& before, const ResourceCounts& after);

struct ResourceChange {
    ResourceCounts before;
    ResourceCounts after;
};
// Runs the operation warmUp times (the first calls may fill caches that stay
// for the life of the process), then repetitions times between two counts,
// and prints the change with the label. A round that grew is repeated (at
// most three rounds): a leak grows in each, a cache filled late only once.
ResourceChange CountAround(const char* label, int warmUp, int repetitions,
                           const std::function<void()>& operation);
// What grew, as "GDI +400, USER +200"; empty when nothing did.
std::string GrowthOf(const ResourceChange& change);
