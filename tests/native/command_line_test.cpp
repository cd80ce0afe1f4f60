// The command-line splitter and the switches.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "util/text.h"

namespace {

bool Cp932Lead(unsigned char b) { return IsShiftJisLeadByte(b); }

std::vector<std::string> Split(const std::string& line) {
    // An exactly sized copy, so reading past the terminator is caught.
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    std::int32_t argc = -1;
    char** argv = SplitCommandLine(text.data(), &argc, Cp932Lead);
    EXPECT_NE(argv, nullptr);
    std::vector<std::string> result;
    if (argv == nullptr) return result;
    for (std::int32_t i = 0; i < argc; i++) result.emplace_back(argv[i]);
    EXPECT_EQ(argv[argc], nullptr);
    // Every text lies inside the one block, right after the pointers.
    const char* texts = reinterpret_cast<const char*>(argv + argc + 1);
    for (std::int32_t i = 0; i < argc; i++) {
        EXPECT_EQ(argv[i], texts);
        texts += std::strlen(argv[i]) + 1;
    }
    std::free(argv);
    return result;
}

using Args = std::vector<std::string>;

TEST(SplitCommandLine, QuotesAndBackslashes) {
    EXPECT_EQ(Split("prog \"a b\" c"), (Args{"prog", "a b", "c"}));
    EXPECT_EQ(Split("prog a\\\\\"b c\""), (Args{"prog", "a\\b c"}));
    EXPECT_EQ(Split("prog a\\\\\\\"b"), (Args{"prog", "a\\\"b"}));
    EXPECT_EQ(Split("prog \"a\"\"b\" c"), (Args{"prog", "a\"b", "c"}));
    EXPECT_EQ(Split("prog \"C:\\dir\\\""), (Args{"prog", "C:\\dir\""}));
    EXPECT_EQ(Split("prog C:\\dir\\"), (Args{"prog", "C:\\dir\\"}));
    EXPECT_EQ(Split("prog a\\b\\\\c"), (Args{"prog", "a\\b\\\\c"}));
    EXPECT_EQ(Split("prog \"\""), (Args{"prog", ""}));
}

TEST(SplitCommandLine, ProgramPathAndBlanks) {
    EXPECT_EQ(Split("prog   "), (Args{"prog"}));
    EXPECT_EQ(Split("\"C:\\My Tools\\prog.exe\" x"), (Args{"C:\\My Tools\\prog.exe", "x"}));
    EXPECT_EQ(Split("\"a\"b"), (Args{"a", "b"}));
    EXPECT_EQ(Split("C:\\a\"b\\prog.exe\tx"), (Args{"C:\\a\"b\\prog.exe", "x"}));
    EXPECT_EQ(Split("\"unterminated program"), (Args{"unterminated program"}));
    EXPECT_EQ(Split(""), (Args{""}));
    EXPECT_EQ(Split("p \t a\t\tb "), (Args{"p", "a", "b"}));
}

TEST(SplitCommandLine, DoubleByteCharactersStayWhole) {
    // 表 ends in 0x5C: taken for a backslash it would escape the closing quote.
    EXPECT_EQ(Split("prog \"C:\\表\" x"), (Args{"prog", "C:\\表", "x"}));
    EXPECT_EQ(Split("prog C:\\表 x"), (Args{"prog", "C:\\表", "x"}));
    // A lead byte as the very last byte stays alone; nothing past the end is read.
    EXPECT_EQ(Split("prog a\x95"), (Args{"prog", "a\x95"}));
    EXPECT_EQ(Split("prog \"a\x95"), (Args{"prog", "a\x95"}));
}

char** Argv(std::vector<std::string>& strings, std::vector<char*>& pointers) {
    pointers.clear();
    for (auto& s : strings) pointers.push_back(&s[0]);
    pointers.push_back(nullptr);
    return pointers.data();
}

ConversionMask Mask(std::vector<std::string> args, bool* suppress) {
    std::vector<char*> pointers;
    char** argv = Argv(args, pointers);
    return ParseSwitches(static_cast<std::int32_t>(args.size()), argv, suppress);
}

TEST(ParseSwitches, LastMaskWinsCaseIgnoredWholeArgumentsOnly) {
    bool suppress = true;
    EXPECT_EQ(Mask({"prog"}, &suppress), ConversionMask::BothWays);
    EXPECT_FALSE(suppress);
    EXPECT_EQ(Mask({"prog", "/euc", "/sjis"}, &suppress), ConversionMask::IntoShiftJis);
    EXPECT_EQ(Mask({"prog", "/sjis", "/euc"}, &suppress), ConversionMask::IntoEucJp);
    EXPECT_EQ(Mask({"prog", "/JMS"}, &suppress), ConversionMask::IntoShiftJis);
    EXPECT_EQ(Mask({"prog", "/euc", "/Auto"}, &suppress), ConversionMask::BothWays);
    EXPECT_FALSE(suppress);
    EXPECT_EQ(Mask({"prog", "/euc:", "-euc", "/eucx", "/eu"}, &suppress), ConversionMask::BothWays);
    EXPECT_FALSE(suppress);
    Mask({"prog", "/NoUI"}, &suppress);
    EXPECT_TRUE(suppress);
    Mask({"prog", "/DLG:0", "file"}, &suppress);
    EXPECT_TRUE(suppress);
    Mask({"prog", "/dlg:1"}, &suppress);
    EXPECT_FALSE(suppress);
    // Argument 0 is never a switch.
    EXPECT_EQ(Mask({"/euc"}, &suppress), ConversionMask::BothWays);
}

TEST(ParseSwitches, Utf8IsADirectionLikeTheOthers) {
    bool suppress = true;
    EXPECT_EQ(Mask({"prog", "/utf8"}, &suppress), ConversionMask::IntoUtf8);
    EXPECT_FALSE(suppress);
    EXPECT_EQ(Mask({"prog", "/UTF8", "x"}, &suppress), ConversionMask::IntoUtf8);
    EXPECT_EQ(Mask({"prog", "/Utf8", "/noui"}, &suppress), ConversionMask::IntoUtf8);
    EXPECT_TRUE(suppress);
    EXPECT_EQ(Mask({"prog", "/utf8", "/euc"}, &suppress), ConversionMask::IntoEucJp);
    EXPECT_EQ(Mask({"prog", "/auto", "/utf8"}, &suppress), ConversionMask::IntoUtf8);
    EXPECT_EQ(Mask({"prog", "/utf-8", "/utf", "/utf8x", "utf8"}, &suppress),
              ConversionMask::BothWays);
}

}  // namespace
