// The settings file's text: how a key is found, how a change leaves the rest
// of the file, and which encoding the file is written in. The code page 932
// bytes below were made with Python's cp932 codec.
#include "app/ini_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A file as UTF-16 LE with its byte-order mark.
std::string Utf16File(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(IniText, FindsAsTheProfileFunctions) {
    struct Row {
        std::string file;
        const char16_t* key;
        const char16_t* value;  // null: missing
    } rows[] = {
        {"[TAVELIN]\r\nk=v\r\n", u"k", u"v"},
        {" \t[TAVELIN] \r\n  k \t=  v w \t\r\n", u"k", u"v w"},  // blanks around dropped
        {"[tavelin]\nK=1", u"k", u"1"},                          // ASCII case; LF; no last end
        {"[TAVELIN]\r\nk=first\r\nk=second\r\n", u"k", u"first"},
        {"k=0\r\n[OTHER]\r\nk=x\r\n[TAVELIN]\r\nk=y\r\n", u"k", u"y"},
        {"[TAVELIN]\r\nj=1\r\n[OTHER]\r\nk=x\r\n", u"k", nullptr},
        {"[TAVELIN]\r\n;k=x\r\nk\r\n", u"k", nullptr},  // a comment; a line without "="
        {"[TAVELIN]\r\nk=\r\n", u"k", u""},
        {"[TAVELIN]\r\nk=\"C:\\x \"\r\n", u"k", u"C:\\x "},  // one pair of quotes taken away
        {"[TAVELIN]\r\nk='a=b\r\n", u"k", u"'a=b"},
        // ゾ is 83 5D: its second byte is "]", and 表 (95 5C) ends in "\".
        {"[TAVELIN]\r\n[\x83\x5D\r\n\x83\x5D=\x95\x5C\r\n", u"ゾ", u"表"},
        {"[TAVELIN]\r\nk=\x81\r\n", u"k", u"\xFFFD"},  // a lead byte alone
        {Utf16File(u"[TAVELIN]\r\n出力先パス=C:\\Users\\José\r\n"), u"出力先パス",
         u"C:\\Users\\José"},
    };
    for (const Row& row : rows) {
        std::u16string value = u"<untouched>";
        bool found = IniText(row.file).Find(u"TAVELIN", row.key, &value);
        EXPECT_EQ(found, row.value != nullptr) << row.file;
        EXPECT_EQ(value, row.value != nullptr ? row.value : u"<untouched>") << row.file;
    }
}

TEST(IniText, SetKeepsTheRestOfTheFileAndChoosesTheEncoding) {
    const std::string other = "[A]\r\nc=\xED\x40\x81\r\n";  // a NEC-selected twin, a stray lead
    struct Row {
        std::string before;
        const char16_t* key;
        const char16_t* value;
        std::string after;
    } rows[] = {
        {"", u"k", u"1", "[TAVELIN]\r\nk=1\r\n"},
        {"[TAVELIN]", u"k", u"1", "[TAVELIN]\r\nk=1\r\n"},
        {"[A]\r\nx=1", u"k", u"1", "[A]\r\nx=1\r\n[TAVELIN]\r\nk=1\r\n"},
        {"; note\r\n[TAVELIN]\r\nj=2\r\n  K = 0 \r\nk=5\r\n\r\n[B]\r\ny=3\r\n", u"k", u"1",
         "; note\r\n[TAVELIN]\r\nj=2\r\nk=1\r\nk=5\r\n\r\n[B]\r\ny=3\r\n"},
        {"[TAVELIN]\r\nj=2\r\n\r\n[B]\r\nk=3\r\n", u"k", u"1",
         "[TAVELIN]\r\nj=2\r\nk=1\r\n\r\n[B]\r\nk=3\r\n"},
        {"[TAVELIN]\nj=2\n;end\n", u"k", u"1", "[TAVELIN]\nj=2\n;end\nk=1\n"},
        {"", u"k", u" a", "[TAVELIN]\r\nk=\" a\"\r\n"},
        {"", u"k", u"'x'", "[TAVELIN]\r\nk=\"'x'\"\r\n"},
        {"", u"出力先パス", u"D:\\出力\\表",
         "[TAVELIN]\r\n\x8F\x6F\x97\xCD\x90\xE6\x83\x70\x83\x58=D:"
         "\\\x8F\x6F\x97\xCD\\\x95\x5C\r\n"},
        {other, u"k", u"1", other + "[TAVELIN]\r\nk=1\r\n"},
        {other, u"k", u"C:\\Users\\José",
         Utf16File(u"[A]\r\nc=纊\xFFFD\r\n[TAVELIN]\r\nk=C:\\Users\\José\r\n")},
        {"", u"k", u"김민수", Utf16File(u"[TAVELIN]\r\nk=김민수\r\n")},
        {"", u"k", u"😀", Utf16File(u"[TAVELIN]\r\nk=😀\r\n")},
        // A cell reads back as another character; a character without a
        // cell is never replaced by a look-alike.
        {"", u"k", u"\x301C", Utf16File(u"[TAVELIN]\r\nk=\x301C\r\n")},
        {"", u"k", u"C:\\¥", Utf16File(u"[TAVELIN]\r\nk=C:\\¥\r\n")},
        {Utf16File(u"[TAVELIN]\r\nk=José\r\n"), u"k", u"C:\\x", "[TAVELIN]\r\nk=C:\\x\r\n"},
        // In code page 932 these two would start with the byte-order mark.
        {Utf16File(u"\xF8F3\xF8F2\r\n"), u"k", u"1",
         Utf16File(u"\xF8F3\xF8F2\r\n[TAVELIN]\r\nk=1\r\n")},
    };
    for (const Row& row : rows) {
        IniText text(row.before);
        text.Set(u"TAVELIN", row.key, row.value);
        EXPECT_EQ(text.Bytes(), row.after) << row.before;
        bool utf16 = row.after.compare(0, 2, "\xFF\xFE") == 0;
        EXPECT_EQ(text.Encoding(), utf16 ? IniEncoding::Utf16 : IniEncoding::Cp932);
        std::u16string value;
        EXPECT_TRUE(IniText(text.Bytes()).Find(u"TAVELIN", row.key, &value));
        EXPECT_EQ(value, row.value) << row.before;
    }
}

}  // namespace
