#include "util/file_info_win.h"

#include <tuple>

#include "util/holders_win.h"

namespace {

constexpr int kFileBasicInfoClass = 0;
constexpr int kFileStandardInfoClass = 1;
constexpr int kFileRenameInfoClass = 3;
constexpr int kFileIdInfoClass = 18;
using InformationByHandle = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

bool QueryByHandle(HANDLE file, int informationClass, void* record, DWORD size) {
    static const auto informationByHandle =
        reinterpret_cast<InformationByHandle>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFileInformationByHandleEx")));
    return informationByHandle != nullptr &&
           informationByHandle(file, informationClass, record, size) != FALSE;
}

using SetInformationByHandle = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

SetInformationByHandle SetInformationRoutine() {
    static const auto setInformation =
        reinterpret_cast<SetInformationByHandle>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetFileInformationByHandle")));
    return setInformation;
}

// FILE_RENAME_INFO with room for a whole path.
struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    DWORD fileNameLength;  // in bytes, without the final zero
    WCHAR fileName[MAX_PATH + 1];
};

// The parts of ntdll's interface used here, as winternl.h describes them.
constexpr int kFileInternalInformationClass = 6;
constexpr int kObjectNameInformationClass = 1;
struct IoStatus {
    union {
        LONG status;
        PVOID pointer;
    };
    ULONG_PTR information;
};
struct CountedName {
    USHORT length;  // in bytes
    USHORT maximumLength;
    PWSTR buffer;
};
using QueryInformationFile = LONG(WINAPI*)(HANDLE, IoStatus*, PVOID, ULONG, int);
using QueryObject = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);

FARPROC NtdllRoutine(const char* name) {
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), name);
}

}  // namespace

HANDLE OpenToDescribe(const char* path) {
    return CreateFileA(path, FILE_READ_ATTRIBUTES,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool QueryFileIdInformation(HANDLE file, FileIdInformation* information) {
    return QueryByHandle(file, kFileIdInfoClass, information, sizeof *information);
}

bool operator==(const FileIdentity& a, const FileIdentity& b) {
    return a.source == b.source && a.volume == b.volume && a.number[0] == b.number[0] &&
           a.number[1] == b.number[1];
}

bool operator<(const FileIdentity& a, const FileIdentity& b) {
    return std::tie(a.source, a.volume, a.number[0], a.number[1]) <
           std::tie(b.source, b.volume, b.number[0], b.number[1]);
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) { return a.known() && a == b; }

bool QueryFileIdentity(HANDLE file, FileIdentity* identity) {
    FileIdInformation record;
    if (!QueryFileIdInformation(file, &record)) return false;
    identity->source = FileIdentity::FromFileId;
    identity->volume = record.volumeSerialNumber;
    identity->number[0] = record.fileId[0];
    identity->number[1] = record.fileId[1];
    return true;
}

FileIdentity IdentityOfInformation(const BY_HANDLE_FILE_INFORMATION& information) {
    FileIdentity identity;
    identity.source = FileIdentity::FromFileIndex;
    identity.volume = information.dwVolumeSerialNumber;
    identity.number[0] = information.nFileIndexHigh;
    identity.number[1] = information.nFileIndexLow;
    return identity;
}

bool IdentifyOpenFile(HANDLE file, FileIdentity* identity) {
    if (QueryFileIdentity(file, identity) && identity->known()) return true;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) return false;
    *identity = IdentityOfInformation(information);
    return identity->known();
}

bool IdentifyFile(const char* path, FileIdentity* identity) {
    HandleHolder file(OpenToDescribe(path));
    return file.valid() && IdentifyOpenFile(file.get(), identity);
}

bool QueryFileStandardInformation(HANDLE file, FileStandardInformation* information) {
    return QueryByHandle(file, kFileStandardInfoClass, information, sizeof *information);
}

bool QueryFileBasicInformation(HANDLE file, FileBasicInformation* information) {
    return QueryByHandle(file, kFileBasicInfoClass, information, sizeof *information);
}

bool SetFileBasicInformation(HANDLE file, const FileBasicInformation* information) {
    SetInformationByHandle setInformation = SetInformationRoutine();
    FileBasicInformation record = *information;
    return setInformation != nullptr &&
           setInformation(file, kFileBasicInfoClass, &record, sizeof record) != FALSE;
}

bool CanRenameOpenFiles() { return SetInformationRoutine() != nullptr; }

bool RenameOpenFile(HANDLE file, const char* newPath, bool replace) {
    SetInformationByHandle setInformation = SetInformationRoutine();
    if (setInformation == nullptr) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    RenameInformation record{};
    record.replaceIfExists = replace ? TRUE : FALSE;
    int length = MultiByteToWideChar(CP_ACP, 0, newPath, -1, record.fileName, MAX_PATH + 1);
    if (length == 0) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (length == 1) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    record.fileNameLength = static_cast<DWORD>(length - 1) * sizeof(WCHAR);
    return setInformation(file, kFileRenameInfoClass, &record, sizeof record) != FALSE;
}

bool QueryFileIndex(HANDLE file, ULONGLONG* index) {
    static const auto queryInformation = reinterpret_cast<QueryInformationFile>(
        reinterpret_cast<void*>(NtdllRoutine("NtQueryInformationFile")));
    IoStatus status{};
    LARGE_INTEGER number{};
    if (queryInformation == nullptr || queryInformation(file, &status, &number, sizeof number,
                                                        kFileInternalInformationClass) < 0) {
        return false;
    }
    *index = static_cast<ULONGLONG>(number.QuadPart);
    return *index != 0 && *index != ~ULONGLONG{0};
}

bool QueryObjectName(HANDLE file, char* name, int capacity) {
    static const auto queryObject =
        reinterpret_cast<QueryObject>(reinterpret_cast<void*>(NtdllRoutine("NtQueryObject")));
    if (queryObject == nullptr || capacity < 1) return false;
    union {
        CountedName counted;
        WCHAR room[2 * MAX_PATH + sizeof(CountedName)];
    } record{};
    ULONG length = 0;
    if (queryObject(file, kObjectNameInformationClass, &record, sizeof record, &length) < 0 ||
        record.counted.buffer == nullptr) {
        return false;
    }
    int characters = record.counted.length / sizeof(WCHAR);
    int written = WideCharToMultiByte(CP_ACP, 0, record.counted.buffer, characters, name,
                                      capacity - 1, nullptr, nullptr);
    if (written <= 0 && characters > 0) return false;
    name[written] = '\0';
    return true;
}
