// The settings file as text: read from its bytes on any system locale,
// looked up as the profile functions look it up, edited so that everything
// the program does not set stays as it was, and written back in code page
// 932, which every version of the program reads, whenever its text fits;
// in UTF-16 otherwise.
#pragma once

#include <optional>
#include <string>
#include <vector>

enum class IniEncoding {
    Cp932,  // Shift-JIS as Windows' code page 932 maps it: what the file always was
    Utf16,  // UTF-16 LE after the byte-order mark FF FE
};

class IniText {
  public:
    // The text of a file's bytes: UTF-16 LE when they start with FF FE, code
    // page 932 otherwise (by the engine's own table, whatever the system's
    // code page). No bytes give an empty text.
    explicit IniText(const std::string& bytes = std::string());

    // The value of the key in the section, as GetPrivateProfileString gives
    // it: the first section of that name, the key's first line in it; names
    // compared without regard to the case of ASCII letters; blanks around
    // the key and the value dropped; one pair of matching quotes around the
    // value dropped. False when the key is missing.
    bool Find(const std::u16string& section, const std::u16string& key,
              std::u16string* value) const;
    // Makes the key read as the value: its first line in the section is
    // replaced where it stands; without one, a line is added after the
    // section's last line; without the section, the section is added at
    // the end. Every other line stays as it was, in its place.
    void Set(const std::u16string& section, const std::u16string& key, const std::u16string& value);

    // Code page 932 when every character has a cell there that reads back as
    // the same character; UTF-16 otherwise.
    IniEncoding Encoding() const;
    // The file's bytes in that encoding. In code page 932, the lines the
    // program did not set keep the bytes they were read from.
    std::string Bytes() const;

  private:
    struct Line {
        std::u16string text;                // without its line end
        std::u16string end;                 // "\r\n", "\n", or nothing on a last line
        std::optional<std::string> stored;  // code page 932 bytes as read, text and end
    };
    struct Place;
    Place Locate(const std::u16string& section, const std::u16string& key) const;
    // The line end the file uses (its first line's), CR LF when it has none.
    std::u16string LineEnd() const;
    // Puts a line at the position, first ending the line before it when that
    // was the file's last line and had no end.
    void InsertLine(std::size_t position, const std::u16string& text);
    // The file in code page 932; false when a character does not fit, or when
    // the bytes would be taken for UTF-16.
    bool Cp932Bytes(std::string* bytes) const;

    std::vector<Line> lines_;
};
