// The command-line splitter and the switches, on UTF-16 command lines.
#include "app/command_line.h"
#include "engine/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The command line and the arguments in UTF-8, for readable expectations.
std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> result;
    for (const Path& argument : SplitCommandLine(PathFromUtf8(line))) {
        result.push_back(Utf8FromPath(argument));
    }
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

TEST(SplitCommandLine, NamesOutsideAsciiStayWhole) {
    // 表 ended in 0x5C in code page 932, where taken for a backslash it
    // escaped the closing quote; in UTF-16 no character holds a backslash.
    // (The lines are kept out of the assertions' own texts, which the
    // compiler writes in code page 932.)
    struct Row {
        std::string line;
        Args arguments;
    } rows[] = {
        {u8"prog \"C:\\表\" x", {"prog", u8"C:\\表", "x"}},
        {u8"\"C:\\José\\prog.exe\" café.txt 한국어.txt \"😀 x.txt\"",
         {u8"C:\\José\\prog.exe", u8"café.txt", u8"한국어.txt", u8"😀 x.txt"}},
        {u8"prog カ\u3099イド.txt", {"prog", u8"カ\u3099イド.txt"}},
    };
    for (const Row& row : rows) EXPECT_EQ(Split(row.line), row.arguments);
}

ConversionMask Mask(const std::vector<std::string>& args, bool* suppress) {
    Arguments arguments;
    for (const std::string& a : args) arguments.push_back(PathFromUtf8(a));
    return ParseSwitches(arguments, suppress);
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
    // /bom adds the byte-order mark to whichever direction, wherever it stands.
    constexpr ConversionMask kMark = ConversionMask::WithByteOrderMark;
    EXPECT_EQ(Mask({"prog", "/BOM", "/utf8"}, &suppress), ConversionMask::IntoUtf8 | kMark);
    EXPECT_EQ(Mask({"prog", "/bom", "/bom:", "-bom"}, &suppress), ConversionMask::BothWays | kMark);
    EXPECT_EQ(Mask({"prog", "/utf8", "/boms"}, &suppress), ConversionMask::IntoUtf8);
}

}  // namespace
