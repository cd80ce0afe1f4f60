// Arbitrary bytes as texts and capacities: the bounded text and path
// operations never read or write out of bounds, and every result is
// terminated within its capacity. The buffers are exactly as large as the
// capacity given, so AddressSanitizer sees any overrun.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "util/path.h"
#include "util/text.h"

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Byte() {
        if (size == 0) return 0;
        size--;
        return *data++;
    }
    // A zero-terminated text of up to 300 bytes from the input.
    std::vector<char> Text() {
        std::size_t length = Byte() + (Byte() % 2) * 256;
        if (length > size) length = size;
        std::vector<char> t(data, data + length);
        data += length;
        size -= length;
        for (char& c : t) {
            if (c == '\0') c = '\\';
        }
        t.push_back('\0');
        return t;
    }
};

#define Check(condition)                                                                \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__); \
            std::abort();                                                               \
        }                                                                               \
    } while (0)

bool TerminatedWithin(const char* buffer, int capacity) {
    return std::memchr(buffer, '\0', static_cast<std::size_t>(capacity)) != nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    int capacity = 1 + in.Byte() + (in.Byte() % 2) * 256;  // 1 to 512
    std::vector<char> a = in.Text();
    std::vector<char> b = in.Text();
    std::vector<char> out(static_cast<std::size_t>(capacity));

    CopyBounded(out.data(), a.data(), capacity);
    Check(TerminatedWithin(out.data(), capacity));
    std::size_t copied = std::strlen(out.data());
    Check(std::memcmp(out.data(), a.data(), copied) == 0);
    // The cut never falls between a lead byte and its trail byte.
    Check(ByteKindAt(a.data(), static_cast<int>(copied)) != TrailByte);

    bool fitted = JoinPath(out.data(), capacity, a.data(), b.data());
    Check(TerminatedWithin(out.data(), capacity));
    if (fitted && b.data()[0] != '\0' && !StringEquals(b.data(), ".") &&
        !StringEquals(b.data(), "..") && a.data()[0] != '\0') {
        // A join that reports success holds the whole name at its end.
        std::size_t nameLength = std::strlen(b.data());
        std::size_t total = std::strlen(out.data());
        Check(total >= nameLength &&
              std::memcmp(out.data() + total - nameLength, b.data(), nameLength) == 0);
    }

    Check(FormatBounded(out.data(), capacity, "%s|%s", a.data(), b.data()) >= -1);
    Check(TerminatedWithin(out.data(), capacity));

    for (int p = -2; p < static_cast<int>(a.size()) + 2; p++) {
        int kind = ByteKindAt(a.data(), p);
        Check(kind >= 0 && kind <= 2);
        if (kind == TrailByte) Check(ByteKindAt(a.data(), p - 1) == LeadByte);
    }
    for (const char* p = a.data(); *p != '\0'; p = NextChar(p)) Check(p < a.data() + a.size());

    std::vector<char> work = a;
    FoldToLowerCase(work.data());
    Check(std::strlen(work.data()) == std::strlen(a.data()));
    const char* name = FileNamePart(work.data());
    Check(name >= work.data() && name <= StringEnd(work.data()));
    const char* extension = FindExtension(work.data());
    Check(extension >= name && extension <= StringEnd(work.data()));
    char* rest = RemoveExtension(work.data());
    Check(rest >= work.data() && rest <= work.data() + work.size());
    char* cut = CutLastComponent(work.data());
    Check(cut >= work.data() && cut <= work.data() + work.size());
    Check(SkipChars(a.data(), "\\ ") <= StringEnd(a.data()));
    return 0;
}
