// Dialog resources 127 and 129 as compiled into the program: style, size,
// menu, font, and every control's id, kind, text, rectangle and style in
// template order; and the two menus of dialog 129.
// The resource compiler adds defaults of its own (WS_VISIBLE, WS_TABSTOP,
// string class names); this reads the compiled words, not the script.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

struct Item {
    std::uint32_t style;
    std::int16_t x, y, width, height;
    std::uint16_t id;
    std::uint16_t classOrdinal;
    std::string text;
};

struct Template {
    std::uint32_t style;
    std::uint32_t extendedStyle;
    std::int16_t width, height;
    std::uint16_t menu;
    bool hasClass;
    std::string title;
    std::uint16_t pointSize;
    std::string face;
    std::vector<Item> items;
    std::vector<std::string> classNames;  // by item, where the class is named
};

// Reads the words of a compiled DLGTEMPLATE (the short form).
class Reader {
  public:
    explicit Reader(const void* start) : start_(static_cast<const std::uint16_t*>(start)) {}
    std::uint16_t Word() { return start_[at_++]; }
    std::uint32_t Long() {
        std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
    // A string, or an ordinal (0xFFFF n) returned through ordinal.
    std::string Text(std::uint16_t* ordinal) {
        *ordinal = 0;
        if (start_[at_] == 0xFFFF) {
            at_++;
            *ordinal = Word();
            return "";
        }
        std::wstring wide;
        while (start_[at_] != 0) wide += static_cast<wchar_t>(start_[at_++]);
        at_++;
        char bytes[512] = "";
        WideCharToMultiByte(932, 0, wide.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
        return bytes;
    }
    void AlignToLong() { at_ += at_ % 2; }

  private:
    const std::uint16_t* start_;
    std::size_t at_ = 0;
};

Template LoadTemplate(int id) {
    Template t{};
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));
    if (found == nullptr) return t;
    Reader r(LockResource(LoadResource(nullptr, found)));
    t.style = r.Long();
    t.extendedStyle = r.Long();
    std::uint16_t count = r.Word();
    r.Word();
    r.Word();
    t.width = static_cast<std::int16_t>(r.Word());
    t.height = static_cast<std::int16_t>(r.Word());
    std::uint16_t ordinal;
    r.Text(&t.menu);
    t.hasClass = !r.Text(&ordinal).empty() || ordinal != 0;
    t.title = r.Text(&ordinal);
    if (t.style & DS_SETFONT) {
        t.pointSize = r.Word();
        t.face = r.Text(&ordinal);
    }
    for (int i = 0; i < count; i++) {
        r.AlignToLong();
        Item item{};
        item.style = r.Long();
        r.Long();  // extended style
        item.x = static_cast<std::int16_t>(r.Word());
        item.y = static_cast<std::int16_t>(r.Word());
        item.width = static_cast<std::int16_t>(r.Word());
        item.height = static_cast<std::int16_t>(r.Word());
        item.id = r.Word();
        t.classNames.push_back(r.Text(&item.classOrdinal));
        item.text = r.Text(&ordinal);
        std::uint16_t extra = r.Word();
        for (std::uint16_t skip = 0; skip < (extra + 1) / 2; skip++) r.Word();
        t.items.push_back(item);
    }
    return t;
}

constexpr std::uint16_t kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;
// A control named by its class name rather than an ordinal.
constexpr std::uint16_t kNamedClass = 0;

void ExpectItems(const Template& t, const Item* expected, std::size_t count) {
    ASSERT_EQ(t.items.size(), count);
    for (std::size_t i = 0; i < count; i++) {
        const Item& a = t.items[i];
        const Item& e = expected[i];
        SCOPED_TRACE(testing::Message() << "item " << i << " id " << e.id);
        EXPECT_EQ(a.id, e.id);
        EXPECT_EQ(a.classOrdinal, e.classOrdinal);
        EXPECT_EQ(a.text, e.text);
        EXPECT_EQ(a.style, e.style) << std::hex << a.style;
        EXPECT_EQ(a.x, e.x);
        EXPECT_EQ(a.y, e.y);
        EXPECT_EQ(a.width, e.width);
        EXPECT_EQ(a.height, e.height);
    }
}

TEST(SettingsTemplate, DialogHeader) {
    Template t = LoadTemplate(IDD_SETTINGS);
    EXPECT_EQ(t.style, 0x80C800C0u);
    EXPECT_EQ(t.extendedStyle, 0u);
    EXPECT_EQ(t.width, 234);
    EXPECT_EQ(t.height, 160);
    EXPECT_EQ(t.menu, 0);
    EXPECT_FALSE(t.hasClass);
    EXPECT_EQ(t.title, "TAVELIN の設定");
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.face, "ＭＳ Ｐゴシック");
}

TEST(SettingsTemplate, ControlsInTabOrder) {
    const Item expected[] = {
        {0x50020007, 7, 27, 220, 40, 1030, kButton, "出力方法の設定"},
        {0x50010009, 12, 38, 63, 10, 1001, kButton, "指定パスに出力"},
        {0x50010009, 12, 52, 86, 10, 1002, kButton, "常に元のファイルを変更"},
        {0x40020007, 74, 27, 153, 28, 65535, kButton, "出力先の指定"},
        {0x50810080, 75, 36, 116, 14, 1000, kEdit, ""},
        {0x50010000, 192, 36, 31, 14, 1003, kButton, "参照(&B)..."},
        {0x50020007, 7, 69, 220, 39, 1035, kButton, "変換方法"},
        {0x50010009, 12, 80, 50, 10, 1032, kButton, "相互に変換"},
        {0x50010009, 100, 80, 65, 10, 1033, kButton, "Shift-JIS に統一"},
        {0x50010009, 12, 93, 72, 10, 1034, kButton, "日本語EUC に統一"},
        {0x50010009, 100, 93, 56, 10, 1037, kButton, "UTF-8 に統一"},
        // A group of its own below the direction's, part of its band.
        {0x50030003, 7, 111, 90, 10, 1038, kButton, "UTF-8 に BOM を付ける"},
        {0x40020007, 7, 121, 220, 37, 1036, kButton, "その他"},
        {0x50010003, 7, 125, 120, 10, 1031, kButton, "上書きされるファイルをゴミ箱に残す"},
        {0x50010003, 7, 139, 119, 10, 1024, kButton, "起動時に設定ダイアログを表示する"},
        {0x50010001, 126, 139, 50, 14, 1, kButton, "OK"},
        {0x50010000, 177, 139, 50, 14, 2, kButton, "ｷｬﾝｾﾙ"},
        {0x50020280, 7, 7, 220, 12, 1028, kStatic,
         "出力先に指定されたパスにアクセスできませんでした。"},
    };
    ExpectItems(LoadTemplate(IDD_SETTINGS), expected, std::size(expected));
}

TEST(UndeterminedFilesTemplate, DialogHeader) {
    Template t = LoadTemplate(IDD_UNDETERMINED_FILES);
    EXPECT_EQ(t.style, 0x86CF0040u) << std::hex << t.style;
    EXPECT_EQ(t.extendedStyle, 0u);
    EXPECT_EQ(t.width, 190);
    EXPECT_EQ(t.height, 142);
    EXPECT_EQ(t.menu, 125);
    EXPECT_FALSE(t.hasClass);
    EXPECT_EQ(t.title, "文字コード判別不能ファイルの扱い");
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.face, "ＭＳ Ｐゴシック");
}

TEST(UndeterminedFilesTemplate, ControlsInTemplateOrder) {
    const Item expected[] = {
        {0x50020000, 7, 7, 178, 8, 65535, kStatic,
         "以下のファイルは、文字コードが判別できませんでした。"},
        {0x50020000, 7, 17, 94, 8, 65535, kStatic, "処理方法を指定して下さい。"},
        // LVS_OWNERDATA | LVS_SHAREIMAGELISTS (0x1040): the rows are the program's.
        {0x508110C9, 7, 29, 176, 88, 1025, kNamedClass, "List1"},
        {0x50020000, 10, 123, 70, 12, 1026, kStatic, "000 個のﾌｧｲﾙ"},
        {0x50010001, 83, 121, 50, 14, 1, kButton, "実行(&D)"},
        {0x50010000, 133, 121, 50, 14, 2, kButton, "閉じる"},
    };
    Template t = LoadTemplate(IDD_UNDETERMINED_FILES);
    ExpectItems(t, expected, std::size(expected));
    ASSERT_EQ(t.classNames.size(), 6u);
    // The resource compiler writes class names in capitals; they match either way.
    EXPECT_EQ(lstrcmpiA(t.classNames[2].c_str(), WC_LISTVIEWA), 0) << t.classNames[2];
}

// One entry of a menu: its text (empty for a separator), command id (0 for
// a pop-up) and the entries of its pop-up.
struct MenuEntry {
    std::string text;
    UINT id;
    std::vector<MenuEntry> items;
};

std::vector<MenuEntry> ReadMenu(HMENU menu) {
    std::vector<MenuEntry> entries;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; i++) {
        char text[256] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        MenuEntry entry{
            (info.fType & MFT_SEPARATOR) ? "" : text, info.hSubMenu != nullptr ? 0 : info.wID, {}};
        if (info.hSubMenu != nullptr) entry.items = ReadMenu(info.hSubMenu);
        entries.push_back(entry);
    }
    return entries;
}

void ExpectMenu(const std::vector<MenuEntry>& actual, const std::vector<MenuEntry>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); i++) {
        SCOPED_TRACE(testing::Message() << "entry " << i << " " << expected[i].text);
        EXPECT_EQ(actual[i].text, expected[i].text);
        EXPECT_EQ(actual[i].id, expected[i].id);
        ExpectMenu(actual[i].items, expected[i].items);
    }
}

TEST(UndeterminedFilesMenus, MenuBarAndRowMenu) {
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_MENU));
    ASSERT_NE(bar, nullptr);
    ExpectMenu(ReadMenu(bar), {{"実行(&D)", 0, {{"実行(&D)", 1, {}}, {"閉じる(&C)", 2, {}}}},
                               {"編集(&E)",
                                0,
                                {{"Shift-JIS へ変換する(&S)", 40003, {}},
                                 {"日本語EUC へ変換する(&E)", 40004, {}},
                                 {"コピーする(&C)", 40005, {}},
                                 {"無視する(&U)", 40009, {}}}},
                               {"ヘルプ(&H)", 0, {{"About(&A)", 40006, {}}}}});
    DestroyMenu(bar);

    HMENU rows = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ROW_MENU));
    ASSERT_NE(rows, nullptr);
    ExpectMenu(ReadMenu(rows), {{"ポップアップ",
                                 0,
                                 {{"開く(&O)", 40011, {}},
                                  {"フォルダを開く(&F)", 40012, {}},
                                  {"", 0, {}},
                                  {"Shift-JIS へ変換する(&S)", 40003, {}},
                                  {"日本語EUC へ変換する(&E)", 40004, {}},
                                  {"コピーする(&C)", 40005, {}},
                                  {"無視する(&U)", 40009, {}}}}});
    DestroyMenu(rows);
}

}  // namespace
