#include "win32/toolbar_pictures.h"

#include "platform/win32/win32_text_codec.h"
#include "win32/resource_ids.h"

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// White, with the bitmap's top-left 16x16 pixels copied one to one: a smaller bitmap leaves the rest white,
// a larger one is cut, never scaled.
Pixels faceFromBitmap(const Pixels& bitmap) {
    Pixels face{kPictureSize, kPictureSize, std::vector<std::uint32_t>(kPictureSize * kPictureSize, kWhite)};
    for (int y = 0; y < std::min(kPictureSize, bitmap.height); ++y) {
        for (int x = 0; x < std::min(kPictureSize, bitmap.width); ++x) {
            face.at(x, y) = bitmap.at(x, y);
        }
    }
    return face;
}

}  // namespace

ToolbarPictures::ToolbarPictures()
    : strip_(ResourcePixels(ZENPORO_PICTURES)),
      switch_(ResourcePixels(ZENPORO_SWITCH_PICTURE)),
      minimize_(ResourcePixels(ZENPORO_MINIMIZE_PICTURE)),
      openHorizontal_(ResourcePixels(ZENPORO_OPEN_HORIZONTAL_PICTURE)),
      openVertical_(ResourcePixels(ZENPORO_OPEN_VERTICAL_PICTURE)) {
    for (int i = 0; i < kFaceCount; ++i) {
        faces_[static_cast<std::size_t>(i)] = builtIn(i);
    }
}

Pixels ToolbarPictures::builtIn(int index) const {
    if (index < 0 || index >= kBuiltInPictureCount) {
        return {};
    }
    return Cropped(strip_, {index * kPictureSize, 0, kPictureSize, kPictureSize});
}

void ToolbarPictures::loadFaces(const std::vector<std::string>& sjisPaths, const TextCodec& codec) {
    for (std::size_t i = 0; i < faces_.size(); ++i) {
        const std::optional<Pixels> bitmap =
            i < sjisPaths.size() ? BitmapFilePixels(sjisToWide(codec, sjisPaths[i])) : std::nullopt;
        faces_[i] = bitmap ? faceFromBitmap(*bitmap) : builtIn(static_cast<int>(i));
    }
}

std::uint32_t LowerLeftColour(const Pixels& picture) {
    return picture.rgb.empty() ? kBuiltInBackground : picture.at(0, picture.height - 1);
}
