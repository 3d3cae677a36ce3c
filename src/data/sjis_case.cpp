#include "data/sjis_case.h"

#include "data/sjis.h"

namespace sjis {

namespace {

// A double-byte capital's code, with its small letter's code for the lower case; other codes unchanged.
// The capital and small ranges of each alphabet lie at a fixed distance in the code table.
unsigned foldDoubleByte(unsigned code) {
    struct Alphabet {
        unsigned firstCapital, lastCapital, toSmall;
    };
    static constexpr Alphabet kAlphabets[] = {
        {0x8260, 0x8279, 0x21},  // Ａ..Ｚ → ａ..ｚ
        {0x839F, 0x83B6, 0x20},  // Α..Ω → α..ω
        {0x8440, 0x844E, 0x30},  // А..Н → а..н
        {0x844F, 0x8460, 0x31},  // О..Я → о..я (the small letters skip 0x847F, which no character uses)
    };
    for (const Alphabet& alphabet : kAlphabets) {
        if (code >= alphabet.firstCapital && code <= alphabet.lastCapital) {
            return code + alphabet.toSmall;
        }
    }
    return code;
}

unsigned char foldSingleByte(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const std::size_t lengthA = charLengthAt(a, i);
        const std::size_t lengthB = charLengthAt(b, j);
        if (lengthA != lengthB) {
            return false;
        }
        const auto byteA = static_cast<unsigned char>(a[i]);
        const auto byteB = static_cast<unsigned char>(b[j]);
        if (lengthA == 1) {
            if (foldSingleByte(byteA) != foldSingleByte(byteB)) {
                return false;
            }
        } else {
            const unsigned codeA = byteA << 8 | static_cast<unsigned char>(a[i + 1]);
            const unsigned codeB = byteB << 8 | static_cast<unsigned char>(b[j + 1]);
            if (foldDoubleByte(codeA) != foldDoubleByte(codeB)) {
                return false;
            }
        }
        i += lengthA;
        j += lengthB;
    }
    return i == a.size() && j == b.size();
}

}  // namespace sjis
