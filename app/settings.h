// The options the program keeps in its settings file, and the per-run fields
// that travel with them. A plain value: the run keeps it on its stack.
#pragma once

#include <cstdint>

#include "engine/detection_code.h"
#include "util/path.h"

// Where a run writes its results. The settings file stores these values.
enum class OutputMethod : std::int32_t {
    IntoOutputFolder = 0,
    RewriteInPlace = 1,
};

struct Settings {
    OutputMethod outputMethod;
    Path outputFolder;  // used with IntoOutputFolder
    bool showSettingsAtStartup;
    bool keepOverwrittenInRecycleBin;
    // Per run, from the switches or the dialog: the direction, and
    // WithByteOrderMark where /bom asks for it.
    ConversionMask conversionMask;
    bool dialogBeforeRun;      // per run: the dialog offers the conversion choices
    bool outputFolderWarning;  // per run: the dialog says the folder is unusable
    std::int32_t listDialogWidth;
    std::int32_t listDialogHeight;
    std::int32_t listSortColumn;     // per run
    bool listSortAscending;          // per run
    std::int32_t failedDialogWidth;  // the list of files that could not be written
    std::int32_t failedDialogHeight;
    // Every file a run writes in UTF-8 starts with a byte-order mark (the
    // mask's WithByteOrderMark; /bom asks for it for one run).
    bool utf8ByteOrderMark;
};

// The mask the run's files are handed over with: the direction, with the
// byte-order mark where the settings ask for it (or the switches did).
inline ConversionMask RunMask(const Settings& settings) {
    return settings.utf8ByteOrderMark ? settings.conversionMask | ConversionMask::WithByteOrderMark
                                      : settings.conversionMask;
}
