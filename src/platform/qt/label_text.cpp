#include "platform/qt/label_text.h"

#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"

QString LabelText(std::string_view sjisText) {
    QString text = QStringFromSjis(sjisText);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    return text;
}
