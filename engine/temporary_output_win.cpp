#include "engine/temporary_output_win.h"

#include <windows.h>

#include <cstdlib>

#include "engine/byte_stream_win.h"
#include "util/path_win.h"
#include "util/text.h"
#include "engine/utf8.h"

namespace {

constexpr int kTemporaryCandidates = 1000;

}  // namespace

ByteStream* CreateTemporaryOutput(Path* path, StreamMode mode, bool readBack) {
    // Seeded with the process id: the conversions of one run try the same
    // names in the same order, another instance starts elsewhere.
    std::srand(static_cast<unsigned>(GetCurrentProcessId()));
    int start = std::rand();
    for (int i = 0; i < kTemporaryCandidates; i++) {
        char suffix[8];
        FormatBounded(suffix, sizeof suffix, ".%03d", (start + i) % kTemporaryCandidates);
        // A program path that cannot be had gives no name at all.
        if (!ModulePathWithExtension(path, PathFromUtf8(suffix))) break;
        // Created exclusively: a name already taken, by a file or a folder,
        // is refused by the creation itself (no look beforehand), and another
        // instance that tries the same name at the same moment cannot take it
        // too. The text is written through this very handle, not through a
        // second opening of the name.
        DWORD access = readBack ? GENERIC_READ | GENERIC_WRITE | DELETE : GENERIC_WRITE;
        DWORD flags =
            readBack ? FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE : FILE_ATTRIBUTE_NORMAL;
        HANDLE created = CreateFileW(FileApiPath(*path), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, CREATE_NEW, flags, nullptr);
        if (created == INVALID_HANDLE_VALUE) continue;
        ByteStream* stream = StreamAttachHandle(created, mode);
        if (stream != nullptr) return stream;
        DeleteFileW(FileApiPath(*path));
    }
    path->clear();
    return nullptr;
}
