// Runs a copy of TAVELIN.exe the way a user's drop does, and watches it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/settings.h"
#include "tests/win32/support/test_support.h"

// A scratch folder holding a copy of the program; its settings file and its
// temporary files live beside that copy.
class ProgramCopy {
  public:
    ProgramCopy();
    const std::string& folder() const { return scratch_.path(); }
    std::string exe() const { return scratch_ / "TAVELIN.exe"; }
    std::string ini() const { return scratch_ / "tavelin.ini"; }
    std::string operator/(const std::string& name) const { return scratch_ / name; }
    // Writes the settings file with the six keys the record's stored fields
    // give (texts in code page 932, or the whole file in UTF-16 where the
    // output folder needs it), written out here rather than by the
    // program's own SaveSettings, which the runs are there to check.
    void WriteSettings(const Settings& settings) const;

  private:
    ScratchFolder scratch_;
};

struct RunResult {
    bool started = false;
    bool finished = false;  // false: killed after the timeout
    DWORD exitCode = 0;
    std::vector<std::string> debugLines;  // what the program sent to the debugger
};

// Starts the program with the command line "exe" args, under a debug loop
// that collects its debugger output. While it runs, `whileRunning` is called
// on another thread (for driving its windows); the program is killed after
// timeoutMs.
RunResult RunProgram(const std::string& exe, const std::string& args, DWORD timeoutMs = 60000,
                     const std::function<void(DWORD processId)>& whileRunning = nullptr);

// Waits up to timeoutMs for a visible top-level window of the class and title.
HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs);
// The same for a title the program holds in UTF-16.
HWND WaitForWindow(const char* className, const wchar_t* title, DWORD timeoutMs);
// Quotes a path for a command line.
std::string Quoted(const std::string& path);
