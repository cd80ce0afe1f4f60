#include "tests/win32/support/program_runner.h"

#include <thread>

ProgramCopy::ProgramCopy() { CopyFileA(HostPath(TAVELIN_EXE).c_str(), exe().c_str(), FALSE); }

void ProgramCopy::WriteSettings(const Settings& settings) const {
    auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
    std::string text = "[TAVELIN]\r\n";
    text +=
        "上書きされるファイルをゴミ箱に残す=" + flag(settings.keepOverwrittenInRecycleBin) + "\r\n";
    text += "起動時に設定ダイアログを表示する=" + flag(settings.showSettingsAtStartup) + "\r\n";
    text += "出力先決定方法=" + std::to_string(static_cast<int>(settings.outputMethod)) + "\r\n";
    text += std::string("出力先パス=") + settings.outputFolder + "\r\n";
    text += "ダイアログの幅=" + std::to_string(settings.listDialogWidth) + "\r\n";
    text += "ダイアログの高さ=" + std::to_string(settings.listDialogHeight) + "\r\n";
    WriteBytes(ini(), text);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

static std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    std::string text(info.nDebugStringLength, '\0');
    SIZE_T got = 0;
    ReadProcessMemory(process, info.lpDebugStringData, &text[0], text.size(), &got);
    text.resize(got);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

RunResult RunProgram(const std::string& exe, const std::string& args, DWORD timeoutMs,
                     const std::function<void(DWORD)>& whileRunning) {
    RunResult result;
    std::string commandLine = Quoted(exe) + (args.empty() ? "" : " " + args);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string folder = exe.substr(0, exe.rfind('\\'));
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        DEBUG_ONLY_THIS_PROCESS, nullptr, folder.c_str(), &startup, &process)) {
        return result;
    }
    result.started = true;
    std::thread driver;
    if (whileRunning) driver = std::thread(whileRunning, process.dwProcessId);

    DWORD start = GetTickCount();
    bool running = true;
    while (running) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, 200)) {
            if (GetTickCount() - start > timeoutMs) {
                TerminateProcess(process.hProcess, 99);
                start = GetTickCount() + 0x7fffffff;  // keep waiting for the exit event
            }
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case OUTPUT_DEBUG_STRING_EVENT:
                result.debugLines.push_back(ReadDebugString(process.hProcess, event.u.DebugString));
                break;
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
                break;
            case EXCEPTION_DEBUG_EVENT:
                // First-chance exceptions belong to the program; the loader's
                // breakpoint is ours to swallow.
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    status = DBG_EXCEPTION_NOT_HANDLED;
                }
                break;
            case EXIT_PROCESS_DEBUG_EVENT:
                result.exitCode = event.u.ExitProcess.dwExitCode;
                result.finished = GetTickCount() - start <= timeoutMs;
                running = false;
                break;
            default:
                break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    }
    if (driver.joinable()) driver.join();
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return result;
}

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND window = FindWindowA(className, title);
        if (window != nullptr && IsWindowVisible(window)) return window;
        Sleep(50);
    }
    return nullptr;
}
