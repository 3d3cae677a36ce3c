#include "platform/qt/qt_clipboard.h"

#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

bool QtClipboard::setText(const std::string& sjisText) {
    QClipboard* const clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return false;
    }
    clipboard->setText(QStringFromSjis(sjisText), QClipboard::Clipboard);
    return true;
}

std::optional<std::string> QtClipboard::text() {
    QClipboard* const clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) {
        return std::nullopt;
    }
    const QMimeData* const data = clipboard->mimeData(QClipboard::Clipboard);
    if (data == nullptr || !data->hasText()) {
        return std::nullopt;
    }
    return SjisFromQString(data->text());
}
