// The number in a settings value: "%d" rules, and no overflow beyond 32 bits.
#include "app/profile_integer.h"

#include <gtest/gtest.h>

namespace {

// The value read, or the sentinel when the text holds no number.
std::int32_t Read(const char* text) {
    std::int32_t value = -77777;
    bool read = ParseProfileInteger(text, &value);
    EXPECT_EQ(read, value != -77777) << text;
    return value;
}

TEST(ParseProfileInteger, ReadsLikeTheScanner) {
    EXPECT_EQ(Read("0"), 0);
    EXPECT_EQ(Read("1"), 1);
    EXPECT_EQ(Read("640"), 640);
    EXPECT_EQ(Read("-5"), -5);
    EXPECT_EQ(Read("+7"), 7);
    EXPECT_EQ(Read("  \t12"), 12);
    EXPECT_EQ(Read("1abc"), 1);  // whatever follows the digits is ignored
    EXPECT_EQ(Read("12 34"), 12);
    EXPECT_EQ(Read("007"), 7);
    EXPECT_EQ(Read("-0"), 0);
}

TEST(ParseProfileInteger, NoNumberLeavesTheDefault) {
    EXPECT_EQ(Read(""), -77777);
    EXPECT_EQ(Read("   "), -77777);
    EXPECT_EQ(Read("abc"), -77777);
    EXPECT_EQ(Read("-"), -77777);
    EXPECT_EQ(Read("+-1"), -77777);
    EXPECT_EQ(Read("- 1"), -77777);
    EXPECT_EQ(Read("\x95\x5C"
                   "1"),
              -77777);  // a double-byte character first
}

TEST(ParseProfileInteger, EdgesOfThe32BitRange) {
    EXPECT_EQ(Read("2147483647"), 2147483647);
    EXPECT_EQ(Read("-2147483648"), INT32_MIN);
    EXPECT_EQ(Read("000000000000000000002147483647"), 2147483647);
    // Beyond the range: no number, not a wrapped one.
    EXPECT_EQ(Read("2147483648"), -77777);
    EXPECT_EQ(Read("-2147483649"), -77777);
    EXPECT_EQ(Read("4294967296"), -77777);
    EXPECT_EQ(Read("4294967297"), -77777);  // would wrap to 1
    EXPECT_EQ(Read("99999999999999999999999999999999999999"), -77777);
    EXPECT_EQ(Read("-99999999999999999999999999999999999999"), -77777);
}

}  // namespace
