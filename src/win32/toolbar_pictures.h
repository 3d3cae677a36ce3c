#pragma once

#include "win32/pictures.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TextCodec;

inline constexpr int kFaceCount = 16;
inline constexpr int kBuiltInPictureCount = 24;
inline constexpr int kPictureSize = 16;
// The silver behind the built-in pictures, which menus show as transparent.
inline constexpr std::uint32_t kBuiltInBackground = 0xC0C0C0;

// The toolbar's pictures at 96 DPI: the 24 built-in pictures of the image list, the control buttons'
// pictures, and the sixteen faces.
class ToolbarPictures {
  public:
    // The built-in pictures from the program's resources; every face the built-in one.
    ToolbarPictures();

    // Built-in picture i (0..23), 16x16 on silver.
    Pixels builtIn(int index) const;

    // The faces from the user's bitmap paths (Shift-JIS): a Windows bitmap gives its top-left 16x16 pixels on
    // white, unscaled; every failure of an index falls back to built-in picture i, silently.
    void loadFaces(const std::vector<std::string>& sjisPaths, const TextCodec& codec);
    const Pixels& face(int index) const { return faces_.at(static_cast<std::size_t>(index)); }

    const Pixels& switchPicture() const { return switch_; }
    const Pixels& minimizePicture() const { return minimize_; }
    // The open button's four states side by side: up, disabled, pressed, down.
    const Pixels& openStrip(bool horizontal) const { return horizontal ? openHorizontal_ : openVertical_; }

  private:
    Pixels strip_;
    Pixels switch_;
    Pixels minimize_;
    Pixels openHorizontal_;
    Pixels openVertical_;
    std::array<Pixels, kFaceCount> faces_;
};

// The colour a button shows through: the picture's lower-left pixel.
std::uint32_t LowerLeftColour(const Pixels& picture);
