// What the tray tells of a long run: the tips with their counts (which must
// fit the 63 code units of the first tray record whatever the numbers), how far
// the bar fills, and when the throttle lets a redraw through.
#include "ui/progress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>

namespace {

// The run's text: 23 UTF-16 code units.
constexpr char16_t kText[] = u"TAVELINちゃんが文字コードを変換中ですわ";

std::string Count(std::int32_t count, int capacity = 32) {
    char buffer[32];
    int length = FormatCount(buffer, capacity, count);
    if (length < 0) return "<cut>";
    EXPECT_EQ(static_cast<std::size_t>(length), std::strlen(buffer));
    return buffer;
}

TEST(FormatCount, ACommaEveryThreeDigits) {
    EXPECT_EQ(Count(0), "0");
    EXPECT_EQ(Count(7), "7");
    EXPECT_EQ(Count(999), "999");
    EXPECT_EQ(Count(1000), "1,000");
    EXPECT_EQ(Count(1234), "1,234");
    EXPECT_EQ(Count(10000), "10,000");
    EXPECT_EQ(Count(999999), "999,999");
    EXPECT_EQ(Count(1000000), "1,000,000");
    EXPECT_EQ(Count(2147483647), "2,147,483,647");
    EXPECT_EQ(Count(-1234), "-1,234");
    EXPECT_EQ(Count(-2147483647 - 1), "-2,147,483,648");
    // "1,234" needs six bytes with its terminator.
    EXPECT_EQ(Count(1234, 6), "1,234");
    EXPECT_EQ(Count(1234, 5), "<cut>");
}

// A tip written over a buffer of rubbish, which must end within the record.
std::u16string Tip(const std::function<void(char16_t*)>& format) {
    char16_t tip[kTrayTipCapacity];
    std::fill(tip, tip + kTrayTipCapacity, u'X');
    format(tip);
    const auto end = std::find(tip, tip + kTrayTipCapacity, u'\0');
    EXPECT_NE(end, tip + kTrayTipCapacity) << "no terminator within the tip";
    return std::u16string(tip, end);
}

std::u16string ProgressTip(const std::u16string& text, std::int32_t done, std::int32_t total) {
    return Tip([&](char16_t* tip) { FormatProgressTip(tip, text.c_str(), done, total); });
}

std::u16string GatheringTip(const std::u16string& text, std::int32_t found) {
    return Tip([&](char16_t* tip) { FormatGatheringTip(tip, text.c_str(), found); });
}

std::u16string PlainTip(const std::u16string& text) {
    return Tip([&](char16_t* tip) { FormatPlainTip(tip, text.c_str()); });
}

TEST(Tips, TheRunsTextThenTheCount) {
    ASSERT_EQ(std::u16string(kText).size(), 23u);
    EXPECT_EQ(ProgressTip(kText, 1234, 10000),
              u"TAVELINちゃんが文字コードを変換中ですわ (1,234 / 10,000)");
    EXPECT_EQ(ProgressTip(kText, 0, 3), u"TAVELINちゃんが文字コードを変換中ですわ (0 / 3)");
    EXPECT_EQ(GatheringTip(kText, 1234),
              u"TAVELINちゃんが文字コードを変換中ですわ (検索中 1,234 件)");
    EXPECT_EQ(GatheringTip(kText, 0), u"TAVELINちゃんが文字コードを変換中ですわ (検索中 0 件)");
    EXPECT_EQ(PlainTip(kText), kText);
}

TEST(Tips, TheNumbersShowWholeAndTheTextGivesWayByWholeCharacters) {
    // The run's own text leaves room for the counts' worst case.
    EXPECT_EQ(ProgressTip(kText, 2147483647, 2147483647),
              u"TAVELINちゃんが文字コードを変換中ですわ (2,147,483,647 / 2,147,483,647)");
    EXPECT_EQ(ProgressTip(kText, -2147483647 - 1, -2147483647 - 1),
              u"TAVELINちゃんが文字コードを変換中ですわ (-2,147,483,648 / -2,147,483,648)");
    EXPECT_EQ(GatheringTip(kText, 2147483647),
              u"TAVELINちゃんが文字コードを変換中ですわ (検索中 2,147,483,647 件)");
    // A longer text: whole when it fits the 63 code units exactly, cut by
    // what the numbers need when it does not.
    const std::u16string doubled = std::u16string(kText) + kText;
    const std::u16string suffix = u" (9,999,999 / 9,999,999)";
    EXPECT_EQ(ProgressTip(doubled.substr(0, 39), 9999999, 9999999), doubled.substr(0, 39) + suffix);
    EXPECT_EQ(ProgressTip(doubled, 9999999, 9999999), doubled.substr(0, 39) + suffix);
    EXPECT_EQ(ProgressTip(doubled, 10000000, 10000000),
              doubled.substr(0, 37) + u" (10,000,000 / 10,000,000)");
    EXPECT_EQ(GatheringTip(doubled, 2147483647),
              doubled.substr(0, 41) + u" (検索中 2,147,483,647 件)");
    // A character outside the basic plane at the cut goes whole, never half.
    const std::u16string outside = u"😀";
    const std::u16string emoji = std::u16string(38, u'a') + outside + u"zz";
    EXPECT_EQ(ProgressTip(emoji, 9999999, 9999999), std::u16string(38, u'a') + suffix);
    EXPECT_EQ(ProgressTip(emoji.substr(0, 40), 9999999, 9999999).size(), 62u);
    EXPECT_EQ(PlainTip(std::u16string(62, u'a') + outside), std::u16string(62, u'a'));
    // A text that alone overflows the tip is cut to make room all the same.
    const std::u16string longText(100, u'a');
    EXPECT_EQ(ProgressTip(longText, 1, 2), std::u16string(55, u'a') + u" (1 / 2)");
    EXPECT_EQ(PlainTip(longText), std::u16string(63, u'a'));
    EXPECT_EQ(ProgressTip(u"", 1, 2), u" (1 / 2)");
}

TEST(FilledCells, RoundsDownAndIsFullOnlyWhenAllIsDone) {
    EXPECT_EQ(FilledCells(0, 10, 14), 0);
    EXPECT_EQ(FilledCells(1, 10, 14), 1);
    EXPECT_EQ(FilledCells(5, 10, 14), 7);
    EXPECT_EQ(FilledCells(9, 10, 14), 12);
    EXPECT_EQ(FilledCells(9999, 10000, 14), 13);
    EXPECT_EQ(FilledCells(10, 10, 14), 14);
    EXPECT_EQ(FilledCells(11, 10, 14), 14);
    EXPECT_EQ(FilledCells(0, 0, 14), 14);
    EXPECT_EQ(FilledCells(-3, 10, 14), 0);
    EXPECT_EQ(FilledCells(5, 10, 0), 0);
    // Counts whose product with the cells overflows 32 bits.
    EXPECT_EQ(FilledCells(2147483646, 2147483647, 14), 13);
    EXPECT_EQ(FilledCells(1073741824, 2147483647, 14), 7);
}

constexpr std::int32_t kCells = 14;

TEST(Throttle, ARunOfAFewFilesLooksAsBefore) {
    ProgressThrottle throttle;
    StartProgressThrottle(&throttle, 1000);
    // Everything done within the first half second, the last state too.
    for (std::int32_t done = 0; done <= 5; done++) {
        EXPECT_EQ(TakeProgressRedraw(&throttle, done, 5, kCells, 1000 + done * 90), RedrawNothing)
            << done;
    }
    EXPECT_EQ(TakeGatheringRedraw(&throttle, 40, 1499), RedrawNothing);
    EXPECT_FALSE(throttle.showing);
}

TEST(Throttle, AFewTimesASecondAndOnlyWhatChanged) {
    ProgressThrottle throttle;
    StartProgressThrottle(&throttle, 0);
    // The first call after the delay shows both the tip and the empty bar.
    EXPECT_EQ(TakeProgressRedraw(&throttle, 3, 1400, kCells, 500), RedrawTip | RedrawIcon);
    EXPECT_EQ(throttle.shown.count, 3);
    EXPECT_EQ(throttle.shown.cells, 0);
    // Within the interval: nothing, however the count moves.
    EXPECT_EQ(TakeProgressRedraw(&throttle, 50, 1400, kCells, 600), RedrawNothing);
    EXPECT_EQ(TakeProgressRedraw(&throttle, 99, 1400, kCells, 749), RedrawNothing);
    // Past it: the count changed, the bar did not (99 of 1400 is no cell).
    EXPECT_EQ(TakeProgressRedraw(&throttle, 99, 1400, kCells, 750), RedrawTip);
    // Nothing changed: no redraw, and the clock is not reset by it.
    EXPECT_EQ(TakeProgressRedraw(&throttle, 99, 1400, kCells, 2000), RedrawNothing);
    EXPECT_EQ(TakeProgressRedraw(&throttle, 100, 1400, kCells, 2000), RedrawTip | RedrawIcon);
    EXPECT_EQ(throttle.shown.cells, 1);
    // The last state shows at once, without waiting for the interval.
    EXPECT_EQ(TakeProgressRedraw(&throttle, 1400, 1400, kCells, 2001), RedrawTip | RedrawIcon);
    EXPECT_EQ(throttle.shown.cells, kCells);
    EXPECT_EQ(TakeProgressRedraw(&throttle, 1400, 1400, kCells, 2002), RedrawNothing);
}

TEST(Throttle, GatheringChangesTheTipThenTheRunBringsTheBar) {
    ProgressThrottle throttle;
    StartProgressThrottle(&throttle, 0);
    EXPECT_EQ(TakeGatheringRedraw(&throttle, 120, 700), RedrawTip);
    EXPECT_EQ(throttle.shown.total, kGatheringTotal);
    EXPECT_EQ(throttle.shown.cells, kNoBar);
    EXPECT_EQ(TakeGatheringRedraw(&throttle, 500, 800), RedrawNothing);
    EXPECT_EQ(TakeGatheringRedraw(&throttle, 500, 950), RedrawTip);
    EXPECT_EQ(TakeGatheringRedraw(&throttle, 500, 1300), RedrawNothing);
    // The same count as found, now of a total: the tip and the bar change.
    EXPECT_EQ(TakeProgressRedraw(&throttle, 0, 500, kCells, 1300), RedrawTip | RedrawIcon);
    EXPECT_EQ(throttle.shown.total, 500);
    EXPECT_EQ(throttle.shown.cells, 0);
}

TEST(Throttle, TheClockMayWrap) {
    ProgressThrottle throttle;
    const std::uint32_t start = 0xFFFFFF00u;
    StartProgressThrottle(&throttle, start);
    EXPECT_EQ(TakeProgressRedraw(&throttle, 1, 10, kCells, start + 499), RedrawNothing);
    EXPECT_EQ(TakeProgressRedraw(&throttle, 1, 10, kCells, start + 500), RedrawTip | RedrawIcon);
    EXPECT_EQ(TakeProgressRedraw(&throttle, 2, 10, kCells, start + 700), RedrawNothing);
    EXPECT_EQ(TakeProgressRedraw(&throttle, 2, 10, kCells, start + 750), RedrawTip | RedrawIcon);
    // A clock read a little before the last redraw: no time has passed.
    EXPECT_EQ(TakeProgressRedraw(&throttle, 3, 10, kCells, start + 740), RedrawNothing);
    ProgressThrottle other;
    StartProgressThrottle(&other, 5000);
    EXPECT_EQ(TakeProgressRedraw(&other, 1, 10, kCells, 4990), RedrawNothing);
}

}  // namespace
