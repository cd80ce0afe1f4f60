#include "tests/win32/support/program_runner.h"

#include <cstring>
#include <thread>

#include "tests/win32/support/settings_support.h"
#include "util/path_win.h"

ProgramCopy::ProgramCopy() { CopyFileA(HostPath(TAVELIN_EXE).c_str(), exe().c_str(), FALSE); }

void ProgramCopy::WriteSettings(const Settings& settings) const {
    auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
    std::string text = "[TAVELIN]\r\n";
    text +=
        "上書きされるファイルをゴミ箱に残す=" + flag(settings.keepOverwrittenInRecycleBin) + "\r\n";
    text += "起動時に設定ダイアログを表示する=" + flag(settings.showSettingsAtStartup) + "\r\n";
    text += "出力先決定方法=" + std::to_string(static_cast<int>(settings.outputMethod)) + "\r\n";
    text += "出力先パス=";
    std::string tail = "\r\n";
    tail += "ダイアログの幅=" + std::to_string(settings.listDialogWidth) + "\r\n";
    tail += "ダイアログの高さ=" + std::to_string(settings.listDialogHeight) + "\r\n";
    // Only where it is on: the file of a user who never set it holds no such key.
    if (settings.utf8ByteOrderMark) tail += "UTF-8 に BOM を付ける=1\r\n";
    // The folder as the program stores it: a path code page 932 cannot hold
    // makes the whole file UTF-16.
    WriteBytes(ini(), SettingsFileBytes(P(text) + settings.outputFolder + P(tail)));
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// The line in code page 932, however it was sent (the system hands a wide
// line to a debugger of this kind converted, but need not).
static std::string ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    std::size_t unit = info.fUnicode ? sizeof(WCHAR) : 1;
    std::string text(info.nDebugStringLength * unit, '\0');
    SIZE_T got = 0;
    ReadProcessMemory(process, info.lpDebugStringData, &text[0], text.size(), &got);
    text.resize(got - got % unit);
    if (info.fUnicode) {
        Path wide(text.size() / unit, u'\0');
        std::memcpy(&wide[0], text.data(), text.size());
        text = Cp932(wide);
    }
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

HWND WaitForWindow(const char* className, const wchar_t* title, DWORD timeoutMs) {
    return WaitForWindow(className, Cp932(PathFromWide(title)).c_str(), timeoutMs);
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
