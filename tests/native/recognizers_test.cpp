// The recognizers' state machines, row by row of their rules, fed through
// the base class as the detection's reference pass does; and the UTF-8
// check against an independent decoder over every short sequence.
#include "engine/recognizers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

// Feeds the bytes, then the end marker; returns the final count.
int CountViolations(CodeRecognizer& recognizer, std::initializer_list<int> bytes,
                    bool finish = true) {
    for (int b : bytes) recognizer.Feed(b);
    return finish ? recognizer.Feed(-1) : recognizer.count;
}

template <typename Recognizer>
int Violations(std::initializer_list<int> bytes, bool finish = true) {
    Recognizer r;
    return CountViolations(r, bytes, finish);
}

TEST(EscapeOrHighByteCounter, CountsEscAndEightBitBytes) {
    EXPECT_EQ(Violations<EscapeOrHighByteCounter>({'a', '\n', 0x7F, 0x1A, 0x00}), 0);
    EXPECT_EQ(Violations<EscapeOrHighByteCounter>({0x1B, 0x80, 0xFF, 'a', 0xA4}), 4);
    EscapeOrHighByteCounter counter;
    counter.Feed(0x80);
    EXPECT_EQ(counter.state, 0);
}

TEST(EucJpRecognizer, FollowsItsRules) {
    using R = EucJpRecognizer;
    EXPECT_EQ(Violations<R>({0xA4, 0xA2, 0xB0, 0xA1, 'a', '\n'}), 0);  // hiragana, kanji, ASCII
    EXPECT_EQ(Violations<R>({0x8E, 0xB1, 0x8E, 0xDF}), 0);             // half-width katakana
    EXPECT_EQ(Violations<R>({0xFE, 0xFE, 0xA1, 0xFE}), 0);
    EXPECT_EQ(Violations<R>({0x1B}), 1);              // ESC at a character start
    EXPECT_EQ(Violations<R>({0x8F, 0xA1, 0xA1}), 1);  // 0x8F is refused; the rest pairs up
    for (int b : {0x80, 0x8D, 0x8F, 0xA0, 0xFF}) EXPECT_EQ(Violations<R>({b}), 1) << b;
    // After the single shift.
    EXPECT_EQ(Violations<R>({0x8E, 0x8E, 0xB1}), 1);  // stays after 0x8E
    EXPECT_EQ(Violations<R>({0x8E, 0xE0, 0xA1}), 1);  // 0xE0-0xFE: taken as a lead
    EXPECT_EQ(Violations<R>({0x8E, 'a', 'b'}), 1);    // back to the start
    EXPECT_EQ(Violations<R>({0x8E, 0xA0, 'b'}), 1);
    // After a lead byte.
    EXPECT_EQ(Violations<R>({0xA4, 0x8E, 0xB1}), 1);  // 0x8E starts a katakana
    EXPECT_EQ(Violations<R>({0xA4, '\n'}), 1);        // the line end breaks the pair
    EXPECT_EQ(Violations<R>({0xA4, 0xFF, 'a'}), 1);
    // Cut off by the end of the input, in either state.
    EXPECT_EQ(Violations<R>({0xA4}), 1);
    EXPECT_EQ(Violations<R>({0x8E}), 1);
    EXPECT_EQ(Violations<R>({0xA4}, false), 0);
}

TEST(ShiftJisRecognizer, FollowsItsRules) {
    using R = ShiftJisRecognizer;
    EXPECT_EQ(Violations<R>({0x82, 0xA0, 0x88, 0x9F, 0xB1, 'a', '\r', '\n'}), 0);
    EXPECT_EQ(Violations<R>({0x81, 0x40, 0x9F, 0x7E, 0xE0, 0x80, 0xFC, 0xFC}), 0);  // range ends
    for (int b : {0x1B, 0x80, 0xA0, 0xFD, 0xFE, 0xFF}) EXPECT_EQ(Violations<R>({b}), 1) << b;
    for (int trail : {0x00, 0x0A, 0x3F, 0x7F, 0xFD, 0xFF}) {
        EXPECT_EQ(Violations<R>({0x82, trail, 'a'}), 1) << trail;  // the bad trail is consumed
    }
    EXPECT_EQ(Violations<R>({0x82, 0x82, 0x82}), 1);  // lead, trail 0x82, then a cut-off lead
    EXPECT_EQ(Violations<R>({'a', 0x82}), 1);
    EXPECT_EQ(Violations<R>({'a', 0x82}, false), 0);
}

TEST(Iso2022JpRecognizer, ChecksTheShapeOfEscapes) {
    using R = Iso2022JpRecognizer;
    // ESC $ B, kanji as 7-bit pairs, ESC ( B.
    EXPECT_EQ(Violations<R>({0x1B, '$', 'B', 0x30, 0x21, 0x1B, '(', 'B', '\n'}), 0);
    for (int i : {'$', '('}) {
        for (int f : {'@', 'B', 'J'}) EXPECT_EQ(Violations<R>({0x1B, i, f}), 0) << i << f;
    }
    EXPECT_EQ(Violations<R>({0x1B, 'H', 0x1B, 'K'}), 0);
    EXPECT_EQ(Violations<R>({0xA1, 0xDF}), 0);  // 8-bit half-width katakana
    for (int b : {0x80, 0xA0, 0xE0, 0xFF}) EXPECT_EQ(Violations<R>({b}), 1) << b;
    EXPECT_EQ(Violations<R>({0x1B, '(', 'I'}), 1);            // katakana escape: not accepted
    EXPECT_EQ(Violations<R>({0x1B, '[', '3', '1', 'm'}), 1);  // a terminal colour
    EXPECT_EQ(Violations<R>({0x1B, 0x1B, '$', 'B'}), 1);      // a second ESC restarts
    EXPECT_EQ(Violations<R>({0x1B, '$', 0x1B, '(', 'B'}), 1);
    EXPECT_EQ(Violations<R>({0x1B}), 1);       // cut off after ESC
    EXPECT_EQ(Violations<R>({0x1B, '$'}), 1);  // or after the intermediate
    EXPECT_EQ(Violations<R>({0x1B, '$'}, false), 0);
}

TEST(Utf8Recognizer, AcceptsWellFormedText) {
    using R = Utf8Recognizer;
    EXPECT_EQ(Violations<R>({0xE3, 0x83, 0xA1, 0xE3, 0x83, 0xA2, '\r', '\n'}), 0);  // メモ
    EXPECT_EQ(Violations<R>({0xC2, 0x80, 0xDF, 0xBF}), 0);              // U+0080, U+07FF
    EXPECT_EQ(Violations<R>({0xE0, 0xA0, 0x80, 0xEF, 0xBF, 0xBF}), 0);  // U+0800, U+FFFF
    EXPECT_EQ(Violations<R>({0xED, 0x9F, 0xBF, 0xEE, 0x80, 0x80}), 0);  // around surrogates
    EXPECT_EQ(Violations<R>({0xF0, 0x90, 0x80, 0x80, 0xF4, 0x8F, 0xBF, 0xBF}),
              0);                                          // U+10000, U+10FFFF
    EXPECT_EQ(Violations<R>({0xEF, 0xBB, 0xBF, 'a'}), 0);  // a byte-order mark
}

TEST(Utf8Recognizer, RefusesWhatRfc3629Forbids) {
    using R = Utf8Recognizer;
    EXPECT_NE(Violations<R>({0xC0, 0x80}), 0);  // overlong two bytes
    EXPECT_NE(Violations<R>({0xC1, 0xBF}), 0);
    EXPECT_NE(Violations<R>({0xE0, 0x9F, 0xBF}), 0);        // overlong three bytes
    EXPECT_NE(Violations<R>({0xF0, 0x8F, 0xBF, 0xBF}), 0);  // overlong four bytes
    EXPECT_NE(Violations<R>({0xED, 0xA0, 0x80}), 0);        // a surrogate
    EXPECT_NE(Violations<R>({0xF4, 0x90, 0x80, 0x80}), 0);  // above U+10FFFF
    EXPECT_NE(Violations<R>({0xF5, 0x80, 0x80, 0x80}), 0);
    EXPECT_NE(Violations<R>({0x80}), 0);        // a stray continuation
    EXPECT_NE(Violations<R>({0xE3, 0x83}), 0);  // cut off by the end
    EXPECT_EQ(Violations<R>({0xE3, 0x83}, false), 0);
    EXPECT_NE(Violations<R>({0xE3, 'a', 0xA1}), 0);  // cut short
    // Shift-JIS and EUC-JP text is almost never well formed.
    EXPECT_NE(Violations<R>({0x82, 0xA0}), 0);
    EXPECT_NE(Violations<R>({0xA4, 0xA2}), 0);
}

TEST(Utf8Recognizer, NotesNonAsciiBytes) {
    Utf8Recognizer ascii;
    CountViolations(ascii, {'a', 0x1B, '\n'});
    EXPECT_FALSE(ascii.nonAscii);
    Utf8Recognizer japanese;
    CountViolations(japanese, {'a', 0xC2, 0xA9});
    EXPECT_TRUE(japanese.nonAscii);
}

// An independent judge: split into sequences by the first byte's length
// marker, decode, and check the value's range and the shortest form.
bool WellFormedUtf8(const std::string& bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto b = static_cast<unsigned char>(bytes[i]);
        int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        long value = length == 1 ? b : b & (0x7F >> length);
        for (int k = 1; k < length; k++) {
            auto c = static_cast<unsigned char>(bytes[i + k]);
            if ((c >> 6) != 2) return false;
            value = value * 64 + (c & 0x3F);
        }
        const long shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (value < shortest[length] || value > 0x10FFFF) return false;
        if (value >= 0xD800 && value <= 0xDFFF) return false;
        i += length;
    }
    return true;
}

bool RecognizerAccepts(const std::string& bytes) {
    Utf8Recognizer r;
    for (char c : bytes) r.Feed(static_cast<unsigned char>(c));
    return r.Feed(-1) == 0;
}

TEST(Utf8Recognizer, AgreesWithADecoderOnEveryShortSequence) {
    int disagreements = 0;
    std::string s(3, '\0');
    // Every one- and two-byte sequence, and every three-byte one that begins
    // with a lead byte of 0xC0 and up (the others are settled by two bytes).
    for (int a = 0; a < 256; a++) {
        s.assign(1, static_cast<char>(a));
        disagreements += WellFormedUtf8(s) != RecognizerAccepts(s);
        for (int b = 0; b < 256; b++) {
            s.assign({static_cast<char>(a), static_cast<char>(b)});
            disagreements += WellFormedUtf8(s) != RecognizerAccepts(s);
            if (a < 0xC0) continue;
            for (int c = 0; c < 256; c++) {
                s.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
                disagreements += WellFormedUtf8(s) != RecognizerAccepts(s);
            }
        }
    }
    // Four-byte sequences: every lead 0xF0-0xF7 with every second byte and
    // the interesting ends of the continuation range.
    for (int a = 0xF0; a <= 0xF7; a++) {
        for (int b = 0; b < 256; b++) {
            for (int c : {0x7F, 0x80, 0xBF, 0xC0}) {
                for (int d : {0x41, 0x80, 0xBF, 0xC0}) {
                    s.assign({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c),
                              static_cast<char>(d)});
                    disagreements += WellFormedUtf8(s) != RecognizerAccepts(s);
                }
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
}

}  // namespace
