#pragma once

#include <QImage>

#include <array>
#include <string>
#include <vector>

constexpr int kFaceCount = 16;
constexpr int kBuiltInPictureCount = 24;

using ButtonFaces = std::array<QImage, kFaceCount>;

// The silver that marks the transparent parts of the built-in pictures.
inline constexpr QRgb kBuiltInBackground = qRgb(192, 192, 192);

// Built-in picture i (0..23) of the image list, 16x16 on the silver background.
QImage BuiltInPicture(int index);
// The same picture with its silver background made transparent, for menus.
QImage BuiltInMenuPicture(int index);

// The faces from the user's bitmap paths: a Windows BMP file gives its top-left 16x16 pixels on white,
// unscaled; every failure of an index falls back to built-in picture i on silver, silently.
ButtonFaces LoadButtonImages(const std::vector<std::string>& sjisPaths);

// A face as a button draws it: the colour of its lower-left pixel transparent.
QImage FaceWithTransparency(const QImage& face);

// Pictures of the control buttons: switch (16x16), minimize (17x17), open button strips (64x16, four states
// up, disabled, pressed, down: horizontal and vertical) and the application icon.
QImage SwitchButtonPicture();
QImage MinimizeButtonPicture();
QImage OpenButtonStripHorizontal();
QImage OpenButtonStripVertical();
QImage ApplicationIconPicture();
