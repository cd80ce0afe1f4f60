// The program's entry: split the command line, trace it, prepare the common
// controls and COM, and do the one run.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>

#include "app/command_line.h"
#include "app/run_win.h"
#include "util/path_win.h"
#include "util/trace_win.h"
#include "engine/utf8.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The command line as the system has it, in UTF-16: the third argument
    // lacks the program path, and has been through the system's code page.
    Arguments arguments = SplitCommandLine(PathFromWide(GetCommandLineW()));
    for (std::size_t i = 0; i < arguments.size(); i++) {
        char number[16];
        std::snprintf(number, sizeof number, "argv[%2d]=", static_cast<int>(i));
        DebugTraceText(PathFromUtf8(number) + arguments[i] + u"\r\n");
    }
    InitCommonControls();
    // Only a successful initialisation (S_FALSE included) is to be undone.
    bool com = SUCCEEDED(CoInitialize(nullptr));
    int result = RunConversion(instance, arguments);
    if (com) CoUninitialize();
    return result;
}
