// Arbitrary dialog descriptions: the measuring pass and the writing pass of
// the template builder agree (AddressSanitizer sees any write past the
// measured block), and the block reads back as the description said.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/native/support/dialog_template_reader.h"
#include "ui/dialog_template.h"

namespace {

#define Check(condition)                                                                \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__); \
            std::abort();                                                               \
        }                                                                               \
    } while (0)

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Byte() {
        if (size == 0) return 0;
        size--;
        return *data++;
    }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Byte() | (Byte() << 8)); }
    // A string of 1 to 16 units without zeros. The format cannot tell a
    // string that starts with U+FFFF from an ordinal: none is made.
    std::u16string Text() {
        std::u16string s(1 + Byte() % 16, u'x');
        for (char16_t& c : s) {
            std::uint16_t w = Word();
            if (w != 0 && w != 0xFFFF) c = static_cast<char16_t>(w);
        }
        return s;
    }
};

// Each name keeps its string alive in the pool; kind 0: null, 1: an ordinal,
// else a string.
DialogName Name(Input& in, std::vector<std::u16string>& pool, ReadName& expected) {
    switch (in.Byte() % 3) {
        case 0:
            expected.isEmpty = true;
            return nullptr;
        case 1: {
            std::uint16_t ordinal = static_cast<std::uint16_t>(in.Word() | 1);
            expected.isOrdinal = true;
            expected.ordinal = ordinal;
            return DialogOrdinal(ordinal);
        }
        default:
            pool.push_back(in.Text());
            expected.text = pool.back();
            return pool.back().c_str();
    }
}

bool SameName(const ReadName& a, const ReadName& b) {
    return a.isEmpty == b.isEmpty && a.isOrdinal == b.isOrdinal && a.ordinal == b.ordinal &&
           a.text == b.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in{data, size};
    std::vector<std::u16string> pool;
    pool.reserve(64);  // names point into it: no reallocation
    DialogSpec spec{};
    spec.style = in.Word();
    spec.itemCount = in.Byte() % 8;
    ReadName menu, className, ignored;
    spec.menu = Name(in, pool, menu);
    spec.className = Name(in, pool, className);
    pool.push_back(in.Text());
    spec.title = pool.back().c_str();
    bool withFont = in.Byte() % 2 != 0;
    if (withFont) {
        pool.push_back(in.Text());
        spec.faceName = pool.back().c_str();
    }
    std::vector<DialogItemSpec> items(spec.itemCount);
    std::vector<ReadName> titles(spec.itemCount), classes(spec.itemCount);
    for (std::size_t i = 0; i < items.size(); i++) {
        items[i].className = Name(in, pool, classes[i]);
        if (classes[i].isEmpty) {  // an item class has no empty form: ordinal 0
            classes[i] = ReadName{};
            classes[i].isOrdinal = true;
        }
        items[i].title = Name(in, pool, titles[i]);
        items[i].style = in.Word();
        items[i].id = in.Word();
    }

    std::uint32_t bytes = 0;
    void* block = BuildDialogTemplate(spec, items.data(), &bytes);
    Check(block != nullptr);
    Check(bytes % 4 == 0);
    ReadTemplate t = TemplateReader(block, bytes).Read(withFont);
    Check(t.ok);
    Check(t.endWord * 2 == bytes);
    Check(SameName(t.menu, menu) && SameName(t.className, className));
    Check(t.title == spec.title);
    Check(t.items.size() == items.size());
    for (std::size_t i = 0; i < items.size(); i++) {
        Check(t.items[i].startWord % 2 == 0);
        Check(t.items[i].style == (items[i].style | kDialogItemChildStyle));
        Check(t.items[i].id == items[i].id);
        Check(SameName(t.items[i].className, classes[i]));
        Check(SameName(t.items[i].title, titles[i]));
    }
    FreeDialogTemplate(block);
    return 0;
}
