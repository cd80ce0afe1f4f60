#include "tests/win32/support/wine_host.h"

#include <windows.h>

#include <cstring>

#include "tests/win32/support/test_support.h"

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string UnixPathOf(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(const WCHAR*);
    auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (convert == nullptr) return "";
    WCHAR wide[MAX_PATH * 2];
    if (MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide, MAX_PATH * 2) == 0) return "";
    char* unixPath = convert(wide);
    if (unixPath == nullptr) return "";
    std::string result = unixPath;
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

// A Linux system call with two pointer arguments, made from inside the Wine
// process straight to the kernel: int 0x80 from a 32-bit process, syscall
// (with the 64-bit numbering) from a 64-bit one.
enum class HostCallNumber { kSymlink, kUnlink };

static long HostCall(HostCallNumber call, const char* first, const char* second) {
    long result;
#if defined(__x86_64__)
    long number = call == HostCallNumber::kSymlink ? 88 : 87;
    asm volatile("syscall"
                 : "=a"(result)
                 : "a"(number), "D"(first), "S"(second)
                 : "rcx", "r11", "memory");
#else
    long number = call == HostCallNumber::kSymlink ? 83 : 10;
    asm volatile("int $0x80" : "=a"(result) : "a"(number), "b"(first), "c"(second) : "memory");
#endif
    return result;
}

bool MakeHostSymbolicLink(const std::string& target, const std::string& linkPath) {
    std::string unixTarget = UnixPathOf(target);
    std::string unixLink = UnixPathOf(linkPath);
    if (unixTarget.empty() || unixLink.empty()) return false;
    return HostCall(HostCallNumber::kSymlink, unixTarget.c_str(), unixLink.c_str()) == 0;
}

bool RemoveHostSymbolicLink(const std::string& linkPath) {
    std::string unixLink = UnixPathOf(linkPath);
    if (unixLink.empty()) return false;
    return HostCall(HostCallNumber::kUnlink, unixLink.c_str(), nullptr) == 0;
}

// mount(2) and umount2(2), made as HostCall makes its calls.
static long HostMount(const char* source, const char* target, unsigned long flags) {
    long result;
#if defined(__x86_64__)
    register long fstype asm("rdx") = 0;
    register unsigned long flagsRegister asm("r10") = flags;
    register long data asm("r8") = 0;
    asm volatile("syscall"
                 : "=a"(result)
                 : "a"(165L), "D"(source), "S"(target), "r"(fstype), "r"(flagsRegister), "r"(data)
                 : "rcx", "r11", "memory");
#else
    asm volatile("int $0x80"
                 : "=a"(result)
                 : "a"(21L), "b"(source), "c"(target), "d"(0L), "S"(flags), "D"(0L)
                 : "memory");
#endif
    return result;
}

static long HostUnmount(const char* target, unsigned long flags) {
    long result;
#if defined(__x86_64__)
    asm volatile("syscall"
                 : "=a"(result)
                 : "a"(166L), "D"(target), "S"(flags)
                 : "rcx", "r11", "memory");
#else
    asm volatile("int $0x80" : "=a"(result) : "a"(52L), "b"(target), "c"(flags) : "memory");
#endif
    return result;
}

bool MountReadOnlyView(const std::string& folder, const std::string& mountPoint) {
    constexpr unsigned long kReadOnly = 1, kRemount = 32, kBind = 4096;
    std::string unixFolder = UnixPathOf(folder);
    std::string unixMountPoint = UnixPathOf(mountPoint);
    if (unixFolder.empty() || unixMountPoint.empty()) return false;
    if (HostMount(unixFolder.c_str(), unixMountPoint.c_str(), kBind) != 0) return false;
    // A bind mount takes the read-only mark only when it is mounted again.
    if (HostMount(nullptr, unixMountPoint.c_str(), kRemount | kBind | kReadOnly) != 0) {
        UnmountView(mountPoint);
        return false;
    }
    return true;
}

bool UnmountView(const std::string& mountPoint) {
    constexpr unsigned long kDetach = 2;
    std::string unixMountPoint = UnixPathOf(mountPoint);
    return !unixMountPoint.empty() && HostUnmount(unixMountPoint.c_str(), kDetach) == 0;
}

static std::string HostVariable(const std::string& environment, const char* name) {
    std::string prefix = std::string(name) + "=";
    for (std::size_t i = 0; i < environment.size();) {
        std::size_t end = environment.find('\0', i);
        if (end == std::string::npos) end = environment.size();
        if (environment.compare(i, prefix.size(), prefix) == 0) {
            return environment.substr(i + prefix.size(), end - i - prefix.size());
        }
        i = end + 1;
    }
    return "";
}

std::string HostTrashFolder() {
    if (!RunningUnderWine()) return "";
    std::string environment = ReadBytes("Z:\\proc\\self\\environ");
    if (environment == "<missing>") return "";
    std::string data = HostVariable(environment, "XDG_DATA_HOME");
    if (data.empty()) {
        std::string home = HostVariable(environment, "HOME");
        if (home.empty()) return "";
        data = home + "/.local/share";
    }
    return HostPath((data + "/Trash").c_str());
}
