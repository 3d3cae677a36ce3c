#include "qt/button_images.h"

#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"

#include <QFile>
#include <QImageReader>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <optional>

// The built-in pictures are XPM, which is C: compiled in, they are decoded straight from memory, without a
// resource file and without Qt's search through its image format plugins that every QImageReader makes.
#include "images/app_icon_48.xpm"
#include "images/minimize.xpm"
#include "images/open_strip_horizontal.xpm"
#include "images/open_strip_vertical.xpm"
#include "images/picture_00.xpm"
#include "images/picture_01.xpm"
#include "images/picture_02.xpm"
#include "images/picture_03.xpm"
#include "images/picture_04.xpm"
#include "images/picture_05.xpm"
#include "images/picture_06.xpm"
#include "images/picture_07.xpm"
#include "images/picture_08.xpm"
#include "images/picture_09.xpm"
#include "images/picture_10.xpm"
#include "images/picture_11.xpm"
#include "images/picture_12.xpm"
#include "images/picture_13.xpm"
#include "images/picture_14.xpm"
#include "images/picture_15.xpm"
#include "images/picture_16.xpm"
#include "images/picture_17.xpm"
#include "images/picture_18.xpm"
#include "images/picture_19.xpm"
#include "images/picture_20.xpm"
#include "images/picture_21.xpm"
#include "images/picture_22.xpm"
#include "images/picture_23.xpm"
#include "images/switch.xpm"

namespace {

constexpr int kFaceSize = 16;

constexpr const char* const* kBuiltInPictures[kBuiltInPictureCount] = {
    picture_00_xpm, picture_01_xpm, picture_02_xpm, picture_03_xpm, picture_04_xpm, picture_05_xpm,
    picture_06_xpm, picture_07_xpm, picture_08_xpm, picture_09_xpm, picture_10_xpm, picture_11_xpm,
    picture_12_xpm, picture_13_xpm, picture_14_xpm, picture_15_xpm, picture_16_xpm, picture_17_xpm,
    picture_18_xpm, picture_19_xpm, picture_20_xpm, picture_21_xpm, picture_22_xpm, picture_23_xpm};

QImage silverBackedPicture(const char* const* xpm) {
    return QImage(xpm).convertToFormat(QImage::Format_RGB32);
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
    return silverBackedPicture(kBuiltInPictures[index]);
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
    return silverBackedPicture(switch_xpm);
}

QImage MinimizeButtonPicture() {
    return silverBackedPicture(minimize_xpm);
}

QImage OpenButtonStripHorizontal() {
    return silverBackedPicture(open_strip_horizontal_xpm);
}

QImage OpenButtonStripVertical() {
    return silverBackedPicture(open_strip_vertical_xpm);
}

QImage ApplicationIconPicture() {
    return QImage(app_icon_48_xpm).convertToFormat(QImage::Format_ARGB32);
}
