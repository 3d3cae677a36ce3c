#include "dialogs/box_text.h"

#include "data/sjis.h"
#include "data/utf.h"

#include <cstdio>

namespace {

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// What ends the line a box takes: CR, LF, and NUL, where the user file's reader stops.
constexpr std::u16string_view kLineEnds(u"\r\n\0", 3);

}  // namespace

int ShiftJisByteCount(std::u16string_view text) {
    std::u32string unmappable;
    const auto stored = static_cast<int>(sjis::fromUnicode(text, &unmappable).size());
    if (unmappable.empty()) {
        return stored;
    }
    int unstorable = 0;
    for (std::size_t i = 0; i < text.size();) {
        const utf::CodePoint character = utf::codePointAt(text, i);
        if (unmappable.find(character.value) != std::u32string::npos) {
            ++unstorable;
        }
        i += character.length;
    }
    return stored + 2 * unstorable;
}

bool AcceptsBoxText(std::u16string_view proposed, std::u16string_view previous, int maxBytes) {
    if (proposed.find_first_of(kLineEnds) != std::u16string_view::npos) {
        return false;
    }
    if (maxBytes <= 0) {
        return true;
    }
    const int bytes = ShiftJisByteCount(proposed);
    return bytes <= maxBytes || bytes <= ShiftJisByteCount(previous);
}

std::u16string FirstLineOf(std::u16string_view text) {
    return std::u16string(text.substr(0, text.find_first_of(kLineEnds)));
}

std::u16string PastedTextThatFits(std::u16string_view pasted, std::u16string_view kept, int maxBytes) {
    std::u16string line = FirstLineOf(pasted);
    if (maxBytes <= 0) {
        return line;
    }
    int room = maxBytes - ShiftJisByteCount(kept);
    std::size_t end = 0;
    while (end < line.size()) {
        const std::size_t length = utf::codePointAt(line, end).length;
        room -= ShiftJisByteCount(std::u16string_view(line).substr(end, length));
        if (room < 0) {
            break;
        }
        end += length;
    }
    line.resize(end);
    return line;
}

BoxTextChange FittedBoxChange(std::u16string_view proposed, std::u16string_view previous, int maxBytes) {
    // The unchanged head and tail; the inserted part lies between them, never splitting a surrogate pair.
    std::size_t head = 0;
    while (head < proposed.size() && head < previous.size() && proposed[head] == previous[head]) {
        ++head;
    }
    if (head > 0 && isHighSurrogate(proposed[head - 1])) {
        --head;
    }
    std::size_t tail = 0;
    while (tail < proposed.size() - head && tail < previous.size() - head &&
           proposed[proposed.size() - 1 - tail] == previous[previous.size() - 1 - tail]) {
        ++tail;
    }
    if (tail > 0 && isLowSurrogate(proposed[proposed.size() - tail])) {
        --tail;
    }
    const std::u16string_view inserted = proposed.substr(head, proposed.size() - head - tail);
    if (AcceptsBoxText(proposed, previous, maxBytes)) {
        return {std::u16string(proposed), head + inserted.size()};
    }
    std::u16string kept(previous.substr(0, head));
    kept += previous.substr(previous.size() - tail);
    const std::u16string fitted = PastedTextThatFits(inserted, kept, maxBytes);
    std::u16string text(previous.substr(0, head));
    text += fitted;
    text += previous.substr(previous.size() - tail);
    return {std::move(text), head + fitted.size()};
}

std::string UnstorableCharacterNames(std::u16string_view text) {
    std::u32string unmappable;
    sjis::fromUnicode(text, &unmappable);
    std::string names;
    for (const char32_t codePoint : unmappable) {
        char name[16];
        std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
        if (!names.empty()) {
            names += ", ";
        }
        names += name;
    }
    return names;
}
