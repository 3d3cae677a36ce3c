#include "data/utf.h"

namespace utf {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The code point at offset and its byte length; an invalid sequence is one U+FFFD of length 1.
std::pair<char32_t, std::size_t> decodeAt(std::string_view bytes, std::size_t offset) {
    const auto lead = static_cast<unsigned char>(bytes[offset]);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return {kReplacement, 1};
    }
    if (offset + length > bytes.size()) {
        return {kReplacement, 1};
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[offset + i]);
        if ((next & 0xC0) != 0x80) {
            return {kReplacement, 1};
        }
        value = value << 6 | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return {kReplacement, 1};
    }
    return {value, length};
}

}  // namespace

std::u16string toUtf16(std::string_view utf8) {
    std::u16string result;
    result.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto [codePoint, length] = decodeAt(utf8, i);
        i += length;
        if (codePoint < 0x10000) {
            result += static_cast<char16_t>(codePoint);
        } else {
            const char32_t offset = codePoint - 0x10000;
            result += static_cast<char16_t>(0xD800 + (offset >> 10));
            result += static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        }
    }
    return result;
}

CodePoint codePointAt(std::u16string_view utf16, std::size_t offset) {
    const char32_t unit = utf16[offset];
    if (unit >= 0xD800 && unit <= 0xDBFF && offset + 1 < utf16.size() && utf16[offset + 1] >= 0xDC00 &&
        utf16[offset + 1] <= 0xDFFF) {
        return {0x10000 + ((unit - 0xD800) << 10) + (utf16[offset + 1] - 0xDC00), 2};
    }
    return {unit, 1};
}

std::u32string toCodePoints(std::u16string_view utf16) {
    std::u32string codePoints;
    for (std::size_t offset = 0; offset < utf16.size();) {
        const CodePoint character = codePointAt(utf16, offset);
        codePoints.push_back(character.value);
        offset += character.length;
    }
    return codePoints;
}

std::string toUtf8(std::u16string_view utf16) {
    std::string result;
    result.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size();) {
        const CodePoint character = codePointAt(utf16, i);
        i += character.length;
        const char32_t codePoint =
            character.value >= 0xD800 && character.value <= 0xDFFF ? kReplacement : character.value;
        if (codePoint < 0x80) {
            result += static_cast<char>(codePoint);
        } else if (codePoint < 0x800) {
            result += static_cast<char>(0xC0 | codePoint >> 6);
            result += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else if (codePoint < 0x10000) {
            result += static_cast<char>(0xE0 | codePoint >> 12);
            result += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
            result += static_cast<char>(0x80 | (codePoint & 0x3F));
        } else {
            result += static_cast<char>(0xF0 | codePoint >> 18);
            result += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
            result += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
            result += static_cast<char>(0x80 | (codePoint & 0x3F));
        }
    }
    return result;
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto [codePoint, length] = decodeAt(bytes, i);
        // A U+FFFD of length 1 is a broken byte; a real U+FFFD takes three.
        if (codePoint == kReplacement && length == 1) {
            return false;
        }
        i += length;
    }
    return true;
}

}  // namespace utf
