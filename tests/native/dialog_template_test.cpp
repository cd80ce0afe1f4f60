// Dialog templates built in memory, compared word by word with the layout
// the dialog manager reads: the about box's own block, the optional font
// fields, the ordinal and string forms of names, the padding of items.
#include "ui/dialog_template.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "ui/about_template.h"

namespace {

using Words = std::vector<std::uint16_t>;

constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT

// A 32-bit field: low word first.
Words L(std::uint32_t value) {
    return {static_cast<std::uint16_t>(value & 0xFFFF), static_cast<std::uint16_t>(value >> 16)};
}
// A string with its terminator.
Words S(const char16_t* text) {
    Words words(text, text + std::char_traits<char16_t>::length(text));
    words.push_back(0);
    return words;
}
Words Cat(std::initializer_list<Words> parts) {
    Words all;
    for (const Words& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The block as words, read little-endian byte by byte.
Words Built(const DialogLayout& dialog, const DialogItemLayout* items) {
    std::uint32_t size = 0;
    void* block = BuildDialogTemplate(dialog, items, &size);
    EXPECT_NE(block, nullptr);
    if (block == nullptr) return {};
    const auto* bytes = static_cast<const unsigned char*>(block);
    Words words;
    for (std::uint32_t i = 0; i + 1 < size; i += 2) {
        words.push_back(static_cast<std::uint16_t>(bytes[i] | (bytes[i + 1] << 8)));
    }
    FreeDialogTemplate(block);
    return words;
}

TEST(DialogTemplate, AboutBoxBlock) {
    std::uint32_t size = 0;
    void* block = BuildAboutTemplate(&size);
    ASSERT_NE(block, nullptr);
    // A 22-word header part, four 14-word text lines, a 16-word button.
    EXPECT_EQ(size, 188u);
    const auto* bytes = static_cast<const unsigned char*>(block);
    Words got;
    for (std::uint32_t i = 0; i < size; i += 2) got.push_back(bytes[i] | (bytes[i + 1] << 8));
    FreeDialogTemplate(block);
    // Static line: style, no extended style, x, y, cx, cy, id, class 0x0082,
    // empty text, no creation data, one padding word.
    auto line = [](std::uint32_t style, std::uint16_t x, std::uint16_t y, std::uint16_t cx,
                   std::uint16_t cy, std::uint16_t id) {
        return Cat({L(style), L(0), {x, y, cx, cy, id, 0xFFFF, 0x0082, 0, 0, 0}});
    };
    Words expected = Cat({
        L(0x90C820C2),
        L(0),
        {5, 0, 0, 38, 56},  // header
        {0, 0, 0},          // no menu, default class, empty title
        {9},
        S(u"ＭＳ Ｐゴシック"),  // font
        line(0x50000003, 7, 7, 20, 21, 100),
        line(0x50000000, 30, 7, 1, 8, 101),
        line(0x50000000, 30, 16, 1, 8, 102),
        line(0x50000000, 30, 25, 1, 8, 103),
        L(0x50020001),
        L(0),
        {45, 35, 45, 14, 1, 0xFFFF, 0x0080},
        S(u"OK"),
        {0, 0},
    });
    EXPECT_EQ(got, expected);
}

TEST(DialogTemplate, FontFieldsOnlyWithAFaceNameAndZeroItemsPadded) {
    // DS_SETFONT alone writes no point size: 14 words, no padding needed.
    DialogLayout plain{kSetFont, 0, 0, 1, 2, 3, 4, nullptr, u"ab", nullptr, nullptr, 12};
    EXPECT_EQ(Built(plain, nullptr), Cat({L(kSetFont), L(0), {0, 1, 2, 3, 4, 0, 0}, S(u"ab")}));
    // With a face name: 15 words and one padding word.
    DialogLayout font{kSetFont, 0, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, u"F", 8};
    EXPECT_EQ(Built(font, nullptr),
              Cat({L(kSetFont), L(0), {0, 0, 0, 10, 10, 0, 0, 0, 8}, S(u"F"), {0}}));
}

TEST(DialogTemplate, OrdinalsStringsChildStyleAndItemPadding) {
    const DialogItemLayout items[] = {
        // A static icon whose text is the icon's resource id; no WS_CHILD given.
        {DialogOrdinal(0x0082), DialogOrdinal(130), 0x00000003, 0x20, -5, 6, 7, 8, 200},
        {u"Edit", u"odd", 0x10000000, 0, 1, 2, 3, 4, 0xFFFF},
    };
    DialogLayout dialog{0, 0, 2, 0, 0, 100, 50, u"C", u"T", DialogOrdinal(125), nullptr, 0};
    Words expected = Cat({
        L(0),
        L(0),
        {2, 0, 0, 100, 50},
        {0xFFFF, 125},
        S(u"C"),
        S(u"T"),
        {0},  // 15 words, padded
        L(0x40000003),
        L(0x20),
        {0xFFFB, 6, 7, 8, 200, 0xFFFF, 0x0082, 0xFFFF, 130, 0},
        L(0x50000000),
        L(0),
        {1, 2, 3, 4, 0xFFFF},
        S(u"Edit"),
        S(u"odd"),
        {0, 0},
    });
    EXPECT_EQ(Built(dialog, items), expected);
}

}  // namespace
