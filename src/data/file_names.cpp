#include "data/file_names.h"

#include "data/sjis.h"

#include <QString>

namespace {
QString fromFileSystem(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
}  // namespace

std::string FileSystemName(std::string_view sjisName) {
    return sjis::toUnicode(sjisName).toUtf8().toStdString();
}

std::optional<std::string> ShiftJisName(std::string_view fileSystemName) {
    QString unmappable;
    std::string name = sjis::fromUnicode(fromFileSystem(fileSystemName), &unmappable);
    if (!unmappable.isEmpty() || FileSystemName(name) != fileSystemName) {
        return std::nullopt;
    }
    return name;
}

std::string PathForDisplay(std::string_view fileSystemPath) {
    QString text = fromFileSystem(fileSystemPath);
    QString unmappable;
    sjis::fromUnicode(text, &unmappable);
    for (qsizetype i = 0; i < unmappable.size();) {
        const qsizetype length = unmappable.at(i).isHighSurrogate() && i + 1 < unmappable.size() ? 2 : 1;
        text.replace(unmappable.mid(i, length), QStringLiteral("?"));
        i += length;
    }
    return sjis::fromUnicode(text);
}
