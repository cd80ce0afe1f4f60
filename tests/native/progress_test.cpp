// What the tray tells of a long run: the tips with their counts (which must
// fit the 63 bytes of the first tray record whatever the numbers), how far
// the bar fills, and when the throttle lets a redraw through.
#include "ui/progress.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "util/text.h"

namespace {

// The run's text: 39 bytes in code page 932.
constexpr char kText[] = "TAVELINちゃんが文字コードを変換中ですわ";

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

std::string ProgressTip(const char* text, std::int32_t done, std::int32_t total) {
    char tip[kTrayTipCapacity];
    std::memset(tip, 'X', sizeof tip);
    FormatProgressTip(tip, text, done, total);
    EXPECT_LE(std::strlen(tip), static_cast<std::size_t>(kTrayTipCapacity - 1));
    return tip;
}

std::string GatheringTip(const char* text, std::int32_t found) {
    char tip[kTrayTipCapacity];
    std::memset(tip, 'X', sizeof tip);
    FormatGatheringTip(tip, text, found);
    EXPECT_LE(std::strlen(tip), static_cast<std::size_t>(kTrayTipCapacity - 1));
    return tip;
}

TEST(Tips, TheRunsTextThenTheCount) {
    ASSERT_EQ(std::strlen(kText), 39u);
    EXPECT_EQ(ProgressTip(kText, 1234, 10000),
              "TAVELINちゃんが文字コードを変換中ですわ (1,234 / 10,000)");
    EXPECT_EQ(ProgressTip(kText, 0, 3), "TAVELINちゃんが文字コードを変換中ですわ (0 / 3)");
    EXPECT_EQ(GatheringTip(kText, 1234),
              "TAVELINちゃんが文字コードを変換中ですわ (検索中 1,234 件)");
    EXPECT_EQ(GatheringTip(kText, 0), "TAVELINちゃんが文字コードを変換中ですわ (検索中 0 件)");
}

TEST(Tips, TheNumbersShowWholeAndTheTextGivesWayByWholeCharacters) {
    // The largest counts that leave the text whole: 63 bytes exactly.
    EXPECT_EQ(ProgressTip(kText, 9999999, 9999999),
              "TAVELINちゃんが文字コードを変換中ですわ (9,999,999 / 9,999,999)");
    EXPECT_EQ(GatheringTip(kText, 99999999),
              "TAVELINちゃんが文字コードを変換中ですわ (検索中 99,999,999 件)");
    // Two bytes more: the last character goes.
    EXPECT_EQ(ProgressTip(kText, 10000000, 10000000),
              "TAVELINちゃんが文字コードを変換中です (10,000,000 / 10,000,000)");
    // Three bytes more: a character would be split, so two go.
    EXPECT_EQ(ProgressTip(kText, 10000000, 100000000),
              "TAVELINちゃんが文字コードを変換中で (10,000,000 / 100,000,000)");
    // The worst case of the counts' type.
    EXPECT_EQ(ProgressTip(kText, 2147483647, 2147483647),
              "TAVELINちゃんが文字コードを変換 (2,147,483,647 / 2,147,483,647)");
    EXPECT_EQ(ProgressTip(kText, -2147483647 - 1, -2147483647 - 1).size(), 63u);
    EXPECT_EQ(GatheringTip(kText, 2147483647),
              "TAVELINちゃんが文字コードを変換中です (検索中 2,147,483,647 件)");
    // A text that alone overflows the tip is cut to make room all the same.
    const std::string longText(100, 'a');
    EXPECT_EQ(ProgressTip(longText.c_str(), 1, 2), std::string(55, 'a') + " (1 / 2)");
    EXPECT_EQ(ProgressTip("", 1, 2), " (1 / 2)");
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
