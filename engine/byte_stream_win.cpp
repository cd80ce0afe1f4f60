#include "engine/byte_stream_win.h"

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>

ByteStream* StreamAttachHandle(HANDLE file, StreamMode mode) {
    if (file == INVALID_HANDLE_VALUE || file == nullptr) return nullptr;
    bool reading = IsReadMode(mode);
    int descriptor = _open_osfhandle(reinterpret_cast<std::intptr_t>(file),
                                     _O_BINARY | (reading ? _O_RDONLY : _O_WRONLY));
    if (descriptor < 0) {
        CloseHandle(file);
        return nullptr;
    }
    // From here on the descriptor owns the handle.
    std::FILE* stream = _fdopen(descriptor, reading ? "rb" : "wb");
    if (stream == nullptr) {
        _close(descriptor);
        return nullptr;
    }
    // Our own blocks are the buffer, as for StreamOpen.
    std::setvbuf(stream, nullptr, _IONBF, 0);
    return StreamAttach(stream, mode);
}

HANDLE StreamHandle(ByteStream* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream->file)));
}
