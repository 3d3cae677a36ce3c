#include "toolbar/button_picture.h"

Rect StatePictureRect(Size pictureSize, ButtonPictureState state) {
    const int height = pictureSize.height;
    if (height <= 0) {
        return {};
    }
    const int ratio = pictureSize.width / height;
    const int count = pictureSize.width % height == 0 && ratio >= 2 && ratio <= 4 ? ratio : 1;
    if (count == 1) {
        return {0, 0, pictureSize.width, height};
    }
    const int index = static_cast<int>(state) < count ? static_cast<int>(state) : 0;
    return {index * height, 0, height, height};
}
