// The number in a settings value: "%d" rules, and no overflow beyond 32 bits.
#include "app/profile_integer.h"

#include <gtest/gtest.h>

#include "util/path.h"
#include "engine/utf8.h"

namespace {

// The value read, or the sentinel when the text holds no number.
std::int32_t Read(const std::u16string& text) {
    std::int32_t value = -77777;
    bool read = ParseProfileInteger(text, &value);
    EXPECT_EQ(read, value != -77777) << Utf8FromPath(text);
    return value;
}

TEST(ParseProfileInteger, ReadsLikeTheScanner) {
    EXPECT_EQ(Read(u"0"), 0);
    EXPECT_EQ(Read(u"1"), 1);
    EXPECT_EQ(Read(u"640"), 640);
    EXPECT_EQ(Read(u"-5"), -5);
    EXPECT_EQ(Read(u"+7"), 7);
    EXPECT_EQ(Read(u"  \t12"), 12);
    EXPECT_EQ(Read(u"1abc"), 1);  // whatever follows the digits is ignored
    EXPECT_EQ(Read(u"12 34"), 12);
    EXPECT_EQ(Read(u"007"), 7);
    EXPECT_EQ(Read(u"-0"), 0);
}

TEST(ParseProfileInteger, NoNumberLeavesTheDefault) {
    EXPECT_EQ(Read(u""), -77777);
    EXPECT_EQ(Read(u"   "), -77777);
    EXPECT_EQ(Read(u"abc"), -77777);
    EXPECT_EQ(Read(u"-"), -77777);
    EXPECT_EQ(Read(u"+-1"), -77777);
    EXPECT_EQ(Read(u"- 1"), -77777);
    EXPECT_EQ(Read(u"表1"), -77777);  // a double-byte character first
}

TEST(ParseProfileInteger, EdgesOfThe32BitRange) {
    EXPECT_EQ(Read(u"2147483647"), 2147483647);
    EXPECT_EQ(Read(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(Read(u"000000000000000000002147483647"), 2147483647);
    // Beyond the range: no number, not a wrapped one.
    EXPECT_EQ(Read(u"2147483648"), -77777);
    EXPECT_EQ(Read(u"-2147483649"), -77777);
    EXPECT_EQ(Read(u"4294967296"), -77777);
    EXPECT_EQ(Read(u"4294967297"), -77777);  // would wrap to 1
    EXPECT_EQ(Read(u"99999999999999999999999999999999999999"), -77777);
    EXPECT_EQ(Read(u"-99999999999999999999999999999999999999"), -77777);
}

}  // namespace
