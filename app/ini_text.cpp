#include "app/ini_text.h"

#include <cstdint>

#include "engine/cp932_table.h"
#include "util/text.h"

namespace {

constexpr char16_t kReplacement = u'\xFFFD';

bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// One line's code page 932 bytes as text. A byte that starts no character
// (a lead byte without its second byte, a cell with no character) reads as
// U+FFFD; the line's own bytes are kept, so it is written back as it was.
std::u16string DecodeCp932(const std::string& bytes) {
    std::u16string text;
    for (std::size_t i = 0; i < bytes.size(); i++) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            text += static_cast<char16_t>(b);
            continue;
        }
        std::int32_t c = kNoCell;
        if (IsShiftJisLeadByte(b) && i + 1 < bytes.size()) {
            c = Cp932ToUnicode(static_cast<std::uint32_t>(b) << 8 |
                               static_cast<unsigned char>(bytes[i + 1]));
            if (c != kNoCell) i++;
        } else {
            c = Cp932ToUnicode(b);
        }
        text += c == kNoCell ? kReplacement : static_cast<char16_t>(c);
    }
    return text;
}

// The text in code page 932, or false when a character has no cell that reads
// back as that very character: U+301C has a cell, but it reads back as U+FF5E,
// so a path holding it would come back as another path.
bool EncodeCp932(const std::u16string& text, std::string* bytes) {
    for (char16_t c : text) {
        if (c < 0x80) {
            *bytes += static_cast<char>(c);
            continue;
        }
        if (IsSurrogate(c)) return false;
        std::int32_t code = UnicodeToCp932(c);
        if (code == kNoCell || Cp932ToUnicode(static_cast<std::uint32_t>(code)) != c) return false;
        if (code > 0xFF) *bytes += static_cast<char>(code >> 8);
        *bytes += static_cast<char>(code & 0xFF);
    }
    return true;
}

void AppendUtf16(const std::u16string& text, std::string* bytes) {
    for (char16_t c : text) {
        *bytes += static_cast<char>(c & 0xFF);
        *bytes += static_cast<char>(c >> 8);
    }
}

// The blanks the profile functions drop around names and values.
bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

std::u16string Trimmed(const std::u16string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first])) first++;
    while (last > first && IsBlank(text[last - 1])) last--;
    return text.substr(first, last - first);
}

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

bool NamesEqual(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); i++) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

bool IsQuote(char16_t c) { return c == u'"' || c == u'\''; }

// What a line is to the profile functions. Blanks around it do not count.
struct Parsed {
    enum Kind { Other, Header, Entry } kind = Other;
    std::u16string name;   // the section's, or the key's
    std::u16string value;  // an entry's, as it reads
};

Parsed Parse(const std::u16string& line) {
    Parsed parsed;
    std::u16string text = Trimmed(line);
    if (!text.empty() && text[0] == u'[') {
        std::size_t close = text.rfind(u']');
        if (close != std::u16string::npos) {
            parsed.kind = Parsed::Header;
            parsed.name = text.substr(1, close - 1);
            return parsed;
        }
    }
    std::size_t sign = text.find(u'=');
    if (sign == std::u16string::npos) return parsed;
    parsed.kind = Parsed::Entry;
    parsed.name = Trimmed(text.substr(0, sign));
    parsed.value = Trimmed(text.substr(sign + 1));
    std::u16string& v = parsed.value;
    if (v.size() >= 2 && IsQuote(v.front()) && v.back() == v.front()) v = v.substr(1, v.size() - 2);
    return parsed;
}

// The value as it is written so that it reads back as itself: in quotes when
// blanks at its ends would be dropped, or quotes at its ends taken away.
std::u16string Written(const std::u16string& value) {
    bool quoted = !value.empty() &&
                  (IsBlank(value.front()) || IsBlank(value.back()) ||
                   (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()));
    return quoted ? u"\"" + value + u"\"" : value;
}

}  // namespace

struct IniText::Place {
    bool sectionFound = false;
    std::size_t lastSectionLine = 0;  // its header, or its last line that is not blank
    bool keyFound = false;
    std::size_t keyLine = 0;
    std::u16string value;
};

IniText::IniText(const std::string& bytes) {
    bool utf16 = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    if (utf16) {
        std::u16string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8);
        }
        for (std::size_t start = 0; start < text.size();) {
            std::size_t next = text.find(u'\n', start);
            next = next == std::u16string::npos ? text.size() : next + 1;
            lines_.push_back({text.substr(start, next - start), u"", std::nullopt});
            start = next;
        }
    } else {
        // A line feed is never the second byte of a double-byte character.
        for (std::size_t start = 0; start < bytes.size();) {
            std::size_t next = bytes.find('\n', start);
            next = next == std::string::npos ? bytes.size() : next + 1;
            std::string stored = bytes.substr(start, next - start);
            lines_.push_back({DecodeCp932(stored), u"", stored});
            start = next;
        }
    }
    for (Line& line : lines_) {
        std::u16string& text = line.text;
        std::size_t endLength = 0;
        if (!text.empty() && text.back() == u'\n') {
            endLength = text.size() >= 2 && text[text.size() - 2] == u'\r' ? 2 : 1;
        }
        line.end = text.substr(text.size() - endLength);
        text.resize(text.size() - endLength);
    }
}

IniText::Place IniText::Locate(const std::u16string& section, const std::u16string& key) const {
    Place place;
    for (std::size_t i = 0; i < lines_.size(); i++) {
        Parsed parsed = Parse(lines_[i].text);
        if (parsed.kind == Parsed::Header) {
            // Only the first section of the name counts, as for the profile functions.
            if (place.sectionFound) break;
            if (!NamesEqual(parsed.name, section)) continue;
            place.sectionFound = true;
            place.lastSectionLine = i;
            continue;
        }
        if (!place.sectionFound) continue;
        if (!Trimmed(lines_[i].text).empty()) place.lastSectionLine = i;
        if (parsed.kind == Parsed::Entry && NamesEqual(parsed.name, key)) {
            place.keyFound = true;
            place.keyLine = i;
            place.value = parsed.value;
            break;
        }
    }
    return place;
}

bool IniText::Find(const std::u16string& section, const std::u16string& key,
                   std::u16string* value) const {
    Place place = Locate(section, key);
    if (place.keyFound) *value = place.value;
    return place.keyFound;
}

std::u16string IniText::LineEnd() const {
    for (const Line& line : lines_) {
        if (!line.end.empty()) return line.end;
    }
    return u"\r\n";
}

void IniText::InsertLine(std::size_t position, const std::u16string& text) {
    std::u16string end = LineEnd();
    if (position > 0 && lines_[position - 1].end.empty()) {
        Line& before = lines_[position - 1];
        before.end = end;
        if (before.stored) EncodeCp932(end, &*before.stored);
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position),
                  {text, end, std::nullopt});
}

void IniText::Set(const std::u16string& section, const std::u16string& key,
                  const std::u16string& value) {
    std::u16string entry = key + u"=" + Written(value);
    Place place = Locate(section, key);
    if (place.keyFound) {
        Line& line = lines_[place.keyLine];
        line.text = entry;
        line.stored.reset();
    } else if (place.sectionFound) {
        InsertLine(place.lastSectionLine + 1, entry);
    } else {
        InsertLine(lines_.size(), u"[" + section + u"]");
        InsertLine(lines_.size(), entry);
    }
}

bool IniText::Cp932Bytes(std::string* bytes) const {
    for (const Line& line : lines_) {
        if (line.stored) {
            *bytes += *line.stored;
        } else if (!EncodeCp932(line.text + line.end, bytes)) {
            return false;
        }
    }
    // Text that starts with U+F8F3 U+F8F2 would start with the byte-order
    // mark, and be read back as UTF-16.
    return bytes->compare(0, 2, "\xFF\xFE") != 0;
}

IniEncoding IniText::Encoding() const {
    std::string bytes;
    return Cp932Bytes(&bytes) ? IniEncoding::Cp932 : IniEncoding::Utf16;
}

std::string IniText::Bytes() const {
    std::string bytes;
    if (Cp932Bytes(&bytes)) return bytes;
    bytes = "\xFF\xFE";
    for (const Line& line : lines_) AppendUtf16(line.text + line.end, &bytes);
    return bytes;
}
