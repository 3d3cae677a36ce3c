#include "qt/button_images.h"

#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"

#include <QFile>
#include <QImageReader>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <optional>

// The pictures are compiled into a static library, so their registration has to be asked for by name.
// Registering again is harmless: Qt ignores a resource tree it already knows. The macro may not be used
// inside a namespace.
static void registerImageResources() {
    Q_INIT_RESOURCE(images);
}

namespace {

constexpr int kFaceSize = 16;

QImage resourcePicture(const QString& name, QImage::Format format) {
    registerImageResources();
    // Naming the format is not enough: a reader that may guess still loads every image plugin to ask it.
    QImageReader reader(QStringLiteral(":/images/%1.xpm").arg(name), "xpm");
    reader.setAutoDetectImageFormat(false);
    return reader.read().convertToFormat(format);
}

QImage silverBackedPicture(const QString& name) {
    return resourcePicture(name, QImage::Format_RGB32);
}

bool sameColour(QRgb a, QRgb b) {
    return qRed(a) == qRed(b) && qGreen(a) == qGreen(b) && qBlue(a) == qBlue(b);
}

// A copy in which every pixel of the key colour is fully transparent and every other pixel opaque.
QImage withTransparentColour(const QImage& image, QRgb key) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* const line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QRgb pixel = line[x];
            line[x] = qRgba(qRed(pixel), qGreen(pixel), qBlue(pixel), sameColour(pixel, key) ? 0 : 255);
        }
    }
    return result;
}

// Reads a Windows bitmap file. Only files that really are BMP files count: other formats that Qt could
// decode (icons, PNG, ...) are refused, as is anything that cannot be opened or decoded.
std::optional<QImage> readWindowsBitmap(const std::string& sjisPath) {
    if (sjisPath.empty()) {
        return std::nullopt;
    }
    QFile file(QStringFromSjis(sjisPath));
    if (!file.open(QIODevice::ReadOnly) || file.peek(2) != "BM") {
        return std::nullopt;
    }
    QImageReader reader(&file, "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    return image;
}

// The face made from a user's bitmap: white, with the bitmap's top-left 16x16 pixels copied one to one.
// A smaller bitmap leaves the rest white; a larger one is cut, never scaled. Any alpha channel of the
// file is ignored, as a plain bitmap copy would.
QImage faceFromBitmap(const QImage& bitmap) {
    QImage face(kFaceSize, kFaceSize, QImage::Format_RGB32);
    face.fill(Qt::white);
    const QImage source = bitmap.convertToFormat(QImage::Format_ARGB32);
    const int width = std::min(kFaceSize, source.width());
    const int height = std::min(kFaceSize, source.height());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = source.pixel(x, y);
            face.setPixel(x, y, qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
        }
    }
    return face;
}

}  // namespace

QImage BuiltInPicture(int index) {
    if (index < 0 || index >= kBuiltInPictureCount) {
        return {};
    }
    return silverBackedPicture(QStringLiteral("picture_%1").arg(index, 2, 10, QLatin1Char('0')));
}

QImage BuiltInMenuPicture(int index) {
    const QImage picture = BuiltInPicture(index);
    if (picture.isNull()) {
        return {};
    }
    return withTransparentColour(picture, kBuiltInBackground);
}

ButtonFaces LoadButtonImages(const std::vector<std::string>& sjisPaths) {
    ButtonFaces faces;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const std::optional<QImage> bitmap =
            i < sjisPaths.size() ? readWindowsBitmap(sjisPaths[i]) : std::nullopt;
        faces[i] = bitmap ? faceFromBitmap(*bitmap) : BuiltInPicture(static_cast<int>(i));
    }
    return faces;
}

QImage FaceWithTransparency(const QImage& face) {
    if (face.isNull()) {
        return {};
    }
    return withTransparentColour(face, face.pixel(0, face.height() - 1));
}

QImage SwitchButtonPicture() {
    return silverBackedPicture(QStringLiteral("switch"));
}

QImage MinimizeButtonPicture() {
    return silverBackedPicture(QStringLiteral("minimize"));
}

QImage OpenButtonStripHorizontal() {
    return silverBackedPicture(QStringLiteral("open_strip_horizontal"));
}

QImage OpenButtonStripVertical() {
    return silverBackedPicture(QStringLiteral("open_strip_vertical"));
}

QImage ApplicationIconPicture() {
    return resourcePicture(QStringLiteral("app_icon_48"), QImage::Format_ARGB32);
}
