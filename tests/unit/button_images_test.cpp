#include "qt/button_images.h"

#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

// A picture whose every pixel is different, so a shifted or scaled copy cannot pass for the original.
QRgb patternColour(int x, int y) {
    return qRgb(x * 7 % 256, y * 7 % 256, (x + y) % 2 ? 40 : 220);
}

QImage patternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, patternColour(x, y));
        }
    }
    return image;
}

bool hasPixelOtherThan(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != colour) {
                return true;
            }
        }
    }
    return false;
}

// A 16x16 32-bit Windows icon: a format Qt could decode, but not a bitmap file.
QByteArray iconFileBytes() {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 pixelBytes = 16 * 16 * 4;
    const quint32 maskBytes = 16 * 4;
    out << quint16(0) << quint16(1) << quint16(1);  // icon directory, one image
    out << quint8(16) << quint8(16) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
        << quint32(40 + pixelBytes + maskBytes) << quint32(6 + 16);  // directory entry
    out << quint32(40) << qint32(16) << qint32(32) << quint16(1) << quint16(32) << quint32(0)
        << quint32(pixelBytes + maskBytes) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
    for (quint32 i = 0; i < pixelBytes / 4; ++i) {
        out << quint32(0xff00ff00);
    }
    for (quint32 i = 0; i < maskBytes; ++i) {
        out << quint8(0);
    }
    return bytes;
}

class ButtonImagesTest : public ::testing::Test {
  protected:
    // Writes a file into the temporary folder and returns its path as the program holds it.
    std::string write(const QString& name, const QByteArray& bytes) {
        QFile file(dir_.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return SjisFromQString(file.fileName());
    }

    std::string save(const QString& name, const QImage& image, const char* format) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(image.save(path, format)) << name.toStdString();
        return SjisFromQString(path);
    }

    static QByteArray readAll(const std::string& sjisPath) {
        QFile file(QStringFromSjis(sjisPath));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }

    QTemporaryDir dir_;
};

TEST(BuiltInPictures, AreSixteenSquareAndDrawnOnSilver) {
    std::set<QByteArray> seen;
    for (int i = 0; i < kBuiltInPictureCount; ++i) {
        const QImage picture = BuiltInPicture(i);
        ASSERT_EQ(picture.size(), QSize(16, 16)) << "picture " << i;
        EXPECT_TRUE(hasPixelOtherThan(picture, kBuiltInBackground)) << "picture " << i << " is blank";
        // A button makes the lower-left colour transparent; it must be the silver background.
        EXPECT_EQ(picture.pixel(0, 15), kBuiltInBackground) << "picture " << i;
        const QByteArray pixels(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes());
        EXPECT_TRUE(seen.insert(pixels).second) << "picture " << i << " repeats an earlier picture";
    }
    EXPECT_TRUE(BuiltInPicture(-1).isNull());
    EXPECT_TRUE(BuiltInPicture(kBuiltInPictureCount).isNull());
}

TEST(BuiltInPictures, ControlPicturesHaveTheirLayoutSizes) {
    const struct {
        const char* name;
        std::function<QImage()> picture;
        QSize size;
    } cases[] = {
        {"switch", SwitchButtonPicture, {16, 16}},
        {"minimize", MinimizeButtonPicture, {17, 17}},
        {"open horizontal", OpenButtonStripHorizontal, {64, 16}},
        {"open vertical", OpenButtonStripVertical, {64, 16}},
    };
    for (const auto& c : cases) {
        const QImage picture = c.picture();
        EXPECT_EQ(picture.size(), c.size) << c.name;
        EXPECT_TRUE(hasPixelOtherThan(picture, kBuiltInBackground)) << c.name;
        EXPECT_EQ(picture.pixel(0, picture.height() - 1), kBuiltInBackground) << c.name;
    }
    // Each strip holds two different state pictures: the open and the close arrow.
    for (const QImage& strip : {OpenButtonStripHorizontal(), OpenButtonStripVertical()}) {
        EXPECT_NE(strip.copy(0, 0, 16, 16), strip.copy(32, 0, 16, 16));
        EXPECT_EQ(strip.copy(32, 0, 16, 16), strip.copy(48, 0, 16, 16));
    }
}

TEST(BuiltInPictures, ApplicationIconIsTransparentAroundTheDrawing) {
    const QImage icon = ApplicationIconPicture();
    ASSERT_FALSE(icon.isNull());
    EXPECT_GE(icon.width(), 32);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255);
}

TEST(BuiltInPictures, MenuPictureMakesOnlyTheSilverTransparent) {
    for (const int i : {0, 2, 15, 16, 23}) {
        const QImage face = BuiltInPicture(i);
        const QImage menu = BuiltInMenuPicture(i);
        ASSERT_EQ(menu.size(), face.size());
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const bool silver = face.pixel(x, y) == kBuiltInBackground;
                EXPECT_EQ(qAlpha(menu.pixel(x, y)), silver ? 0 : 255) << i << " at " << x << "," << y;
                if (!silver) {
                    EXPECT_EQ(menu.pixel(x, y), face.pixel(x, y));
                }
            }
        }
    }
}

TEST_F(ButtonImagesTest, EmptyOrShortPathListsGiveTheBuiltInFaces) {
    const std::vector<std::vector<std::string>> lists = {{}, std::vector<std::string>(16), {"", ""}};
    for (const auto& paths : lists) {
        const ButtonFaces faces = LoadButtonImages(paths);
        for (int i = 0; i < kFaceCount; ++i) {
            EXPECT_EQ(faces[i], BuiltInPicture(i)) << "face " << i << " of a list of " << paths.size();
        }
    }
}

TEST_F(ButtonImagesTest, LargeBitmapIsCutToItsTopLeftCornerUnscaled) {
    const std::string path = save("big.bmp", patternImage(32, 32), "BMP");
    const QImage face = LoadButtonImages({path})[0];
    ASSERT_EQ(face.size(), QSize(16, 16));
    EXPECT_EQ(face, patternImage(32, 32).copy(0, 0, 16, 16));
}

TEST_F(ButtonImagesTest, SmallBitmapLeavesTheRestOfTheFaceWhite) {
    const QImage face = LoadButtonImages({save("small.bmp", patternImage(8, 5), "BMP")})[0];
    ASSERT_EQ(face.size(), QSize(16, 16));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb expected = x < 8 && y < 5 ? patternColour(x, y) : qRgb(255, 255, 255);
            EXPECT_EQ(face.pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(ButtonImagesTest, AcceptsCommonBitmapDepths) {
    const QImage indexed = patternImage(16, 16).convertToFormat(QImage::Format_Indexed8);
    const QImage mono = patternImage(16, 16).convertToFormat(QImage::Format_Mono);
    for (const QImage& image : {indexed, mono}) {
        const QImage face = LoadButtonImages({save("depth.bmp", image, "BMP")})[0];
        EXPECT_EQ(face, image.convertToFormat(QImage::Format_RGB32)) << "format " << image.format();
    }
}

TEST_F(ButtonImagesTest, AnythingButAWindowsBitmapFallsBackToTheBuiltInFace) {
    const std::string pngPath = save("picture.png", patternImage(16, 16), "PNG");
    const QByteArray png = readAll(pngPath);
    const QByteArray bmp = readAll(save("whole.bmp", patternImage(16, 16), "BMP"));
    const std::vector<std::string> paths = {
        write("icon.ico", iconFileBytes()),
        pngPath,
        write("png-named.bmp", png),
        write("text.bmp", "BM, but only words"),
        write("truncated.bmp", bmp.left(40)),
        write("empty.bmp", {}),
        SjisFromQString(dir_.filePath("missing.bmp")),
        SjisFromQString(dir_.path()),
    };
    const ButtonFaces faces = LoadButtonImages(paths);
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(faces[i], BuiltInPicture(static_cast<int>(i))) << paths[i];
    }
}

TEST_F(ButtonImagesTest, EachFaceStandsAlone) {
    std::vector<std::string> paths(5);
    paths[3] = save(QString::fromUtf8("顔の絵.bmp"), patternImage(16, 16), "BMP");
    paths[4] = SjisFromQString(dir_.filePath("missing.bmp"));

    const ButtonFaces faces = LoadButtonImages(paths);
    EXPECT_EQ(faces[3], patternImage(16, 16));
    for (const int i : {0, 1, 2, 4, 5, 15}) {
        EXPECT_EQ(faces[i], BuiltInPicture(i)) << "face " << i;
    }
}

TEST(FaceWithTransparency, MakesExactlyTheLowerLeftColourTransparent) {
    const QRgb key = qRgb(10, 200, 30);
    const QRgb almost = qRgb(10, 200, 31);
    QImage face = patternImage(16, 16);
    face.setPixel(0, 15, key);
    face.setPixel(5, 5, key);
    face.setPixel(15, 0, key);
    face.setPixel(6, 5, almost);

    const QImage result = FaceWithTransparency(face);
    ASSERT_EQ(result.size(), face.size());
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const bool transparent = face.pixel(x, y) == key;
            EXPECT_EQ(qAlpha(result.pixel(x, y)), transparent ? 0 : 255) << x << "," << y;
            if (!transparent) {
                EXPECT_EQ(result.pixel(x, y), face.pixel(x, y));
            }
        }
    }
    EXPECT_TRUE(FaceWithTransparency(QImage()).isNull());
}

}  // namespace
