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
    std::u16string unmappable;
    std::string name = sjis::fromUnicode(utf::toUtf16(fileSystemName), &unmappable);
    if (!unmappable.empty() || FileSystemName(name) != fileSystemName) {
        return std::nullopt;
    }
    return name;
}

std::string PathForDisplay(std::string_view fileSystemPath) {
    std::u16string text = utf::toUtf16(fileSystemPath);
    std::u16string unmappable;
    sjis::fromUnicode(text, &unmappable);
    // Each character that cannot be shown becomes one "?", a surrogate pair included.
    std::u16string shown;
    for (std::size_t i = 0; i < text.size();) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size();
        const std::u16string_view codePoint(&text[i], pair ? 2 : 1);
        shown += unmappable.find(codePoint) == std::u16string::npos ? std::u16string(codePoint) : u"?";
        i += codePoint.size();
    }
    return sjis::fromUnicode(shown);
}
