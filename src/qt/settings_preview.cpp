#include "qt/settings_preview.h"

#include <QByteArray>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

std::optional<QImage> LoadPreviewPicture(const QString& path) {
    const QString extension = QFileInfo(path).suffix().toLower();
    QByteArray format;
    if (extension == QStringLiteral("bmp")) {
        format = "BMP";
    } else if (extension == QStringLiteral("ico")) {
        format = "ICO";
    } else {
        return std::nullopt;
    }
    QImageReader reader(path, format);
    reader.setDecideFormatFromContent(false);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        return std::nullopt;
    }
    QImage preview(16, 16, QImage::Format_ARGB32_Premultiplied);
    preview.fill(Qt::transparent);
    QPainter painter(&preview);
    painter.drawImage(QPoint(0, 0), picture);
    return preview;
}
