#include "engine/replace_win.h"

#include <string>

#include "engine/recycle_bin_win.h"
#include "engine/staged_name.h"
#include "util/file_info_win.h"
#include "util/holders_win.h"
#include "util/path_win.h"
#include "util/trace_win.h"
#include "engine/utf8.h"

namespace {

// Large blocks: a big file is copied in few calls, and the buffer is static so
// that a small file costs no allocation.
constexpr DWORD kBlockSize = 1 << 20;
char block[kBlockSize];

BlockWriter blockWriter = WriteFile;

// Traces a write that did not happen: the destination's name and the reason.
// The error stays the thread's last error, for the caller to tell the user.
void TraceFailure(const Path& destination, const char* reason, DWORD error) {
    DebugTracePath(destination, "not written: %s (error %lu)\r\n", reason, error);
    SetLastError(error);
}

// Whether two spellings of a path are the same text, letters compared without
// case as the file system compares names (upper-cased by the system's own
// table, which needs no locale's sort table loaded).
bool SamePathText(const Path& a, const Path& b) {
    if (a.size() != b.size()) return false;
    std::wstring x(WidePath(a), a.size());
    std::wstring y(WidePath(b), b.size());
    CharUpperBuffW(&x[0], static_cast<DWORD>(x.size()));
    CharUpperBuffW(&y[0], static_cast<DWORD>(y.size()));
    return x == y;
}

HANDLE OpenForReading(const Path& path) {
    return CreateFileW(FileApiPath(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

// Copies everything from the reader's position to the end into the writer.
// False, with the error in *error, when a read or a write failed.
bool CopyAll(HANDLE reader, HANDLE writer, DWORD* error, BlockWriter write = nullptr) {
    if (write == nullptr) write = blockWriter;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(reader, block, kBlockSize, &got, nullptr)) {
            *error = GetLastError();
            return false;
        }
        if (got == 0) return true;
        for (DWORD done = 0; done < got;) {
            DWORD wrote = 0;
            if (!write(writer, block + done, got - done, &wrote, nullptr) || wrote == 0) {
                *error = GetLastError();
                if (*error == ERROR_SUCCESS) *error = ERROR_WRITE_FAULT;
                return false;
            }
            done += wrote;
        }
    }
}

// Puts the file's bytes on the disk.
bool Flush(HANDLE writer, DWORD* error) {
    if (!FlushFileBuffers(writer)) {
        *error = GetLastError();
        return false;
    }
    return true;
}

// Ends the file where the writer stands and puts it on the disk.
bool EndAndFlush(HANDLE writer, DWORD* error) {
    if (!SetEndOfFile(writer)) {
        *error = GetLastError();
        return false;
    }
    return Flush(writer, error);
}

bool StampTimes(HANDLE file, const Placement* placement) {
    const WIN32_FIND_DATAW* source = placement->source;
    // A plain copy keeps only the last write time, as CopyFileW does.
    if (!placement->conversion)
        return SetFileTime(file, nullptr, nullptr, &source->ftLastWriteTime) != FALSE;
    return SetFileTime(file, &source->ftCreationTime, &source->ftLastAccessTime,
                       &source->ftLastWriteTime) != FALSE;
}

// What the replace asks of a file: which file it is (SameFile) and how many
// names it has.
struct FileDescription {
    FileIdentity identity;  // not known unless it was asked for
    DWORD numberOfLinks = 0;
};

// Both, asked of the open file alone where the system can tell them (see
// util/file_info_win.h), else of GetFileInformationByHandle, which answers
// both in one call.
bool DescribeOpenFile(HANDLE file, FileDescription* description) {
    FileIdentity identity;
    FileStandardInformation standard;
    if (QueryFileIdentity(file, &identity) && QueryFileStandardInformation(file, &standard)) {
        description->identity = identity;
        description->numberOfLinks = standard.numberOfLinks;
        return true;
    }
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information)) return false;
    description->identity = IdentityOfInformation(information);
    description->numberOfLinks = information.nNumberOfLinks;
    return true;
}

// The number of names of the open file, where the system tells it without
// the rest; else the whole description.
bool CountNames(HANDLE file, FileDescription* description) {
    FileStandardInformation standard;
    if (!QueryFileStandardInformation(file, &standard)) return DescribeOpenFile(file, description);
    description->numberOfLinks = standard.numberOfLinks;
    return true;
}

// The path a link leads to, from the system's final name of the open file
// (its long form's prefix taken off); false when the system cannot tell
// (before Windows Vista).
bool FinalPath(HANDLE file, Path* out) {
    using FinalPathName = DWORD(WINAPI*)(HANDLE, LPWSTR, DWORD, DWORD);
    static auto finalPathName = reinterpret_cast<FinalPathName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (finalPathName == nullptr) return false;
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = finalPathName(file, &name[0], static_cast<DWORD>(name.size()), 0);
    // Too small a buffer: the answer is the room needed, its terminator counted.
    if (length >= name.size()) {
        name.assign(length, L'\0');
        length = finalPathName(file, &name[0], static_cast<DWORD>(name.size()), 0);
        if (length >= name.size()) return false;
    }
    if (length == 0) return false;
    name.resize(length);
    *out = WithoutLongFormPrefix(PathFromWide(name.c_str()));
    return true;
}

// Whether the open destination may be a symbolic link, which a rename would
// replace instead of the file it leads to. Windows marks every symbolic link
// with FILE_ATTRIBUTE_REPARSE_POINT and names files by their device. Wine
// marks no Unix link, but names the open file by its drive path with every
// link resolved ("\??\Z:\..."): that name differs from the path asked for
// when a link was followed (or when the path is spelt another way, which
// costs only the longer look). When the name cannot be had, it may be.
bool MayBeLink(HANDLE file, const Path& path, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return true;
    Path name;
    if (!QueryObjectName(file, &name)) return true;
    if (name.compare(0, 4, u"\\??\\") != 0) return false;
    return !SamePathText(WithoutLongFormPrefix(name.substr(4)), path);
}

// What is known about the destination before it is replaced.
struct Destination {
    Path path;  // where the file really is (a link followed)
    bool exists = false;
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    // The number of names; the identity too where it was asked for, or a
    // link was followed (else it stays unknown, which SameFile never takes
    // for a match).
    FileDescription description;
};

// A rename over a symbolic link would replace the link and leave the file it
// leads to on its old bytes, so an existing destination that may be a link is
// followed to the file itself; the result is used only when it is that same
// file. The destination is opened once for all of it, and not at all where
// the caller knew the facts and no identity is asked for.
void FindDestination(const Path& destinationPath, bool needIdentity, const DestinationFacts* known,
                     Destination* destination) {
    destination->path = destinationPath;
    destination->attributes =
        known != nullptr ? known->attributes : GetFileAttributesW(FileApiPath(destinationPath));
    destination->exists = destination->attributes != INVALID_FILE_ATTRIBUTES;
    if (!destination->exists) return;
    if (known != nullptr && !needIdentity && !known->mayBeLink) {
        destination->description.numberOfLinks = known->numberOfLinks;
        return;
    }
    HandleHolder file(OpenToDescribe(destinationPath));
    if (!file.valid()) return;
    bool follow = MayBeLink(file.get(), destinationPath, destination->attributes);
    if (!follow && !needIdentity) {
        CountNames(file.get(), &destination->description);
        return;
    }
    if (!DescribeOpenFile(file.get(), &destination->description) || !follow) return;
    Path final;
    if (!FinalPath(file.get(), &final) || SamePathText(final, destinationPath)) return;
    FileIdentity followed;
    if (IdentifyFile(final, &followed) && SameFile(followed, destination->description.identity)) {
        destination->path = final;
        destination->attributes = GetFileAttributesW(FileApiPath(final));
    }
}

// Creates a staged file beside the destination under a name no file has.
HANDLE CreateStaged(const Path& destinationPath, Path* stagedPath, DWORD* error) {
    *error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kStagedCandidates; attempt++) {
        *stagedPath = StagedPath(destinationPath, GetCurrentProcessId(), attempt);
        if (!FitsWindowsPath(*stagedPath)) {
            *error = ERROR_FILENAME_EXCED_RANGE;
            break;
        }
        // Created exclusively: a file that happens to have the name is never touched.
        // DELETE: it is renamed over the destination through this handle.
        HANDLE file = CreateFileW(FileApiPath(*stagedPath), GENERIC_WRITE | DELETE, 0, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) return file;
        *error = GetLastError();
        if (*error != ERROR_FILE_EXISTS && *error != ERROR_ALREADY_EXISTS) break;
    }
    stagedPath->clear();
    return INVALID_HANDLE_VALUE;
}

void RemoveStaged(const Path& stagedPath) {
    if (stagedPath.empty()) return;
    FileApiPath path(stagedPath);
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path);
}

LARGE_INTEGER TimeValue(const FILETIME& time) {
    LARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = static_cast<LONG>(time.dwHighDateTime);
    return value;
}

// The source's times (as StampTimes gives them) and its attributes in one
// call through the open file, where the system has it: setting the
// attributes by name opens the file a second time. False where it has not,
// or refused; the caller then goes the long way.
bool StampTimesAndAttributes(HANDLE file, const Placement* placement) {
    const WIN32_FIND_DATAW* source = placement->source;
    // Zero leaves a time as it is, as a null time does for SetFileTime; zero
    // attributes would leave them too, where SetFileAttributesW makes them normal.
    if (source->dwFileAttributes == 0) return false;
    FileBasicInformation information{};
    information.lastWriteTime = TimeValue(source->ftLastWriteTime);
    if (placement->conversion) {
        information.creationTime = TimeValue(source->ftCreationTime);
        information.lastAccessTime = TimeValue(source->ftLastAccessTime);
    }
    information.fileAttributes = source->dwFileAttributes;
    return SetFileBasicInformation(file, &information);
}

// Gives the staged file open in *staged the source's times and attributes:
// in one call through the open file where the system can, and the file stays
// open; otherwise the times through the handle and then the attributes by
// name, for which the file is closed first (it is open without sharing).
// False, with the error, when either could not be set.
bool RestoreTimesAndAttributes(HandleHolder* staged, const Path& stagedPath,
                               const Placement* placement, DWORD* error) {
    if (StampTimesAndAttributes(staged->get(), placement)) return true;
    if (!StampTimes(staged->get(), placement)) {
        *error = GetLastError();
        return false;
    }
    staged->Close();
    if (!SetFileAttributesW(FileApiPath(stagedPath), placement->source->dwFileAttributes)) {
        *error = GetLastError();
        return false;
    }
    return true;
}

// A complete, durable copy of a file's bytes in a new staged file beside the
// destination, with the source's times and attributes when a placement is
// given. False (nothing left behind) when any step failed. With keptOpen, the
// staged file is handed back still open where it could be stamped through its
// handle, so that it can be renamed through it too; otherwise *keptOpen is
// INVALID_HANDLE_VALUE.
bool StageCopy(HANDLE reader, const Path& destinationPath, const Placement* placement,
               Path* stagedPath, DWORD* error, HANDLE* keptOpen = nullptr) {
    if (keptOpen != nullptr) *keptOpen = INVALID_HANDLE_VALUE;
    HandleHolder staged(CreateStaged(destinationPath, stagedPath, error));
    if (!staged.valid()) return false;
    // A new file ends where the copy ends: there is nothing to cut off.
    bool done =
        CopyAll(reader, staged.get(), error) && Flush(staged.get(), error) &&
        (placement == nullptr || RestoreTimesAndAttributes(&staged, *stagedPath, placement, error));
    if (done && keptOpen != nullptr && staged.valid()) {
        *keptOpen = staged.Release();
        return true;
    }
    staged.Close();
    if (!done) RemoveStaged(*stagedPath);
    return done;
}

// Replacing a file that another program holds open is refused as access
// denied; the user is better told that the file is in use, which is what an
// opening of it that shares everything finds out.
DWORD WhyNotReplaced(const Path& path, DWORD error) {
    if (error != ERROR_ACCESS_DENIED) return error;
    HANDLE probe = CreateFileW(FileApiPath(path), DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return error;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION ? ERROR_SHARING_VIOLATION : error;
}

// Renames the complete staged file over the destination: through its open
// handle where the system can (no second opening by name), else by name.
bool RenameOver(HandleHolder* staged, const Path& stagedPath, const Path& path) {
    if (staged->valid() && CanRenameOpenFiles()) return RenameOpenFile(staged->get(), path, true);
    staged->Close();
    return MoveFileExW(FileApiPath(stagedPath), FileApiPath(path),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// The destination has other names that must show the new bytes too: they are
// written into the file itself, with its old bytes kept aside until then.
bool OverwriteKeepingNames(HANDLE result, const Destination* destination,
                           const Placement* placement) {
    const Path& path = destination->path;
    const FileApiPath name(path);
    Path keptPath;
    DWORD error = 0;
    {
        HandleHolder old(OpenForReading(path));
        if (!old.valid()) {
            TraceFailure(path, "the file cannot be read", GetLastError());
            return false;
        }
        if (!StageCopy(old.get(), path, nullptr, &keptPath, &error)) {
            TraceFailure(path, "no room for a copy of the old bytes", error);
            return false;
        }
    }
    if (placement->conversion) SetFileAttributesW(name, FILE_ATTRIBUTE_NORMAL);
    HandleHolder file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid()) {
        error = GetLastError();
        SetFileAttributesW(name, destination->attributes);
        RemoveStaged(keptPath);
        TraceFailure(path, "the file cannot be opened for writing", error);
        return false;
    }
    bool written = CopyAll(result, file.get(), &error) && EndAndFlush(file.get(), &error) &&
                   StampTimes(file.get(), placement);
    if (!written) {
        // The blocks the old bytes filled are still the file's, so writing
        // them back needs no room the volume may lack (nor the writer that
        // stands for a volume that has none).
        DWORD ignored = 0;
        HandleHolder kept(OpenForReading(keptPath));
        bool restored = kept.valid() && SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN) == 0 &&
                        CopyAll(kept.get(), file.get(), &ignored, WriteFile) &&
                        EndAndFlush(file.get(), &ignored);
        kept.Close();
        file.Close();
        SetFileAttributesW(name, destination->attributes);
        TraceFailure(path, "writing the new bytes into a file with several names failed", error);
        if (restored) {
            RemoveStaged(keptPath);
        } else {
            DebugTracePath(path, "its old bytes are kept in %s\r\n",
                           Utf8FromPath(keptPath).c_str());
        }
        return false;
    }
    file.Close();
    SetFileAttributesW(name, placement->source->dwFileAttributes);
    RemoveStaged(keptPath);
    return true;
}

// A plain copy onto a read-only destination, or onto a hidden or system one
// that the source is not, fails as CopyFileW fails.
bool CopyRefused(const Destination* destination, const Placement* placement) {
    if (placement->conversion || !destination->exists) return false;
    DWORD protectedBits = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (destination->attributes & FILE_ATTRIBUTE_READONLY) != 0 ||
           (destination->attributes & protectedBits & ~placement->source->dwFileAttributes) != 0;
}

// result: the new bytes, read from their start; INVALID_HANDLE_VALUE when
// they could not be opened (resultError says why).
bool Place(HANDLE result, DWORD resultError, const Path& destinationPath,
           const Placement* placement) {
    Destination destination;
    // Only a plain copy can be asked to go onto its own source.
    FindDestination(destinationPath, !placement->conversion, placement->known, &destination);
    const Path& path = destination.path;
    const FileApiPath name(path);
    if (destination.exists && (destination.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        TraceFailure(path, "a folder has the name", ERROR_ACCESS_DENIED);
        return false;
    }
    if (CopyRefused(&destination, placement)) {
        TraceFailure(path, "the file is read-only or hidden", ERROR_ACCESS_DENIED);
        return false;
    }
    if (result == INVALID_HANDLE_VALUE ||
        SetFilePointer(result, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        if (result != INVALID_HANDLE_VALUE) resultError = GetLastError();
        TraceFailure(path, "the new bytes cannot be read", resultError);
        return false;
    }
    FileDescription resultDescription;
    if (!placement->conversion && destination.exists &&
        DescribeOpenFile(result, &resultDescription) &&
        SameFile(resultDescription.identity, destination.description.identity)) {
        // A copy onto the source itself: nothing to write, and nothing is
        // written (not a failure worth a trace: every file already in the
        // wanted encoding comes here when files are unified in place).
        return false;
    }
    if (destination.exists && destination.description.numberOfLinks > 1 &&
        !placement->keepOverwrittenInRecycleBin) {
        return OverwriteKeepingNames(result, &destination, placement);
    }

    // The shell's Recycle Bin takes no path as long as MAX_PATH: such a file
    // is not replaced at all rather than lost for good.
    bool recycled = placement->keepOverwrittenInRecycleBin && destination.exists;
    if (recycled && !FitsRecycleBin(path)) {
        TraceFailure(path, "the Recycle Bin cannot take so long a path",
                     ERROR_FILENAME_EXCED_RANGE);
        return false;
    }

    Path stagedPath;
    DWORD error = 0;
    HANDLE open = INVALID_HANDLE_VALUE;
    if (!StageCopy(result, path, placement, &stagedPath, &error, &open)) {
        TraceFailure(path, "staging the new bytes beside it failed", error);
        return false;
    }
    HandleHolder staged(open);
    // Only now that the new bytes are complete does the old file go.
    if (recycled) MoveToRecycleBin(path);
    // A read-only destination would refuse to be replaced. Its attributes are
    // known from the look at it above, unless the bin has just taken it; a
    // destination without read-only, hidden or system is left as it is.
    DWORD previous = recycled ? GetFileAttributesW(name) : destination.attributes;
    constexpr DWORD kProtective =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if (placement->conversion && previous != INVALID_FILE_ATTRIBUTES &&
        (previous & kProtective) != 0) {
        SetFileAttributesW(name, FILE_ATTRIBUTE_NORMAL);
    }
    if (!RenameOver(&staged, stagedPath, path)) {
        error = WhyNotReplaced(path, GetLastError());
        staged.Close();
        if (previous != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(name, previous);
        RemoveStaged(stagedPath);
        TraceFailure(path, "it could not be replaced", error);
        return false;
    }
    return true;
}

}  // namespace

bool DescribeDestination(HANDLE file, const Path& path, DestinationFacts* facts) {
    FileDescription description;
    if (!CountNames(file, &description)) return false;
    facts->numberOfLinks = description.numberOfLinks;
    facts->attributes = GetFileAttributesW(FileApiPath(path));
    facts->mayBeLink = MayBeLink(file, path, facts->attributes);
    return true;
}

BlockWriter SetBlockWriter(BlockWriter writer) {
    BlockWriter previous = blockWriter;
    blockWriter = writer != nullptr ? writer : WriteFile;
    return previous;
}

bool PlaceResult(const Path& resultPath, const Path& destinationPath, const Placement* placement) {
    HandleHolder result(OpenForReading(resultPath));
    DWORD error = result.valid() ? ERROR_SUCCESS : GetLastError();
    return Place(result.get(), error, destinationPath, placement);
}

bool PlaceResultFrom(HANDLE result, const Path& destinationPath, const Placement* placement) {
    return Place(result, ERROR_SUCCESS, destinationPath, placement);
}
