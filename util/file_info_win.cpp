#include "util/file_info_win.h"

#include <tuple>
#include <vector>

#include "util/holders_win.h"
#include "util/path_win.h"

namespace {

constexpr int kFileBasicInfoClass = 0;
constexpr int kFileStandardInfoClass = 1;
constexpr int kFileRenameInfoClass = 3;
constexpr int kFileIdInfoClass = 18;
using InformationByHandle = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

bool QueryByHandle(HANDLE file, int informationClass, void* record, DWORD size) {
    static const auto informationByHandle =
        reinterpret_cast<InformationByHandle>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFileInformationByHandleEx")));
    return informationByHandle != nullptr &&
           informationByHandle(file, informationClass, record, size) != FALSE;
}

using SetInformationByHandle = BOOL(WINAPI*)(HANDLE, int, LPVOID, DWORD);

SetInformationByHandle SetInformationRoutine() {
    static const auto setInformation =
        reinterpret_cast<SetInformationByHandle>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetFileInformationByHandle")));
    return setInformation;
}

// FILE_RENAME_INFO, its name following it in the same block.
struct RenameInformation {
    BOOLEAN replaceIfExists;
    HANDLE rootDirectory;
    DWORD fileNameLength;  // in bytes, without the final zero
    WCHAR fileName[1];
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
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name);
}

}  // namespace

HANDLE OpenToDescribe(const Path& path) {
    return CreateFileW(FileApiPath(path), FILE_READ_ATTRIBUTES,
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

bool IdentifyFile(const Path& path, FileIdentity* identity) {
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

bool RenameOpenFile(HANDLE file, const Path& newPath, bool replace) {
    SetInformationByHandle setInformation = SetInformationRoutine();
    if (setInformation == nullptr) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    if (newPath.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    // The record counts the name's bytes in 32 bits, the system in 16: a name
    // longer than Windows allows would arrive cut, naming another file.
    if (!FitsWindowsPath(newPath)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // The name as the file functions take it: the long form for a long path.
    FileApiPath name(newPath);
    std::size_t characters = std::char_traits<wchar_t>::length(name.get());
    std::vector<unsigned char> block(sizeof(RenameInformation) + characters * sizeof(WCHAR));
    auto* record = reinterpret_cast<RenameInformation*>(block.data());
    record->replaceIfExists = replace ? TRUE : FALSE;
    record->rootDirectory = nullptr;
    record->fileNameLength = static_cast<DWORD>(characters * sizeof(WCHAR));
    std::char_traits<wchar_t>::copy(record->fileName, name.get(), characters + 1);
    return setInformation(file, kFileRenameInfoClass, record, static_cast<DWORD>(block.size())) !=
           FALSE;
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

bool QueryObjectName(HANDLE file, Path* name) {
    static const auto queryObject =
        reinterpret_cast<QueryObject>(reinterpret_cast<void*>(NtdllRoutine("NtQueryObject")));
    if (queryObject == nullptr) return false;
    // Room for the usual name; a longer one is asked again with the room the
    // system says it needs.
    std::vector<unsigned char> block(sizeof(CountedName) + 2 * MAX_PATH * sizeof(WCHAR));
    for (int attempt = 0; attempt < 2; attempt++) {
        ULONG needed = 0;
        LONG status = queryObject(file, kObjectNameInformationClass, block.data(),
                                  static_cast<ULONG>(block.size()), &needed);
        if (status >= 0) {
            const auto* counted = reinterpret_cast<const CountedName*>(block.data());
            if (counted->buffer == nullptr) return false;
            name->assign(reinterpret_cast<const PathChar*>(counted->buffer),
                         counted->length / sizeof(WCHAR));
            return true;
        }
        if (needed <= block.size()) return false;
        block.resize(needed);
    }
    return false;
}
