// The rows a file list keeps itself: a row found by the first letters a user
// types (a virtual list view leaves that to the program), its texts made only
// when asked for.
#include "ui/row_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

int g_made = 0;

std::u16string NameOf(const void* data, int) {
    g_made++;
    return static_cast<const char16_t*>(data);
}

TEST(RowList, FoundByTheFirstLettersTheTextsMadeWhenAsked) {
    const char16_t* names[] = {u"Apple.txt", u"banana.txt", u"apricot.txt", u"Berry.txt"};
    RowList list;
    list.columns = 1;
    list.makeText = NameOf;
    for (const char16_t* name : names) AddRow(&list, const_cast<char16_t*>(name));
    EXPECT_EQ(g_made, 0);
    struct Case {
        const char16_t* prefix;
        int start;
        bool wrap;
        int row;
    } const cases[] = {
        {u"ap", 0, true, 0}, {u"ap", 1, true, 2}, {u"AP", 3, true, 0}, {u"ap", 3, false, -1},
        {u"b", 2, false, 3}, {u"z", 0, true, -1}, {u"", 1, true, 1},   {u"apple.txt_", 0, true, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FindRowByPrefix(&list, c.prefix, c.start, c.wrap), c.row) << "from " << c.start;
    }
    EXPECT_EQ(g_made, 4);
}

}  // namespace
