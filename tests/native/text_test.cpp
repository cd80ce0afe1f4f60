// Bounded formatting and copying, and byte classification, of code page 932
// text.
#include "util/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Charset, LiteralsAreCodePage932) {
    // The sources are UTF-8; the program must see Shift-JIS bytes.
    EXPECT_EQ(std::string("表"), std::string("\x95\x5C"));
    EXPECT_EQ(std::string("あ"), std::string("\x82\xA0"));
}

TEST(FormatBounded, ReportsFitAndCut) {
    char b[4];
    EXPECT_EQ(FormatBounded(b, 4, "%s", "abc"), 3);
    EXPECT_STREQ(b, "abc");
    EXPECT_EQ(FormatBounded(b, 4, "%d", 1234), -1);
    EXPECT_STREQ(b, "123");
    EXPECT_EQ(FormatBounded(b, 1, "%s", "x"), -1);
    EXPECT_STREQ(b, "");
    b[0] = 'z';
    EXPECT_EQ(FormatBounded(b, 0, "%s", "x"), -1);
    EXPECT_EQ(b[0], 'z');  // capacity 0 writes nothing
}

TEST(CopyBounded, CutsWithoutSplittingACharacter) {
    char b[16];
    std::memset(b, 'x', sizeof b);
    EXPECT_EQ(CopyBounded(b, "abcd", 5), b);
    EXPECT_STREQ(b, "abcd");
    EXPECT_EQ(b[5], 'x');  // nothing beyond the capacity
    CopyBounded(b, "abcd", 4);
    EXPECT_STREQ(b, "abc");
    // Two letters and one double-byte character at capacity 4: the letters only.
    CopyBounded(b, "ab表", 4);
    EXPECT_STREQ(b, "ab");
    CopyBounded(b, "ab表", 5);
    EXPECT_STREQ(b, "ab表");
    // A shorter source zero-fills the rest of the capacity.
    std::memset(b, 'x', sizeof b);
    CopyBounded(b, "a", 6);
    for (int i = 1; i < 6; i++) EXPECT_EQ(b[i], '\0') << i;
    EXPECT_EQ(b[6], 'x');
    CopyBounded(b, "abc", 1);
    EXPECT_STREQ(b, "");
}

TEST(ByteKindAt, ClassifiesFromTheStart) {
    const char t[] = "\x81\x0A\x81\x40";
    EXPECT_EQ(ByteKindAt(t, 0), LeadByte);
    EXPECT_EQ(ByteKindAt(t, 1), SingleByte);
    EXPECT_EQ(ByteKindAt(t, 2), LeadByte);
    EXPECT_EQ(ByteKindAt(t, 3), TrailByte);
    EXPECT_EQ(ByteKindAt(t, 4), SingleByte);   // the terminator
    EXPECT_EQ(ByteKindAt(t, 50), SingleByte);  // beyond it: never read
    EXPECT_EQ(ByteKindAt(t, -1), SingleByte);
    // A trail byte is never taken for a lead byte: 0x81 0x81 0x81 is lead, trail, lead.
    EXPECT_EQ(ByteKindAt("\x81\x81\x81", 1), TrailByte);
    EXPECT_EQ(ByteKindAt("\x81\x81\x81", 2), LeadByte);
    // 0x7F after a lead byte stands alone.
    EXPECT_EQ(ByteKindAt("\x81\x7F", 1), SingleByte);
    // Half-width katakana are single bytes.
    EXPECT_EQ(ByteKindAt("\xB1\xB2", 1), SingleByte);
}

TEST(ZeroFill, ZeroesExactlyTheLength) {
    char z[4] = {1, 2, 3, 4};
    EXPECT_EQ(ZeroFill(z, 3), z + 3);
    EXPECT_EQ(z[2], 0);
    EXPECT_EQ(z[3], 4);
}

}  // namespace
