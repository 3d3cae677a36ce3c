#include "data/char_width.h"

#include "data/sjis.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

using Code = std::uint16_t;  // a double-byte character of code page 932, lead byte first

// The full-width forms of ASCII 0x20..0x7E, in order; the quotes are the closing ones an input method gives.
constexpr std::array<Code, 95> kFullAscii{
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169, 0x816A, 0x8196, 0x817B,
    0x8143, 0x817C, 0x8144, 0x815E, 0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197, 0x8260, 0x8261, 0x8262,
    0x8263, 0x8264, 0x8265, 0x8266, 0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E,
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279, 0x816D,
    0x815F, 0x816E, 0x814F, 0x8151, 0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F, 0x8290, 0x8291, 0x8292, 0x8293,
    0x8294, 0x8295, 0x8296, 0x8297, 0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8160};

// The full-width forms of the half-width katakana and marks 0xA1..0xDF, in order (。「」、・ヲァ...ン゛゜).
constexpr std::array<Code, 63> kFullKana{
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385,
    0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E, 0x8350, 0x8352,
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B,
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384,
    0x8386, 0x8388, 0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B};
constexpr unsigned char kFirstHalfKana = 0xA1;
constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

struct Marked {
    unsigned char base;  // the half-width kana
    Code full;           // the full-width kana with the mark
};
// ヴ ガ..ド バ..ボ, and パ..ポ: the kana that take a mark and have a character of their own with it.
constexpr std::array<Marked, 21> kVoiced{
    {{0xB3, 0x8394}, {0xB6, 0x834B}, {0xB7, 0x834D}, {0xB8, 0x834F}, {0xB9, 0x8351}, {0xBA, 0x8353},
     {0xBB, 0x8355}, {0xBC, 0x8357}, {0xBD, 0x8359}, {0xBE, 0x835B}, {0xBF, 0x835D}, {0xC0, 0x835F},
     {0xC1, 0x8361}, {0xC2, 0x8364}, {0xC3, 0x8366}, {0xC4, 0x8368}, {0xCA, 0x836F}, {0xCB, 0x8372},
     {0xCC, 0x8375}, {0xCD, 0x8378}, {0xCE, 0x837B}}};
constexpr std::array<Marked, 5> kSemiVoiced{
    {{0xCA, 0x8370}, {0xCB, 0x8373}, {0xCC, 0x8376}, {0xCD, 0x8379}, {0xCE, 0x837C}}};

// Hyphen-like characters of a number: － and ‐ always, ー and ― only after a digit.
constexpr Code kHyphen = 0x815D;
constexpr Code kLongVowel = 0x815B;
constexpr Code kHorizontalBar = 0x815C;

void append(std::string& text, Code code) {
    text += static_cast<char>(code >> 8);
    text += static_cast<char>(code & 0xFF);
}

template <std::size_t N>
std::optional<std::size_t> indexOf(const std::array<Code, N>& table, Code code) {
    const auto found = std::find(table.begin(), table.end(), code);
    return found == table.end() ? std::nullopt
                                : std::optional(static_cast<std::size_t>(found - table.begin()));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

namespace width {

std::string toHalfWidth(std::string_view sjis, bool katakana) {
    std::string half;
    for (std::size_t i = 0; i < sjis.size();) {
        const std::size_t length = sjis::charLengthAt(sjis, i);
        if (length != 2) {
            half += sjis[i++];
            continue;
        }
        const Code code = static_cast<Code>(static_cast<unsigned char>(sjis[i]) << 8 |
                                            static_cast<unsigned char>(sjis[i + 1]));
        i += 2;
        const bool afterDigit = !half.empty() && isDigit(half.back());
        if (const auto ascii = indexOf(kFullAscii, code)) {
            half += static_cast<char>(0x20 + *ascii);
        } else if (code == kHyphen || ((code == kLongVowel || code == kHorizontalBar) && afterDigit)) {
            half += '-';
        } else if (!katakana) {
            append(half, code);
        } else if (const auto kana = indexOf(kFullKana, code)) {
            half += static_cast<char>(kFirstHalfKana + *kana);
        } else if (const auto voiced = std::find_if(kVoiced.begin(), kVoiced.end(),
                                                    [code](const Marked& m) { return m.full == code; });
                   voiced != kVoiced.end()) {
            half += static_cast<char>(voiced->base);
            half += static_cast<char>(kVoicedMark);
        } else if (const auto semi = std::find_if(kSemiVoiced.begin(), kSemiVoiced.end(),
                                                  [code](const Marked& m) { return m.full == code; });
                   semi != kSemiVoiced.end()) {
            half += static_cast<char>(semi->base);
            half += static_cast<char>(kSemiVoicedMark);
        } else {
            append(half, code);
        }
    }
    return half;
}

std::string toFullWidth(std::string_view sjis, bool katakana) {
    std::string full;
    for (std::size_t i = 0; i < sjis.size();) {
        const std::size_t length = sjis::charLengthAt(sjis, i);
        const auto byte = static_cast<unsigned char>(sjis[i]);
        if (length == 2) {
            full.append(sjis.substr(i, 2));
            i += 2;
            continue;
        }
        ++i;
        if (byte >= 0x20 && byte <= 0x7E) {
            append(full, kFullAscii[byte - 0x20]);
            continue;
        }
        if (!katakana || byte < kFirstHalfKana || byte > kSemiVoicedMark) {
            full += static_cast<char>(byte);
            continue;
        }
        const unsigned char next = i < sjis.size() ? static_cast<unsigned char>(sjis[i]) : 0;
        const auto withMark = [&](const auto& table) {
            return std::find_if(table.begin(), table.end(),
                                [byte](const Marked& m) { return m.base == byte; });
        };
        if (next == kVoicedMark) {
            if (const auto found = withMark(kVoiced); found != kVoiced.end()) {
                append(full, found->full);
                ++i;
                continue;
            }
        } else if (next == kSemiVoicedMark) {
            if (const auto found = withMark(kSemiVoiced); found != kSemiVoiced.end()) {
                append(full, found->full);
                ++i;
                continue;
            }
        }
        append(full, kFullKana[byte - kFirstHalfKana]);
    }
    return full;
}

}  // namespace width
