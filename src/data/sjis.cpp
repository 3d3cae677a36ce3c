#include "data/sjis.h"

#include "data/jis_aliases.h"

#include "data/utf.h"
#include "platform/text_codec.h"

#include <memory>

namespace sjis {

namespace {

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::size_t charLengthAt(std::string_view text, std::size_t offset) {
    if (offset + 1 < text.size() && isLeadByte(static_cast<unsigned char>(text[offset]))) {
        return 2;
    }
    return 1;
}

std::size_t charCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += charLengthAt(text, i)) {
        ++count;
    }
    return count;
}

std::string leftChars(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t n = 0; n < count && end < text.size(); ++n) {
        end += charLengthAt(text, end);
    }
    return std::string(text.substr(0, end));
}

namespace {

// The platform's code page 932; it holds no state, so one serves the whole program.
const TextCodec& platformCodec() {
    static const std::unique_ptr<TextCodec> codec = makePlatformTextCodec();
    return *codec;
}

void noteUnmappable(std::u32string* unmappable, std::u16string_view characters) {
    if (unmappable == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < characters.size();) {
        const utf::CodePoint character = utf::codePointAt(characters, i);
        if (unmappable->find(character.value) == std::u32string::npos) {
            unmappable->push_back(character.value);
        }
        i += character.length;
    }
}

}  // namespace

std::string fromUnicode(std::u16string_view text, std::u32string* unmappable) {
    std::string result;
    result.reserve(text.size());
    std::u16string run;
    // The codec stores whole runs of non-ASCII characters (surrogates only in pairs) and reports the ones it
    // cannot store exactly.
    const auto flush = [&] {
        if (run.empty()) {
            return;
        }
        const TextCodec::Encoded encoded = platformCodec().encode(run);
        result += encoded.bytes;
        noteUnmappable(unmappable, encoded.unstorable);
        run.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        // Below 0x80 every character is its own byte; the codec would swap some control codes.
        if (c < 0x80) {
            flush();
            result += static_cast<char>(c);
            continue;
        }
        if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            run += c;
            run += text[++i];
            continue;
        }
        if (isHighSurrogate(c) || isLowSurrogate(c)) {
            // A lone half of a pair is no character; the codec would drop it silently.
            flush();
            noteUnmappable(unmappable, std::u16string_view(&text[i], 1));
            continue;
        }
        run += StoredFormOf(c);
    }
    flush();
    return result;
}

namespace {

bool isSingleByteCharacter(unsigned char byte) {
    return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF);
}

bool isTrailByte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// The length of the well-formed non-ASCII character at offset (1 or 2), 0 for a broken byte.
std::size_t wellFormedLengthAt(std::string_view bytes, std::size_t offset) {
    const auto byte = static_cast<unsigned char>(bytes[offset]);
    if (isSingleByteCharacter(byte)) {
        return 1;
    }
    if (isLeadByte(byte) && offset + 1 < bytes.size() &&
        isTrailByte(static_cast<unsigned char>(bytes[offset + 1]))) {
        return 2;
    }
    return 0;
}

}  // namespace

std::u16string toUnicode(std::string_view bytes) {
    // Every broken or unassigned sequence becomes exactly one U+FFFD instead of being dropped or swallowing
    // its neighbours; bytes below 0x80 are their own character, also where the codec would swap them.
    std::u16string result;
    result.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte < 0x80) {
            result += static_cast<char16_t>(byte);
            ++i;
            continue;
        }
        // A run of characters, a trail byte below 0x80 included ("院" is 89 40), goes to the codec at once.
        std::size_t end = i;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) >= 0x80) {
            const std::size_t length = wellFormedLengthAt(bytes, end);
            if (length == 0) {
                break;
            }
            end += length;
        }
        if (end == i) {
            result += u'\uFFFD';
            ++i;
            continue;
        }
        result += platformCodec().decode(bytes.substr(i, end - i));
        i = end;
    }
    return result;
}

std::string fromUtf8(std::string_view utf8) {
    return fromUnicode(utf::toUtf16(utf8));
}

std::string toUtf8(std::string_view bytes) {
    return utf::toUtf8(toUnicode(bytes));
}

}  // namespace sjis
