#pragma once

#include "win32/dialogs/dialog_owners.h"

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

// A picture shown in one of the settings dialog's previews: a bitmap, an icon or a metafile, as the chosen
// file's extension says.
class PreviewPicture {
  public:
    PreviewPicture() = default;
    explicit PreviewPicture(BitmapOwner bitmap) : bitmap_(std::move(bitmap)) {}

    // The file as a picture of the kind its extension names ("bmp", "ico", "wmf", "emf"); nothing when it
    // cannot be loaded.
    static std::optional<PreviewPicture> FromFile(const std::wstring& path);

    // Draws the picture's top-left size x size pixels of 96 DPI into the rectangle, each pixel scale times
    // (nearest neighbour, so the small pictures stay crisp); a metafile fills the rectangle.
    void draw(HDC dc, const RECT& room, int scale) const;

  private:
    struct MetafileDeleter {
        void operator()(HENHMETAFILE metafile) const;
    };
    using Metafile = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, MetafileDeleter>;

    BitmapOwner bitmap_;
    IconOwner icon_;
    Metafile metafile_;
};
