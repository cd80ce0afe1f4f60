// Dialog templates assembled at run time, for a dialog whose layout is not
// in the resources: a plain description of the dialog and of its items
// becomes one heap block in the published Win32 format (a DLGTEMPLATE header
// followed by DLGITEMTEMPLATE entries) that DialogBoxIndirectParam accepts.
// Portable: the block is built byte by byte, little-endian, so it can be
// checked without a window system.
#pragma once

#include <cstdint>

// A name field that is either a zero-terminated UTF-16 string or a 16-bit
// ordinal smuggled in a pointer, as MAKEINTRESOURCE does: a value whose bits
// above the low 16 are zero is an ordinal (0 has a meaning of its own in
// each field), so a string must live at an address above 65535.
using DialogName = const char16_t*;

inline DialogName DialogOrdinal(std::uint16_t ordinal) {
    return reinterpret_cast<DialogName>(static_cast<std::uintptr_t>(ordinal));
}
inline bool IsDialogOrdinal(DialogName name) {
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

// The predefined control classes, written as ordinals.
constexpr std::uint16_t kButtonClassOrdinal = 0x0080;
constexpr std::uint16_t kStaticClassOrdinal = 0x0082;

// The dialog itself: its styles, its place and size in dialog units, its
// class, caption, menu and font, and how many items follow.
struct DialogLayout {
    // The header, copied field by field.
    std::uint32_t style;  // include DS_SETFONT when faceName is given
    std::uint32_t extendedStyle;
    std::uint16_t itemCount;
    std::int16_t x;
    std::int16_t y;
    std::int16_t width;
    std::int16_t height;
    DialogName className;  // 0: the default dialog class
    DialogName title;      // null: an empty caption; never an ordinal
    DialogName menu;       // 0: no menu
    DialogName faceName;   // null: no font fields at all
    std::uint16_t pointSize;
};

// One control of the dialog: its class, text, styles, place and size in
// dialog units, and id.
struct DialogItemLayout {
    DialogName className;  // an ordinal (kButtonClassOrdinal ...) or a string
    DialogName title;      // 0: empty; an ordinal (an icon id, say); or a string
    // The rest is copied field by field; WS_CHILD is always added to style.
    std::uint32_t style;
    std::uint32_t extendedStyle;
    std::int16_t x;
    std::int16_t y;
    std::int16_t width;
    std::int16_t height;
    std::uint16_t id;
};

// WS_CHILD, which every item of a dialog is.
constexpr std::uint32_t kDialogItemChildStyle = 0x40000000;

// One heap block holding the template for the dialog and its dialog.itemCount
// items; null when the heap cannot supply it. The block starts on the
// heap's alignment, and its size (templateSize, when given) is a multiple
// of 4 bytes. Release it with FreeDialogTemplate.
void* BuildDialogTemplate(const DialogLayout& dialog, const DialogItemLayout* items,
                          std::uint32_t* templateSize = nullptr);
bool FreeDialogTemplate(void* block);
