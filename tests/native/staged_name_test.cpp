// The names results are staged under beside their destinations: formed in the
// destination's own folder, whatever its length, and recognised (only) in
// their own form.
#include "engine/staged_name.h"
#include "engine/utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(StagedName, LiesInTheDestinationsFolderAndIsRecognised) {
    struct Row {
        Path destination;
        unsigned long process;
        int attempt;
        Path staged;
    } rows[] = {
        {u"C:\\書類\\表.txt", 0x1234, 7, u"C:\\書類\\~tavelin-00001234-007.tmp"},
        // A bare name has no folder; the attempt wraps within its three digits.
        {u"a.txt", 0xFFFFFFFFUL, 1999, u"~tavelin-ffffffff-999.tmp"},
        {u"D:\\dossier_é\\😀.txt", 1, 0, u"D:\\dossier_é\\~tavelin-00000001-000.tmp"},
        {u"C:\\" + Path(400, u'f') + u"\\a", 2, 3,
         u"C:\\" + Path(400, u'f') + u"\\~tavelin-00000002-003.tmp"},
    };
    for (const Row& row : rows) {
        Path staged = StagedPath(row.destination, row.process, row.attempt);
        EXPECT_EQ(staged, row.staged);
        EXPECT_TRUE(IsStagedName(FileNamePart(staged)));
    }
}

TEST(StagedName, OnlyItsOwnFormIsRecognised) {
    for (const char16_t* name : {u"~TAVELIN-0A1B2C3D-000.TMP", u"~tavelin-00000000-123.tmp"}) {
        EXPECT_TRUE(IsStagedName(name)) << Utf8FromPath(name);
    }
    for (const char16_t* name :
         {u"~tavelin-0000000-123.tmp", u"~tavelin-000000000-123.tmp", u"~tavelin-0000000g-123.tmp",
          u"~tavelin-00000000-12a.tmp", u"~tavelin-00000000_123.tmp", u"~tavelin-00000000-123.txt",
          u"tavelin-00000000-123.tmp", u"~tavelin-00000000-123.tmp.txt", u"tavelin.123", u"",
          u"~tavelin-0000000０-123.tmp"}) {  // a full-width digit
        EXPECT_FALSE(IsStagedName(name)) << Utf8FromPath(name);
    }
}

}  // namespace
