#include "platform/text_codec.h"

namespace {

constexpr char16_t kReplacementCharacter = u'\uFFFD';

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool isTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// The byte length of the character at offset: 2 for a lead byte with a valid trail byte, 1 otherwise (a
// broken lead byte is then one unreadable character on its own).
std::size_t characterLengthAt(std::string_view bytes, std::size_t offset) {
    const auto byte = static_cast<unsigned char>(bytes[offset]);
    if (isLeadByte(byte) && offset + 1 < bytes.size() &&
        isTrailByte(static_cast<unsigned char>(bytes[offset + 1]))) {
        return 2;
    }
    return 1;
}

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The UTF-16 length of the code point at offset; a surrogate pair counts two.
std::size_t codePointLengthAt(std::u16string_view text, std::size_t offset) {
    return isHighSurrogate(text[offset]) && offset + 1 < text.size() && isLowSurrogate(text[offset + 1]) ? 2
                                                                                                         : 1;
}

}  // namespace

TextCodec::Encoded TextCodec::encode(std::u16string_view text) const {
    if (text.empty()) {
        return {};
    }
    if (const std::optional<std::string> whole = encodeExactly(text)) {
        if (decodeExactly(*whole) == std::u16string(text)) {
            return {*whole, {}};
        }
    }
    // Some character failed: convert one code point at a time to find out which.
    Encoded result;
    for (std::size_t i = 0; i < text.size();) {
        const std::u16string_view codePoint = text.substr(i, codePointLengthAt(text, i));
        i += codePoint.size();
        const bool loneSurrogate =
            codePoint.size() == 1 && (isHighSurrogate(codePoint[0]) || isLowSurrogate(codePoint[0]));
        const std::optional<std::string> bytes = loneSurrogate ? std::nullopt : encodeExactly(codePoint);
        if (bytes && decodeExactly(*bytes) == std::u16string(codePoint)) {
            result.bytes += *bytes;
            continue;
        }
        if (result.unstorable.find(codePoint) == std::u16string::npos) {
            result.unstorable += codePoint;
        }
    }
    return result;
}

std::u16string TextCodec::decode(std::string_view bytes) const {
    if (bytes.empty()) {
        return {};
    }
    if (std::optional<std::u16string> whole = decodeExactly(bytes)) {
        return *std::move(whole);
    }
    std::u16string result;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::string_view character = bytes.substr(i, characterLengthAt(bytes, i));
        i += character.size();
        const std::optional<std::u16string> decoded = decodeExactly(character);
        result += decoded && !decoded->empty() ? *decoded : std::u16string(1, kReplacementCharacter);
    }
    return result;
}
