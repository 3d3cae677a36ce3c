#include "platform/qt/japanese_font.h"

#include <QStringList>

QFont JapaneseUiFont(int pixelSize) {
    QFont font;
    font.setFamilies(
        {QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    font.setPixelSize(pixelSize);
    return font;
}
