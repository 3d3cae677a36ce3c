#pragma once

// Linux input methods and many web pages write seven characters with other code points than Windows input
// methods do for the same JIS X 0208 position. Code page 932 holds only the Windows form, so the other form
// is stored at the same position. Plain C++, applied before any platform conversion.
namespace sjis {

// The code point code page 932 holds at the JIS position of c; c itself for every other character.
constexpr char16_t StoredFormOf(char16_t c) {
    switch (c) {
        case u'\u301C':
            return u'\uFF5E';  // WAVE DASH -> FULLWIDTH TILDE, 0x8160
        case u'\u2212':
            return u'\uFF0D';  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS, 0x817C
        case u'\u2016':
            return u'\u2225';  // DOUBLE VERTICAL LINE -> PARALLEL TO, 0x8161
        case u'\u00A2':
            return u'\uFFE0';  // CENT SIGN -> FULLWIDTH CENT SIGN, 0x8191
        case u'\u00A3':
            return u'\uFFE1';  // POUND SIGN -> FULLWIDTH POUND SIGN, 0x8192
        case u'\u00AC':
            return u'\uFFE2';  // NOT SIGN -> FULLWIDTH NOT SIGN, 0x81CA
        case u'\u2014':
            return u'\u2015';  // EM DASH -> HORIZONTAL BAR, 0x815C
        default:
            return c;
    }
}

}  // namespace sjis
