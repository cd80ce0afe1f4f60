// The program's entry: split the command line, trace it, prepare the common
// controls and COM, and do the one run.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>

#include "app/command_line.h"
#include "app/run_win.h"
#include "util/trace_win.h"

static bool SystemLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    std::int32_t argc = 0;
    // The command line as the system has it, not the third argument, which
    // lacks the program path.
    char** argv = SplitCommandLine(GetCommandLineA(), &argc, SystemLeadByte);
    if (argv == nullptr) return 1;

    for (std::int32_t i = 0; i < argc; i++) {
        DebugTrace("argv[%2d]=%s\r\n", static_cast<int>(i), argv[i]);
    }

    InitCommonControls();
    // Only a successful initialisation (S_FALSE included) is to be undone.
    bool com = SUCCEEDED(CoInitialize(nullptr));
    int result = RunConversion(instance, argc, argv);
    if (com) CoUninitialize();
    std::free(argv);
    return result;
}
