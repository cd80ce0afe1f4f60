// Python's codecs, the second reference beside glibc's iconv: scripts run by
// python3 over the bytes of a text.
#pragma once

#include <cstdio>
#include <string>

#include "tests/native/support/engine_files.h"

// Runs the script with the input's bytes as `data` (and sys imported), and
// gives back what it writes to its standard output; false when python3
// cannot be run or the script fails (a codec refusing a character, say).
inline bool RunPython(const std::string& script, const std::string& input, std::string* output) {
    ScratchFile data(input);
    ScratchFile file(
        "import sys\n"
        "data = open(sys.argv[1], 'rb').read()\n" +
        script);
    std::string command = std::string("python3 ") + file.path() + " " + data.path();
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return false;
    output->clear();
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output->append(buffer, got);
    return pclose(pipe) == 0;
}

// The bytes an expression over `data` gives, for example
// "data.decode('utf-16').encode('cp932')".
inline bool PythonConvert(const std::string& expression, const std::string& input,
                          std::string* output) {
    return RunPython("sys.stdout.buffer.write(" + expression + ")\n", input, output);
}
