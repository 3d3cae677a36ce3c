#include "platform/qt/qt_sjis.h"

#include "data/sjis.h"

QString QStringFromSjis(std::string_view sjisText) {
    return QString::fromStdU16String(sjis::toUnicode(sjisText));
}

std::string SjisFromQString(const QString& text) {
    return sjis::fromUnicode(text.toStdU16String());
}
