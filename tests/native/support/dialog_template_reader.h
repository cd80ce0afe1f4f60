// Reads a dialog template block back, word by word, the way the dialog
// manager parses it, and keeps every field and its word position, so that
// tests can check both the values and the layout (alignment, padding words).
// Written from the published template format, independently of the builder.
// Used by the native tests and the template fuzz target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ReadName {
    bool isOrdinal = false;
    std::uint16_t ordinal = 0;
    std::u16string text;   // for a string; empty for an empty form
    bool isEmpty = false;  // the single zero word
};

struct ReadItem {
    std::uint32_t startWord = 0;
    std::uint32_t style = 0, extendedStyle = 0;
    std::int16_t x = 0, y = 0, width = 0, height = 0;
    std::uint16_t id = 0;
    ReadName className, title;
    std::uint16_t creationDataWords = 0xFFFF;
};

struct ReadTemplate {
    bool ok = false;  // false: the block ended inside a field or a padding word was not zero
    std::uint32_t style = 0, extendedStyle = 0;
    std::uint16_t itemCount = 0;
    std::int16_t x = 0, y = 0, width = 0, height = 0;
    ReadName menu, className;
    std::u16string title;
    bool hasFont = false;
    std::uint16_t pointSize = 0;
    std::u16string faceName;
    std::uint32_t headerWords = 0;  // up to the first item, padding included
    std::vector<ReadItem> items;
    std::uint32_t endWord = 0;  // where the last item ended, padding included
};

class TemplateReader {
  public:
    TemplateReader(const void* block, std::uint32_t bytes)
        : bytes_(static_cast<const unsigned char*>(block)), words_(bytes / 2) {}

    // hasFontFields says whether the header's style asked for a font
    // (DS_SETFONT), as the dialog manager decides it.
    ReadTemplate Read(bool hasFontFields) {
        ReadTemplate t;
        t.style = Long();
        t.extendedStyle = Long();
        t.itemCount = Word();
        t.x = static_cast<std::int16_t>(Word());
        t.y = static_cast<std::int16_t>(Word());
        t.width = static_cast<std::int16_t>(Word());
        t.height = static_cast<std::int16_t>(Word());
        t.menu = Name(true);
        t.className = Name(true);
        t.title = String();
        t.hasFont = hasFontFields;
        if (hasFontFields) {
            t.pointSize = Word();
            t.faceName = String();
        }
        Pad();
        t.headerWords = at_;
        for (std::uint16_t i = 0; i < t.itemCount && !failed_; i++) {
            ReadItem item;
            item.startWord = at_;
            item.style = Long();
            item.extendedStyle = Long();
            item.x = static_cast<std::int16_t>(Word());
            item.y = static_cast<std::int16_t>(Word());
            item.width = static_cast<std::int16_t>(Word());
            item.height = static_cast<std::int16_t>(Word());
            item.id = Word();
            item.className = Name(false);
            item.title = Name(true);
            item.creationDataWords = Word();
            Pad();
            t.items.push_back(item);
        }
        t.endWord = at_;
        t.ok = !failed_;
        return t;
    }

  private:
    std::uint16_t Word() {
        if (at_ >= words_) {
            failed_ = true;
            return 0;
        }
        std::uint16_t w = static_cast<std::uint16_t>(bytes_[2 * at_] | (bytes_[2 * at_ + 1] << 8));
        at_++;
        return w;
    }
    std::uint32_t Long() {
        std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
    std::u16string String() {
        std::u16string s;
        for (std::uint16_t w = Word(); w != 0 && !failed_; w = Word()) s.push_back(w);
        return s;
    }
    ReadName Name(bool mayBeEmpty) {
        ReadName n;
        std::uint16_t first = Word();
        if (first == 0xFFFF) {
            n.isOrdinal = true;
            n.ordinal = Word();
        } else if (first == 0 && mayBeEmpty) {
            n.isEmpty = true;
        } else if (first != 0) {
            n.text.push_back(first);
            n.text += String();
        } else {
            failed_ = true;  // an item class has no empty form
        }
        return n;
    }
    void Pad() {
        if (at_ % 2 != 0 && Word() != 0) failed_ = true;
    }

    const unsigned char* bytes_;
    std::uint32_t words_;
    std::uint32_t at_ = 0;
    bool failed_ = false;
};
