// Arbitrary input as texts, paths and command lines: the bounded text
// operations never read or write out of bounds and every result is terminated
// within its capacity (the buffers are exactly as large as the capacity
// given, so AddressSanitizer sees any overrun); the path operations keep
// their promises on any UTF-16, paired surrogates or not.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/command_line.h"
#include "app/gather.h"
#include "util/path.h"
#include "util/text.h"
#include "engine/utf8.h"

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
    // A path of up to 300 code units from the input, NUL taken for a separator.
    Path Units() {
        std::vector<char> bytes = Text();
        Path path;
        for (std::size_t i = 0; i + 2 < bytes.size(); i += 2) {
            auto unit = static_cast<PathChar>(static_cast<std::uint8_t>(bytes[i]) |
                                              static_cast<std::uint8_t>(bytes[i + 1]) << 8);
            path.push_back(unit == 0 ? u'\\' : unit);
        }
        return path;
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
    Check(FormatBounded(out.data(), capacity, "%s|%s", a.data(), b.data()) >= -1);
    Check(TerminatedWithin(out.data(), capacity));
    for (int p = -2; p < static_cast<int>(a.size()) + 2; p++) {
        int kind = ByteKindAt(a.data(), p);
        Check(kind >= 0 && kind <= 2);
        if (kind == TrailByte) Check(ByteKindAt(a.data(), p - 1) == LeadByte);
    }

    Path folder = in.Units();
    Path name = in.Units();
    Path joined;
    if (JoinPath(&joined, folder, name) && !folder.empty() && name != u"." && name != u"..") {
        // A plain join holds the folder, then the whole name.
        Check(joined.compare(0, folder.size(), folder) == 0);
        Check(joined.size() >= name.size() &&
              joined.compare(joined.size() - name.size(), name.size(), name) == 0);
        if (name.find(u'\\') == Path::npos && !name.empty()) {
            Check(FileNamePart(joined) == name);
            Check(IsInsideFolder(folder, joined) || IsSeparator(folder.back()) ||
                  folder.find_first_not_of(u'\\') == Path::npos);
        }
    }
    Check(FileNameOffset(folder) <= folder.size());
    Check(ExtensionOffset(folder) >= FileNameOffset(folder) &&
          ExtensionOffset(folder) <= folder.size());
    Path parent, last;
    SplitPath(folder, &parent, &last);
    Check(parent.size() + last.size() + (parent.size() + last.size() < folder.size() ? 1 : 0) ==
          folder.size());
    Check(IsSamePath(folder, folder));
    Check(!IsInsideFolder(folder, folder));
    // UTF-8 and back gives the same units wherever every surrogate is paired.
    Path back = PathFromUtf8(Utf8FromPath(folder));
    Check(back.size() == folder.size());
    Arguments arguments = SplitCommandLine(name);
    Check(!arguments.empty());
    bool suppress = false;
    ParseSwitches(arguments, &suppress);
    return 0;
}
