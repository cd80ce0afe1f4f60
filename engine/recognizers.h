// Small state machines that each judge a byte stream against one encoding and
// count the bytes that break its rules. The detection feeds every delivered
// byte to all of them side by side, then the end marker (EndOfInput, -1).
#pragma once

#include <cstdint>

#include "engine/conversion.h"
#include "util/text.h"

class CodeRecognizer {
  public:
    // Takes a byte 0 to 255 or the end marker -1; returns the violations so far.
    virtual std::int32_t Feed(std::int32_t input) = 0;

    std::int32_t state = 0;  // position inside a multi-byte sequence; 0 at a character start
    std::int32_t count = 0;  // rule violations seen so far

  protected:
    // Recognizers are plain values on the stack; nobody deletes one through the base.
    ~CodeRecognizer() = default;
};

constexpr std::int32_t kEsc = 0x1B;

// Counts ESC and 8-bit bytes: zero means plain 7-bit text without escapes.
class EscapeOrHighByteCounter final : public CodeRecognizer {
  public:
    std::int32_t Feed(std::int32_t input) override {
        if (input == kEsc || input >= 0x80) count++;
        return count;
    }
};

// EUC-JP: ASCII, JIS X 0208 as two bytes 0xA1-0xFE, half-width katakana as the
// single shift 0x8E followed by 0xA1-0xDF. Three-byte characters (0x8F) are
// not accepted.
class EucJpRecognizer final : public CodeRecognizer {
  public:
    enum : std::int32_t { AtStart = 0, AfterSingleShift = 1, AfterLead = 2 };

    std::int32_t Feed(std::int32_t input) override {
        if (input < 0) {
            if (state != AtStart) count++;
            return count;
        }
        switch (state) {
            case AtStart:
                // One branch per byte range; ranges that break the rules alike
                // count alike. NOLINTBEGIN(bugprone-branch-clone)
                if (input == kEsc) {
                    count++;
                } else if (input == 0x8E) {
                    state = AfterSingleShift;
                } else if (input >= 0xA1 && input <= 0xFE) {
                    state = AfterLead;
                } else if (input >= 0x80) {  // 0x80-0x8D, 0x8F-0xA0, 0xFF
                    count++;
                }
                // NOLINTEND(bugprone-branch-clone)
                break;
            case AfterSingleShift:
                if (input == 0x8E) {
                    count++;
                } else if (input >= 0xA1 && input <= 0xDF) {
                    state = AtStart;
                } else if (input >= 0xE0 && input <= 0xFE) {
                    count++;
                    state = AfterLead;
                } else {
                    count++;
                    state = AtStart;
                }
                break;
            default:  // AfterLead
                if (input == 0x8E) {
                    count++;
                    state = AfterSingleShift;
                } else if (input >= 0xA1 && input <= 0xFE) {
                    state = AtStart;
                } else {
                    count++;
                    state = AtStart;
                }
                break;
        }
        return count;
    }
};

// Shift-JIS: ASCII, half-width katakana 0xA1-0xDF, and a lead byte (0x81-0x9F,
// 0xE0-0xFC) followed by a trail byte (0x40-0x7E, 0x80-0xFC).
class ShiftJisRecognizer final : public CodeRecognizer {
  public:
    enum : std::int32_t { AtStart = 0, AfterLead = 1 };

    std::int32_t Feed(std::int32_t input) override {
        if (input < 0) {
            if (state != AtStart) count++;
            return count;
        }
        auto b = static_cast<unsigned char>(input);
        if (state == AtStart) {
            // One branch per byte range. NOLINTBEGIN(bugprone-branch-clone)
            if (input == kEsc) {
                count++;
            } else if (IsShiftJisLeadByte(b)) {
                state = AfterLead;
            } else if (input == 0x80 || input == 0xA0 || input >= 0xFD) {
                count++;
            }
            // NOLINTEND(bugprone-branch-clone)
        } else {
            if (!IsShiftJisTrailByte(b)) count++;
            state = AtStart;
        }
        return count;
    }
};

// ISO-2022-JP: 7-bit text (8-bit half-width katakana 0xA1-0xDF tolerated)
// with escape sequences of the shapes ESC H, ESC K and ESC {$ or (} {@ B J}.
// Only the shape of an escape sequence is checked, not the shift state.
class Iso2022JpRecognizer final : public CodeRecognizer {
  public:
    enum : std::int32_t { InText = 0, AfterEsc = 1, AfterIntermediate = 2 };

    std::int32_t Feed(std::int32_t input) override {
        if (input < 0) {
            if (state != InText) count++;
            return count;
        }
        switch (state) {
            case InText:
                if (input == kEsc) {
                    state = AfterEsc;
                } else if (input >= 0x80 && !(input >= 0xA1 && input <= 0xDF)) {
                    count++;
                }
                break;
            case AfterEsc:
                if (input == 0x48 || input == 0x4B) {  // ESC H, ESC K
                    state = InText;
                } else if (input == 0x24 || input == 0x28) {  // ESC $, ESC (
                    state = AfterIntermediate;
                } else if (input == kEsc) {
                    count++;
                } else {
                    count++;
                    state = InText;
                }
                break;
            default:                                                    // AfterIntermediate
                if (input == 0x40 || input == 0x42 || input == 0x4A) {  // @, B, J
                    state = InText;
                } else if (input == kEsc) {
                    count++;
                    state = AfterEsc;
                } else {
                    count++;
                    state = InText;
                }
                break;
        }
        return count;
    }
};

// Well-formed UTF-8 (RFC 3629): no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut off by the end. A text that passes and holds a
// byte of 0x80 or above is UTF-8, whatever the older rules would say of it.
class Utf8Recognizer final : public CodeRecognizer {
  public:
    // The states name what the next byte must be.
    enum : std::int32_t {
        AtStart = 0,
        Need1 = 1,    // one more continuation byte 0x80-0xBF
        Need2 = 2,    // two more
        Need3 = 3,    // three more
        AfterE0 = 4,  // 0xA0-0xBF (shorter forms would be overlong), then one more
        AfterED = 5,  // 0x80-0x9F (0xA0 and up would be surrogates), then one more
        AfterF0 = 6,  // 0x90-0xBF (overlong below), then two more
        AfterF4 = 7,  // 0x80-0x8F (above U+10FFFF beyond), then two more
    };

    bool nonAscii = false;  // a byte of 0x80 or above was fed

    std::int32_t Feed(std::int32_t input) override {
        if (input < 0) {
            if (state != AtStart) count++;
            return count;
        }
        if (input >= 0x80) nonAscii = true;
        if (state != AtStart) {
            int low = 0x80;
            int high = 0xBF;
            int next = AtStart;
            switch (state) {
                case Need1:
                    next = AtStart;
                    break;
                case Need2:
                    next = Need1;
                    break;
                case Need3:
                    next = Need2;
                    break;
                case AfterE0:
                    low = 0xA0;
                    next = Need1;
                    break;
                case AfterED:
                    high = 0x9F;
                    next = Need1;
                    break;
                case AfterF0:
                    low = 0x90;
                    next = Need2;
                    break;
                default:
                    high = 0x8F;
                    next = Need2;
                    break;  // AfterF4
            }
            if (input >= low && input <= high) {
                state = next;
                return count;
            }
            // The sequence is cut short: that is one violation, and the byte
            // starts afresh.
            count++;
            state = AtStart;
        }
        // One branch per lead-byte range. NOLINTBEGIN(bugprone-branch-clone)
        if (input < 0x80) {
            // ASCII
        } else if (input < 0xC2) {  // 0x80-0xBF stray continuation, 0xC0-0xC1 overlong
            count++;
        } else if (input < 0xE0) {  // 0xC2-0xDF
            state = Need1;
        } else if (input == 0xE0) {
            state = AfterE0;
        } else if (input == 0xED) {
            state = AfterED;
        } else if (input < 0xF0) {  // 0xE1-0xEC, 0xEE-0xEF
            state = Need2;
        } else if (input == 0xF0) {
            state = AfterF0;
        } else if (input < 0xF4) {  // 0xF1-0xF3
            state = Need3;
        } else if (input == 0xF4) {
            state = AfterF4;
        } else {  // 0xF5-0xFF
            count++;
        }
        // NOLINTEND(bugprone-branch-clone)
        return count;
    }
};
