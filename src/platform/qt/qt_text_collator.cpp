#include "platform/qt/qt_text_collator.h"

#include <QStringView>

QtTextCollator::QtTextCollator(const QLocale& locale) : collator_(locale) {
    collator_.setCaseSensitivity(Qt::CaseSensitive);
}

int QtTextCollator::compare(std::u16string_view a, std::u16string_view b) const {
    return collator_.compare(QStringView(a.data(), static_cast<qsizetype>(a.size())),
                             QStringView(b.data(), static_cast<qsizetype>(b.size())));
}
