#include "ui/dialog_template.h"

#include <cstdlib>

namespace {

// Walks the layout of a template one 16-bit word at a time. Without a block
// it only counts, so the same walk both measures and writes: the two passes
// cannot disagree about the size.
class WordWriter {
  public:
    explicit WordWriter(unsigned char* block) : block_(block) {}

    std::uint32_t count() const { return count_; }

    void Word(std::uint16_t value) {
        if (block_ != nullptr) {
            std::size_t at = 2 * static_cast<std::size_t>(count_);
            block_[at] = static_cast<unsigned char>(value & 0xFF);
            block_[at + 1] = static_cast<unsigned char>(value >> 8);
        }
        count_++;
    }
    void Long(std::uint32_t value) {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        Word(static_cast<std::uint16_t>(value >> 16));
    }
    void Short(std::int16_t value) { Word(static_cast<std::uint16_t>(value)); }

    // The string with its terminating zero word.
    void String(DialogName text) {
        for (; *text != 0; text++) Word(static_cast<std::uint16_t>(*text));
        Word(0);
    }
    // 0xFFFF and the ordinal, or the string.
    void OrdinalOrString(DialogName name) {
        if (IsDialogOrdinal(name)) {
            Word(0xFFFF);
            Word(static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(name)));
        } else {
            String(name);
        }
    }
    // A single zero word for 0, else as above (menus, dialog classes, item texts).
    void OptionalName(DialogName name) {
        if (name == nullptr) {
            Word(0);
        } else {
            OrdinalOrString(name);
        }
    }
    // Headers must start on 4-byte boundaries.
    void AlignToLong() {
        if (count_ % 2 != 0) Word(0);
    }

  private:
    unsigned char* block_;
    std::uint32_t count_ = 0;
};

void WriteHeader(WordWriter& out, const DialogLayout& dialog) {
    out.Long(dialog.style);
    out.Long(dialog.extendedStyle);
    out.Word(dialog.itemCount);
    out.Short(dialog.x);
    out.Short(dialog.y);
    out.Short(dialog.width);
    out.Short(dialog.height);
    out.OptionalName(dialog.menu);
    out.OptionalName(dialog.className);
    // The caption is always a string: the format has no ordinal form for it.
    out.String(dialog.title != nullptr ? dialog.title : u"");
    // The short font form: no weight, italic or character set.
    if (dialog.faceName != nullptr) {
        out.Word(dialog.pointSize);
        out.String(dialog.faceName);
    }
    out.AlignToLong();
}

void WriteItem(WordWriter& out, const DialogItemLayout& item) {
    out.Long(item.style | kDialogItemChildStyle);
    out.Long(item.extendedStyle);
    out.Short(item.x);
    out.Short(item.y);
    out.Short(item.width);
    out.Short(item.height);
    out.Word(item.id);
    out.OrdinalOrString(item.className);
    out.OptionalName(item.title);
    out.Word(0);  // no creation data
    out.AlignToLong();
}

std::uint32_t WriteTemplate(unsigned char* block, const DialogLayout& dialog,
                            const DialogItemLayout* items) {
    WordWriter out(block);
    WriteHeader(out, dialog);
    for (std::uint16_t i = 0; i < dialog.itemCount; i++) WriteItem(out, items[i]);
    return out.count();
}

}  // namespace

void* BuildDialogTemplate(const DialogLayout& dialog, const DialogItemLayout* items,
                          std::uint32_t* templateSize) {
    std::uint32_t words = WriteTemplate(nullptr, dialog, items);
    // Every field is written by the second pass: no clearing needed.
    auto* block = static_cast<unsigned char*>(std::malloc(2 * static_cast<std::size_t>(words)));
    if (block == nullptr) return nullptr;
    WriteTemplate(block, dialog, items);
    if (templateSize != nullptr) *templateSize = 2 * words;
    return block;
}

bool FreeDialogTemplate(void* block) {
    std::free(block);
    return true;
}
