#include "engine/rewrite_win.h"

#include <cstdlib>
#include <cstring>

#include "engine/byte_stream_win.h"
#include "engine/detect_win.h"
#include "engine/replace_win.h"
#include "util/file_info_win.h"
#include "util/path_win.h"
#include "util/text.h"

namespace {

constexpr int kTemporaryCandidates = 1000;

FILETIME FileTimeOf(LARGE_INTEGER value) {
    FILETIME time;
    time.dwLowDateTime = value.LowPart;
    time.dwHighDateTime = static_cast<DWORD>(value.HighPart);
    return time;
}

bool FitsPathBuffer(const char* path) {
    return std::strlen(path) <= static_cast<std::size_t>(kPathCapacity - 2);
}

// The item's paths; false, with the item left empty and undetermined, when
// one does not fit.
bool SetItemPaths(WorkItem* item, const char* sourcePath, const char* destinationPath) {
    if (!FitsPathBuffer(sourcePath) || !FitsPathBuffer(destinationPath)) {
        item->sourcePath[0] = '\0';
        item->destinationPath[0] = '\0';
        item->code = Undetermined;
        return false;
    }
    CopyBounded(item->sourcePath, sourcePath, kPathCapacity - 1);
    CopyBounded(item->destinationPath, destinationPath, kPathCapacity - 1);
    return true;
}

// The source opened for reading, with its attributes and times (the fields
// of *found that the result takes over), asked of the open file where the
// system can tell them; null when it cannot be opened.
ByteStream* OpenSource(const char* path, WIN32_FIND_DATAA* found) {
    ZeroFill(found, sizeof *found);
    HANDLE file = OpenSourceFile(path);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    FileBasicInformation basic;
    if (QueryFileBasicInformation(file, &basic)) {
        found->dwFileAttributes = basic.fileAttributes;
        found->ftCreationTime = FileTimeOf(basic.creationTime);
        found->ftLastAccessTime = FileTimeOf(basic.lastAccessTime);
        found->ftLastWriteTime = FileTimeOf(basic.lastWriteTime);
    } else {
        HANDLE search = FindFirstFileA(path, found);
        if (search == INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return nullptr;
        }
        FindClose(search);
    }
    return StreamAttachHandle(file, "r");
}

}  // namespace

HANDLE OpenSourceFile(const char* path) {
    return CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool InitWorkItem(WorkItem* item, const char* sourcePath, const char* destinationPath) {
    return InitWorkItemKnowing(item, sourcePath, destinationPath, nullptr);
}

bool InitWorkItemKnowing(WorkItem* item, const char* sourcePath, const char* destinationPath,
                         const DWORD* knownAttributes) {
    if (!SetItemPaths(item, sourcePath, destinationPath)) return false;
    // Attributes that cannot be read have every bit set, the folder bit too.
    DWORD attributes =
        knownAttributes != nullptr ? *knownAttributes : GetFileAttributesA(item->sourcePath);
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        item->code = Directory;
    } else {
        item->code = DetectEncoding(item->sourcePath);
    }
    return true;
}

bool InitWorkItemOpen(WorkItem* item, const char* sourcePath, const char* destinationPath,
                      HANDLE opened) {
    if (!SetItemPaths(item, sourcePath, destinationPath)) {
        CloseHandle(opened);
        return false;
    }
    item->code = DetectOpenFile(opened, item->sourcePath);
    return true;
}

bool ProcessWorkItem(const WorkItem* item, ConversionMask mask, bool keepOverwrittenInRecycleBin) {
    // Decided by what is on disk now: the item's code may have been changed
    // by the user since the list was made.
    if (IsDirectory(item->sourcePath)) {
        CreateMirrorDirectory(item->sourcePath, item->destinationPath, nullptr);
    } else {
        ConvertOrCopyItem(item, mask, keepOverwrittenInRecycleBin);
    }
    return true;
}

bool ConvertOrCopyItem(const WorkItem* item, ConversionMask mask,
                       bool keepOverwrittenInRecycleBin) {
    const ConversionRule* rule = nullptr;
    switch (FindConversionRule(item->code, mask, &rule)) {
        case RuleOutcome::Skip:
            return false;
        case RuleOutcome::Convert:
            return ConvertFile(item->sourcePath, item->destinationPath, rule,
                               keepOverwrittenInRecycleBin);
        case RuleOutcome::Copy:
            break;
    }
    // Onto the source itself this fails, and the file stays as it was.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(item->sourcePath, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    Placement placement{&found, false, false};
    return PlaceResult(item->sourcePath, item->destinationPath, &placement);
}

bool ConvertFile(const char* sourcePath, const char* destinationPath, const ConversionRule* rule,
                 bool keepOverwrittenInRecycleBin) {
    WIN32_FIND_DATAA found;
    ByteStream* input = OpenSource(sourcePath, &found);
    if (input == nullptr) return false;

    // Read back through its own handle once complete, and gone with that
    // handle: no second opening by name, and no leftover should the program
    // be ended meanwhile.
    char temporaryPath[kPathCapacity];
    ByteStream* output =
        CreateTemporaryStream(temporaryPath, sizeof temporaryPath, rule->outputMode, true);
    bool converted = false;
    if (output != nullptr) {
        TranscodeStream(input, output, rule);
        converted = StreamFlush(output);
    }
    // Rewritten in place, the destination is the source: what the placement
    // must know of it is asked of the source's handle, before it is closed.
    DestinationFacts facts{};
    bool known = converted && std::strcmp(sourcePath, destinationPath) == 0 &&
                 DescribeDestination(StreamHandle(input), destinationPath, &facts);
    // A source that could not be read to its end gives an incomplete text,
    // which must not replace anything.
    bool readCompletely = StreamClose(input);
    converted = converted && readCompletely;

    bool replaced = false;
    if (converted) {
        Placement placement{&found, true, keepOverwrittenInRecycleBin, known ? &facts : nullptr};
        replaced = PlaceResultFrom(StreamHandle(output), destinationPath, &placement);
    }
    if (output != nullptr) StreamClose(output);
    return replaced;
}

ByteStream* CreateTemporaryOutput(char* buffer, int capacity, const char* mode) {
    return CreateTemporaryStream(buffer, capacity, mode, false);
}

ByteStream* CreateTemporaryStream(char* buffer, int capacity, const char* mode, bool readBack) {
    // Seeded with the process id: the conversions of one run try the same
    // names in the same order, another instance starts elsewhere.
    std::srand(static_cast<unsigned>(GetCurrentProcessId()));
    int start = std::rand();
    for (int i = 0; i < kTemporaryCandidates; i++) {
        char suffix[kPathCapacity];
        FormatBounded(suffix, sizeof suffix, ".%03d", (start + i) % kTemporaryCandidates);
        // A program path that leaves no room for the suffix gives no name at
        // all rather than a cut one.
        if (!ModulePathWithExtension(buffer, capacity, suffix)) break;
        // Created exclusively: a name already taken, by a file or a folder,
        // is refused by the creation itself (no look beforehand), and another
        // instance that tries the same name at the same moment cannot take it
        // too. The text is written through this very handle, not through a
        // second opening of the name.
        DWORD access = readBack ? GENERIC_READ | GENERIC_WRITE | DELETE : GENERIC_WRITE;
        DWORD flags =
            readBack ? FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE : FILE_ATTRIBUTE_NORMAL;
        HANDLE created = CreateFileA(buffer, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     CREATE_NEW, flags, nullptr);
        if (created == INVALID_HANDLE_VALUE) continue;
        ByteStream* stream = StreamAttachHandle(created, mode);
        if (stream != nullptr) return stream;
        DeleteFileA(buffer);
    }
    if (capacity > 0) buffer[0] = '\0';
    return nullptr;
}

bool RestoreTimesAndAttributes(const char* path, const WIN32_FIND_DATAA* found) {
    SetFileAttributesA(path, 0);
    bool timesSet = false;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        timesSet = SetFileTime(file, &found->ftCreationTime, &found->ftLastAccessTime,
                               &found->ftLastWriteTime) != FALSE;
        CloseHandle(file);
    }
    bool attributesSet = SetFileAttributesA(path, found->dwFileAttributes) != FALSE;
    return timesSet && attributesSet;
}

bool CreateMirrorDirectory(const char* templateFolder, const char* newFolder,
                           SECURITY_ATTRIBUTES* security) {
    if (!CreateDirectoryExA(templateFolder, newFolder, security)) return false;
    return SetFileAttributesA(newFolder, GetFileAttributesA(templateFolder)) != FALSE;
}
