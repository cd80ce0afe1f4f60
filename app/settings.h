// The options the program keeps in its settings file, and the per-run fields
// that travel with them. A plain value: the run keeps it on its stack.
#pragma once

#include <cstdint>

#include "engine/detection_code.h"
#include "util/text.h"

struct Settings {
    std::int32_t outputMethod;          // 0 = into the output folder, 1 = rewrite in place
    char outputFolder[kPathCapacity];   // used when outputMethod is 0
    bool showSettingsAtStartup;
    bool keepOverwrittenInRecycleBin;
    ConversionMask conversionMask;      // per run, from the switches or the dialog
    bool dialogBeforeRun;               // per run: the dialog offers the conversion choices
    bool outputFolderWarning;           // per run: the dialog says the folder is unusable
    std::int32_t listDialogWidth;
    std::int32_t listDialogHeight;
    std::int32_t listSortColumn;        // per run
    bool listSortAscending;             // per run
};
