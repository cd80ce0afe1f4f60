// The about box's template. The box is not in the resources: it is built in
// memory with empty, one-unit-wide text lines, and widens itself to its
// texts once they are known.
#pragma once

#include <cstdint>

// The box's controls.
constexpr int kAboutIconId = 100;
constexpr int kAboutNameLineId = 101;       // name and version
constexpr int kAboutLinkId = 102;           // the support site
constexpr int kAboutResourcesLineId = 103;  // free system resources
constexpr int kAboutOkId = 1;               // IDOK

// The template block for DialogBoxIndirectParam, or null when the heap cannot
// supply it. Release it with FreeDialogTemplate. templateSize, when given,
// receives its size in bytes.
void* BuildAboutTemplate(std::uint32_t* templateSize = nullptr);
