// The names results are staged under beside their destinations: formed in the
// destination's own folder, never cut, and recognised (only) in their own form.
#include "engine/staged_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(StagedName, LiesInTheDestinationsFolderAndIsRecognised) {
    char b[261];
    ASSERT_TRUE(FormatStagedPath(b, sizeof b, "C:\\書類\\表.txt", 0x1234, 7));
    EXPECT_STREQ(b, "C:\\書類\\~tavelin-00001234-007.tmp");
    EXPECT_TRUE(IsStagedName(b + std::strlen("C:\\書類\\")));
    // A bare name has no folder; the attempt wraps within its three digits.
    ASSERT_TRUE(FormatStagedPath(b, sizeof b, "a.txt", 0xFFFFFFFFUL, 1999));
    EXPECT_STREQ(b, "~tavelin-ffffffff-999.tmp");
    EXPECT_TRUE(IsStagedName(b));
}

TEST(StagedName, IsNeverCut) {
    char b[40];
    std::memset(b, 'x', sizeof b);
    // 20 bytes of folder + 25 of name do not fit 40.
    EXPECT_FALSE(FormatStagedPath(b, sizeof b, "C:\\0123456789abcdef\\a.txt", 1, 0));
    EXPECT_STREQ(b, "");
    EXPECT_FALSE(FormatStagedPath(b, 1, "C:\\a.txt", 1, 0));
    ASSERT_TRUE(FormatStagedPath(b, 26, "a", 1, 0));  // exactly fits with its terminator
}

TEST(StagedName, OnlyItsOwnFormIsRecognised) {
    for (const char* name : {"~TAVELIN-0A1B2C3D-000.TMP", "~tavelin-00000000-123.tmp"}) {
        EXPECT_TRUE(IsStagedName(name)) << name;
    }
    for (const char* name :
         {"~tavelin-0000000-123.tmp", "~tavelin-000000000-123.tmp", "~tavelin-0000000g-123.tmp",
          "~tavelin-00000000-12a.tmp", "~tavelin-00000000_123.tmp", "~tavelin-00000000-123.txt",
          "tavelin-00000000-123.tmp", "~tavelin-00000000-123.tmp.txt", "tavelin.123", ""}) {
        EXPECT_FALSE(IsStagedName(name)) << name;
    }
}

}  // namespace
