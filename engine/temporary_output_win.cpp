#include "engine/temporary_output_win.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "engine/byte_stream_win.h"
#include "engine/staged_name.h"
#include "util/path_win.h"
#include "util/text.h"
#include "engine/utf8.h"

namespace {

constexpr int kTemporaryCandidates = 1000;

// Set once the program's folder has refused a new file for a reason that is
// not the name (a folder under Program Files, a read-only medium): the rest
// of the run goes straight to the other places instead of asking it again
// for every file.
bool g_programFolderRefused = false;

// Whether a refused exclusive creation was about the name alone, so that
// another name in the same folder may do: the name is taken by a file or a
// folder, or by a file still being deleted. A folder that takes no new file
// gives "access denied" too, but then nothing is there under the name.
bool NameTaken(const Path& path, DWORD error) {
    if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) return true;
    if (error != ERROR_ACCESS_DENIED) return false;
    if (GetFileAttributesW(FileApiPath(path)) != INVALID_FILE_ATTRIBUTES) return true;
    DWORD lookError = GetLastError();
    return lookError != ERROR_FILE_NOT_FOUND && lookError != ERROR_PATH_NOT_FOUND;
}

// Tries the names a place offers (nameOf(i, &path) for i from 0; false when
// the place has no such name) until one is created; gives up at the first
// refusal that is not about the name. Null, with *error, when none was made:
// ERROR_FILE_EXISTS when every name was taken.
template <typename NameOf>
ByteStream* CreateAmong(NameOf nameOf, StreamMode mode, bool readBack, Path* path, DWORD* error) {
    // Created exclusively: a name already taken, by a file or a folder, is
    // refused by the creation itself (no look beforehand), and another
    // instance that tries the same name at the same moment cannot take it
    // too. The text is written through this very handle, not through a
    // second opening of the name.
    const DWORD access = readBack ? GENERIC_READ | GENERIC_WRITE | DELETE : GENERIC_WRITE;
    const DWORD flags =
        readBack ? FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE : FILE_ATTRIBUTE_NORMAL;
    *error = ERROR_FILE_EXISTS;
    for (int i = 0; i < kTemporaryCandidates; i++) {
        if (!nameOf(i, path)) {
            *error = ERROR_FILENAME_EXCED_RANGE;
            break;
        }
        HANDLE created = CreateFileW(FileApiPath(*path), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, CREATE_NEW, flags, nullptr);
        if (created == INVALID_HANDLE_VALUE) {
            DWORD refusal = GetLastError();
            if (NameTaken(*path, refusal)) continue;
            *error = refusal;
            break;
        }
        ByteStream* stream = StreamAttachHandle(created, mode);
        if (stream != nullptr) return stream;
        DeleteFileW(FileApiPath(*path));
    }
    path->clear();
    return nullptr;
}

// The user's temporary folder, with its final separator; empty when the
// system names none.
Path UserTemporaryFolder() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (;;) {
        DWORD length = GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return Path();
        if (length < buffer.size()) return PathFromWide(buffer.data());
        if (length > kLongestPath) return Path();
        buffer.resize(length + 1);
    }
}

// Staged names in the folder of base, from the last attempt down: the copy
// that takes the destination's place is staged from the first attempt up, so
// in a run of one the two never try the same name.
auto StagedNames(const Path& base) {
    return [&base](int i, Path* path) {
        *path = StagedPath(base, GetCurrentProcessId(), kStagedCandidates - 1 - i);
        return FitsWindowsPath(*path);
    };
}

}  // namespace

ByteStream* CreateTemporaryOutput(const Path& destinationPath, Path* path, StreamMode mode,
                                  bool readBack) {
    DWORD error = ERROR_FILE_EXISTS;
    if (!g_programFolderRefused) {
        // Seeded with the process id: the conversions of one run try the same
        // names in the same order, another instance starts elsewhere.
        std::srand(static_cast<unsigned>(GetCurrentProcessId()));
        int start = std::rand();
        auto besideProgram = [start](int i, Path* name) {
            char suffix[8];
            FormatBounded(suffix, sizeof suffix, ".%03d", (start + i) % kTemporaryCandidates);
            return ModulePathWithExtension(name, PathFromUtf8(suffix));
        };
        ByteStream* stream = CreateAmong(besideProgram, mode, readBack, path, &error);
        if (stream != nullptr) return stream;
        // Every name taken is no reason to pass the folder by next time.
        g_programFolderRefused = error != ERROR_FILE_EXISTS;
    }
    // The destination's folder next: the result is staged there anyway, so it
    // is the one place the conversion needs in any case, and its volume is the
    // one the user chose for the text. The user's temporary folder is the
    // last resort: a text that had its temporary file there can still be
    // refused by its destination, and then the destination is rightly blamed.
    if (FileNameOffset(destinationPath) > 0) {
        ByteStream* stream =
            CreateAmong(StagedNames(destinationPath), mode, readBack, path, &error);
        if (stream != nullptr) return stream;
    }
    Path temporaryFolder = UserTemporaryFolder();
    if (!temporaryFolder.empty()) {
        ByteStream* stream =
            CreateAmong(StagedNames(temporaryFolder), mode, readBack, path, &error);
        if (stream != nullptr) return stream;
    }
    path->clear();
    SetLastError(error);
    return nullptr;
}
