#include "engine/cp932_table.h"

#include "engine/conversion.h"
#include "engine/mappers.h"
#include "engine/utf8.h"

namespace {

struct Cp932Cell {
    std::uint16_t code;
    std::uint16_t codePoint;
};

constexpr Cp932Cell kCells[] = {
#include "engine/cp932_data.inc"
};

// The forms Unix tools (and JIS X 0208's own mapping) give seven cells whose
// Windows forms differ: accepted on the way in, never written on the way out.
constexpr Cp932Cell kUnixForms[] = {
    {0x8160, 0x301C},  // ～ WAVE DASH (Windows: U+FF5E)
    {0x8161, 0x2016},  // ∥ DOUBLE VERTICAL LINE (Windows: U+2225)
    {0x817C, 0x2212},  // － MINUS SIGN (Windows: U+FF0D)
    {0x8191, 0x00A2},  // ￠ CENT SIGN (Windows: U+FFE0)
    {0x8192, 0x00A3},  // ￡ POUND SIGN (Windows: U+FFE1)
    {0x81CA, 0x00AC},  // ￢ NOT SIGN (Windows: U+FFE2)
    {0x815C, 0x2014},  // ― EM DASH (Windows: U+2015)
};

bool IsLeadByte(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Which of several cells of one code point Windows writes: the lowest rank.
// JIS X 0208 (and the single bytes and the user-defined area, which share no
// code point with another cell) first, then NEC row 13, then the IBM
// extensions, and the NEC-selected IBM extensions last.
int Rank(unsigned code) {
    unsigned lead = code >> 8;
    if (lead == 0x87) return 1;
    if (lead >= 0xFA && lead <= 0xFC) return 2;
    if (lead == 0xED || lead == 0xEE) return 3;
    return 0;
}

// Whether a value is a whole EUC-JP character that the EUC-JP to Shift-JIS
// conversion takes back to the cell it came from.
bool IsEucJpFormOf(std::uint32_t euc, std::uint32_t cell) {
    unsigned first = (euc >> 8) & 0xFF;
    unsigned second = euc & 0xFF;
    bool wellFormed = euc > 0xFFFF ? false
                      : euc < 0x80 ? true
                      : first == 0x8E
                          ? second >= 0xA1 && second <= 0xDF
                          : first >= 0xA1 && first <= 0xFE && second >= 0xA1 && second <= 0xFE;
    return wellFormed &&
           static_cast<std::uint32_t>(EucJpToShiftJis(static_cast<CodeChar>(euc))) == cell;
}

void Fill(Cp932Tables* t) {
    int rows = 0;
    for (unsigned b = 0; b < 256; b++) {
        t->leadRow[b] = static_cast<std::uint8_t>(IsLeadByte(b) ? ++rows : 0);
    }
    // A code point's NEC-selected cell, for the EUC-JP form of its IBM one.
    static std::uint16_t necSelected[0x10000];
    for (const Cp932Cell& cell : kCells) {
        std::uint32_t packed = PackUtf8(cell.codePoint);
        if (cell.code < 0x100) {
            t->singleUtf8[cell.code] = packed;
        } else {
            t->pairUtf8[t->leadRow[cell.code >> 8]][cell.code & 0xFF] = packed;
        }
        if (cell.codePoint < 0x80) continue;
        std::uint16_t& chosen = t->shiftJis[cell.codePoint];
        if (chosen == 0 || Rank(cell.code) < Rank(chosen)) chosen = cell.code;
        if (Rank(cell.code) == 3) necSelected[cell.codePoint] = cell.code;
    }
    for (const Cp932Cell& form : kUnixForms) t->shiftJis[form.codePoint] = form.code;

    for (unsigned first = 0; first < kJisCells; first++) {
        for (unsigned second = 0; second < kJisCells; second++) {
            auto jis = static_cast<CodeChar>((first + 0x21) * 256 + second + 0x21);
            auto cell = static_cast<unsigned>(JisToShiftJis(jis));
            t->jisUtf8[first * kJisCells + second] =
                t->pairUtf8[t->leadRow[cell >> 8]][cell & 0xFF];
        }
    }

    for (std::uint32_t codePoint = 0x80; codePoint < 0x10000; codePoint++) {
        std::uint32_t cell = t->shiftJis[codePoint];
        if (Rank(cell) == 2) cell = necSelected[codePoint];
        if (cell == 0) continue;
        auto euc = static_cast<std::uint32_t>(ShiftJisToEucJp(static_cast<CodeChar>(cell)));
        if (IsEucJpFormOf(euc, cell)) t->eucJp[codePoint] = static_cast<std::uint16_t>(euc);
    }
}

Cp932Tables tables;

std::int32_t FromTable(const std::uint16_t* table, std::uint32_t codePoint) {
    if (codePoint < 0x80) return static_cast<std::int32_t>(codePoint);
    if (codePoint > 0xFFFF || table[codePoint] == 0) return kNoCell;
    return table[codePoint];
}

}  // namespace

const Cp932Tables& Cp932() {
    static const bool built = (Fill(&tables), true);
    static_cast<void>(built);
    return tables;
}

std::int32_t Cp932ToUnicode(std::uint32_t code) {
    const Cp932Tables& t = Cp932();
    std::uint32_t packed = 0;
    if (code < 0x100) {
        packed = t.singleUtf8[code];
    } else if (code <= 0xFFFF) {
        packed = t.pairUtf8[t.leadRow[code >> 8]][code & 0xFF];
    }
    if (packed == 0) return kNoCell;
    unsigned char bytes[4] = {static_cast<unsigned char>(packed),
                              static_cast<unsigned char>(packed >> 8),
                              static_cast<unsigned char>(packed >> 16), 0};
    return DecodeUtf8(bytes, bytes + PackedUtf8Length(packed)).codePoint;
}

std::int32_t UnicodeToCp932(std::uint32_t codePoint) {
    return FromTable(Cp932().shiftJis, codePoint);
}

std::int32_t UnicodeToEucJp(std::uint32_t codePoint) { return FromTable(Cp932().eucJp, codePoint); }
