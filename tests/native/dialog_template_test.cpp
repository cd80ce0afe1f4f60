// Dialog templates built in memory, read back field by field as the dialog
// manager reads them: the about box's own block, the optional font fields,
// the ordinal and string forms of every name, and the alignment of items.
#include "ui/dialog_template.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/native/support/dialog_template_reader.h"
#include "ui/about_template.h"

namespace {

constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT

struct Block {
    void* data = nullptr;
    std::uint32_t size = 0;
    ~Block() { FreeDialogTemplate(data); }
    const unsigned char* bytes() const { return static_cast<const unsigned char*>(data); }
};

ReadTemplate ReadBack(const Block& block, bool hasFont) {
    ReadTemplate t = TemplateReader(block.data, block.size).Read(hasFont);
    EXPECT_TRUE(t.ok);
    EXPECT_EQ(t.endWord * 2, block.size) << "bytes left after the last item";
    return t;
}

void ExpectEmpty(const ReadName& name) {
    EXPECT_TRUE(name.isEmpty);
    EXPECT_FALSE(name.isOrdinal);
}
void ExpectOrdinal(const ReadName& name, std::uint16_t ordinal) {
    EXPECT_TRUE(name.isOrdinal);
    EXPECT_EQ(name.ordinal, ordinal);
}
void ExpectString(const ReadName& name, const std::u16string& text) {
    EXPECT_FALSE(name.isOrdinal);
    EXPECT_FALSE(name.isEmpty);
    EXPECT_EQ(name.text, text);
}

TEST(DialogTemplate, AboutBoxBlockFieldByField) {
    Block block;
    block.data = BuildAboutTemplate(&block.size);
    ASSERT_NE(block.data, nullptr);
    // A 22-word header part, four 14-word text items, a 16-word button.
    ASSERT_EQ(block.size, 188u);
    // Little-endian from the first byte: the style 0x90C820C2.
    EXPECT_EQ(block.bytes()[0], 0xC2);
    EXPECT_EQ(block.bytes()[1], 0x20);
    EXPECT_EQ(block.bytes()[2], 0xC8);
    EXPECT_EQ(block.bytes()[3], 0x90);

    ReadTemplate t = ReadBack(block, true);
    EXPECT_EQ(t.style, 0x90C820C2u);
    EXPECT_EQ(t.extendedStyle, 0u);
    EXPECT_EQ(t.itemCount, 5);
    EXPECT_EQ(t.x, 0);
    EXPECT_EQ(t.y, 0);
    EXPECT_EQ(t.width, 38);
    EXPECT_EQ(t.height, 56);
    ExpectEmpty(t.menu);
    ExpectEmpty(t.className);
    EXPECT_EQ(t.title, u"");
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.faceName, u"ＭＳ Ｐゴシック");
    EXPECT_EQ(t.headerWords, 22u);

    struct Expected {
        std::uint16_t id;
        std::uint32_t style;
        std::int16_t x, y, width, height;
        std::uint32_t startWord;
    };
    const Expected expected[] = {
        {100, 0x50000003, 7, 7, 20, 21, 22}, {101, 0x50000000, 30, 7, 1, 8, 36},
        {102, 0x50000000, 30, 16, 1, 8, 50}, {103, 0x50000000, 30, 25, 1, 8, 64},
        {1, 0x50020001, 45, 35, 45, 14, 78},
    };
    ASSERT_EQ(t.items.size(), 5u);
    for (std::size_t i = 0; i < 5; i++) {
        SCOPED_TRACE(testing::Message() << "item " << expected[i].id);
        const ReadItem& item = t.items[i];
        EXPECT_EQ(item.startWord, expected[i].startWord);
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.style, expected[i].style);
        EXPECT_EQ(item.extendedStyle, 0u);
        EXPECT_EQ(item.x, expected[i].x);
        EXPECT_EQ(item.y, expected[i].y);
        EXPECT_EQ(item.width, expected[i].width);
        EXPECT_EQ(item.height, expected[i].height);
        EXPECT_EQ(item.creationDataWords, 0);
        if (i < 4) {
            ExpectOrdinal(item.className, 0x0082);
            ExpectEmpty(item.title);
        } else {
            ExpectOrdinal(item.className, 0x0080);
            ExpectString(item.title, u"OK");
        }
    }
}

TEST(DialogTemplate, FontFieldsOnlyWithAFaceName) {
    // DS_SETFONT alone does not make the builder write a point size.
    DialogSpec spec{kSetFont, 0, 0, 1, 2, 3, 4, nullptr, u"ab", nullptr, nullptr, 12};
    Block block;
    block.data = BuildDialogTemplate(spec, nullptr, &block.size);
    ASSERT_NE(block.data, nullptr);
    // 9 header words, menu, class, "ab" and its terminator: 14 words.
    EXPECT_EQ(block.size, 28u);
    ReadTemplate t = ReadBack(block, false);
    EXPECT_EQ(t.title, u"ab");
    EXPECT_EQ(t.x, 1);
    EXPECT_EQ(t.height, 4);
}

TEST(DialogTemplate, ZeroItemsIsTheHeaderPaddedToFourBytes) {
    // 9 + menu + class + title terminator + point size + "F" + terminator:
    // 15 words, one padding word.
    DialogSpec spec{kSetFont, 0, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, u"F", 8};
    Block block;
    block.data = BuildDialogTemplate(spec, nullptr, &block.size);
    ASSERT_NE(block.data, nullptr);
    EXPECT_EQ(block.size, 32u);
    EXPECT_EQ(block.bytes()[30], 0);
    EXPECT_EQ(block.bytes()[31], 0);
    ReadTemplate t = ReadBack(block, true);
    EXPECT_EQ(t.faceName, u"F");
    EXPECT_EQ(t.pointSize, 8);
    EXPECT_TRUE(t.items.empty());
}

TEST(DialogTemplate, NamesAsOrdinalsAndStringsItemsAlignedAndChildren) {
    // A menu and a class by ordinal, then by name; items whose variable parts
    // have every parity, so each item start must be padded to 4 bytes.
    const DialogItemSpec items[] = {
        // A static icon: its text is the icon's resource id. No WS_CHILD given.
        {DialogOrdinal(0x0082), DialogOrdinal(130), 0x00000003, 0x20, -5, 6, 7, 8, 200},
        {u"SysListView32", u"odd", 0x50010000, 0, 1, 2, 3, 4, 201},
        {u"Edit", u"even", 0x10000000, 0, 1, 2, 3, 4, 0xFFFF},
    };
    const DialogSpec specs[] = {
        {0, 0, 3, 0, 0, 100, 50, DialogOrdinal(7), u"T", DialogOrdinal(125), nullptr, 0},
        {kSetFont, 0x8, 3, 0, 0, 100, 50, u"MyClass", u"Title", u"MENU", u"Face", 10},
    };
    for (const DialogSpec& spec : specs) {
        Block block;
        block.data = BuildDialogTemplate(spec, items, &block.size);
        ASSERT_NE(block.data, nullptr);
        EXPECT_EQ(block.size % 4, 0u);
        bool withFont = spec.faceName != nullptr;
        ReadTemplate t = ReadBack(block, withFont);
        if (withFont) {
            ExpectString(t.menu, u"MENU");
            ExpectString(t.className, u"MyClass");
            EXPECT_EQ(t.title, u"Title");
            EXPECT_EQ(t.faceName, u"Face");
            EXPECT_EQ(t.extendedStyle, 0x8u);
        } else {
            ExpectOrdinal(t.menu, 125);
            ExpectOrdinal(t.className, 7);
            EXPECT_EQ(t.title, u"T");
        }
        ASSERT_EQ(t.items.size(), 3u);
        for (const ReadItem& item : t.items) {
            EXPECT_EQ(item.startWord % 2, 0u) << "item " << item.id << " not on 4 bytes";
            EXPECT_NE(item.style & kDialogItemChildStyle, 0u) << "item " << item.id;
        }
        ExpectOrdinal(t.items[0].className, 0x0082);
        ExpectOrdinal(t.items[0].title, 130);
        EXPECT_EQ(t.items[0].style, 0x40000003u);
        EXPECT_EQ(t.items[0].extendedStyle, 0x20u);
        EXPECT_EQ(t.items[0].x, -5);
        ExpectString(t.items[1].className, u"SysListView32");
        ExpectString(t.items[1].title, u"odd");
        ExpectString(t.items[2].title, u"even");
        EXPECT_EQ(t.items[2].id, 0xFFFF);
    }
}

}  // namespace
