#include "data/file_names.h"

#include "data/sjis.h"
#include "data/utf.h"

std::string FileSystemName(std::string_view sjisName) {
    return sjis::toUtf8(sjisName);
}

std::optional<std::string> ShiftJisName(std::string_view fileSystemName) {
    if (!utf::isValidUtf8(fileSystemName)) {
        return std::nullopt;
    }
    std::u32string unmappable;
    std::string name = sjis::fromUnicode(utf::toUtf16(fileSystemName), &unmappable);
    if (!unmappable.empty() || FileSystemName(name) != fileSystemName) {
        return std::nullopt;
    }
    return name;
}

std::string PathForDisplay(std::string_view fileSystemPath) {
    std::u16string text = utf::toUtf16(fileSystemPath);
    std::u32string unmappable;
    sjis::fromUnicode(text, &unmappable);
    // Each character that cannot be shown becomes one "?", a surrogate pair included.
    std::u16string shown;
    for (std::size_t i = 0; i < text.size();) {
        const utf::CodePoint character = utf::codePointAt(text, i);
        const std::u16string_view units(&text[i], character.length);
        shown += unmappable.find(character.value) == std::u32string::npos ? std::u16string(units) : u"?";
        i += character.length;
    }
    return sjis::fromUnicode(shown);
}
