#include "tests/win32/support/test_support.h"

#include <cstdio>

#include "engine/work_item_win.h"
#include "util/path_win.h"

std::string HostPath(const char* unixPath) {
    std::string p = std::string("Z:") + unixPath;
    for (char& c : p) {
        if (c == '/') c = '\\';
    }
    return p;
}

ScopedVariable::ScopedVariable(const char* name, const char* value) : name_(name) {
    std::string old(32768, '\0');
    DWORD length = GetEnvironmentVariableA(name, &old[0], static_cast<DWORD>(old.size()));
    had_ = length > 0 && length < old.size();
    if (had_) old_.assign(old.c_str(), length);
    SetEnvironmentVariableA(name, value);
}

ScopedVariable::~ScopedVariable() { SetEnvironmentVariableA(name_, had_ ? old_.c_str() : nullptr); }

ScratchFolder::ScratchFolder() {
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    static unsigned serial = 0;
    for (;;) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof name, "%stavelin-test-%lu-%u", base, GetCurrentProcessId(),
                      serial++);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

Path P(const std::string& cp932) {
    if (cp932.empty()) return Path();
    int length =
        MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), &wide[0], length);
    return PathFromWide(wide.c_str());
}

std::string Cp932(const Path& path) {
    if (path.empty()) return std::string();
    int size = static_cast<int>(path.size());
    int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, WidePath(path), size, nullptr, 0,
                                     nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, WidePath(path), size, &text[0], length, nullptr,
                        nullptr);
    return text;
}

bool WriteBytes(const Path& path, const std::string& bytes) {
    HANDLE h = CreateFileW(FileApiPath(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    return WriteBytes(P(path), bytes);
}

std::string ReadBytes(const Path& path) {
    HANDLE h = CreateFileW(FileApiPath(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string data;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0) data.append(buffer, got);
    CloseHandle(h);
    return data;
}

std::string ReadBytes(const std::string& path) { return ReadBytes(P(path)); }

bool MakeFolder(const Path& path) { return CreateDirectoryW(FileApiPath(path), nullptr) != 0; }

bool MakeFolder(const std::string& path) { return MakeFolder(P(path)); }

void RemoveTree(const Path& path) {
    FileApiPath name(path);
    DWORD attributes = GetFileAttributesW(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(name, FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        DeleteFileW(name);
        return;
    }
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(FileApiPath(path + u"\\*"), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            Path child = PathFromWide(found.cFileName);
            if (child != u"." && child != u"..") RemoveTree(path + u"\\" + child);
        } while (FindNextFileW(h, &found));
        FindClose(h);
    }
    RemoveDirectoryW(name);
}

void RemoveTree(const std::string& path) { RemoveTree(P(path)); }

Path MakeDeepFolder(const Path& base, std::size_t length) {
    Path folder = base;
    for (int level = 0; folder.size() < length; level++) {
        folder += u"\\" + Path(49, static_cast<PathChar>(u'a' + level % 26)) + u"d";
        if (!MakeFolder(folder)) return Path();
    }
    return folder;
}

HeldItem MakeHeldItem(const std::string& source, const std::string& destination) {
    return HeldItem(MakeWorkItem(P(source), P(destination)));
}

DWORD RunAndWait(const Path& program, const Path& commandLine, const Path& folder,
                 DWORD timeoutMs) {
    std::wstring line(WidePath(commandLine));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(WidePath(program), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : WidePath(folder), &startup, &process)) {
        return 1000;
    }
    DWORD exitCode = 1001;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &exitCode);
    } else {
        TerminateProcess(process.hProcess, 1001);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}
