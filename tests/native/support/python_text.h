// Python's codecs, the second reference beside glibc's iconv.
#pragma once

#include <cstdio>
#include <string>

#include "tests/native/support/engine_files.h"

// What a python3 script writes to its standard output, the input's bytes
// given to it as `data`; false when python3 cannot run it or it fails (a
// codec refusing a character, say).
inline bool RunPython(const std::string& script, const std::string& input, std::string* output) {
    ScratchFile data(input);
    ScratchFile file("import sys\ndata = open(sys.argv[1], 'rb').read()\n" + script);
    std::FILE* pipe =
        popen(("python3 " + std::string(file.path()) + " " + data.path()).c_str(), "r");
    if (pipe == nullptr) return false;
    output->clear();
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output->append(buffer, got);
    }
    return pclose(pipe) == 0;
}
