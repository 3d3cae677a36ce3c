#include "platform/qt/label_text.h"

#include "data/sjis.h"

QString LabelText(std::string_view sjisText) {
    QString text = sjis::toUnicode(sjisText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}
