#include "dialogs/box_text.h"
#include "platform/qt/qt_sjis.h"

#include "data/sjis.h"

#include <QStringList>

int ShiftJisByteCount(const QString& text) {
    QString unmappable;
    const auto stored = static_cast<int>(SjisFromQString(text, &unmappable).size());
    if (unmappable.isEmpty()) {
        return stored;
    }
    int unstorable = 0;
    for (const char32_t codePoint : text.toUcs4()) {
        if (unmappable.contains(QString::fromUcs4(&codePoint, 1))) {
            ++unstorable;
        }
    }
    return stored + 2 * unstorable;
}

bool AcceptsBoxText(const QString& proposed, const QString& previous, int maxBytes) {
    if (proposed.contains(QLatin1Char('\r')) || proposed.contains(QLatin1Char('\n'))) {
        return false;
    }
    if (maxBytes <= 0) {
        return true;
    }
    const int bytes = ShiftJisByteCount(proposed);
    return bytes <= maxBytes || bytes <= ShiftJisByteCount(previous);
}

QString FirstLineOf(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') || text.at(i) == QLatin1Char('\n')) {
            return text.left(i);
        }
    }
    return text;
}

QString UnstorableCharacterNames(const QString& text) {
    QString unmappable;
    SjisFromQString(text, &unmappable);
    QStringList names;
    for (const char32_t codePoint : unmappable.toUcs4()) {
        names.append(
            QStringLiteral("U+%1").arg(static_cast<uint>(codePoint), 4, 16, QLatin1Char('0')).toUpper());
    }
    return names.join(QStringLiteral(", "));
}
