#include "platform/qt/qt_sjis.h"

#include "data/sjis.h"

QString QStringFromSjis(std::string_view sjisText) {
    return QString::fromStdU16String(sjis::toUnicode(sjisText));
}

std::string SjisFromQString(const QString& text, QString* unmappable) {
    std::u16string notStored;
    std::string bytes =
        sjis::fromUnicode(text.toStdU16String(), unmappable != nullptr ? &notStored : nullptr);
    if (unmappable != nullptr) {
        *unmappable = QString::fromStdU16String(notStored);
    }
    return bytes;
}
