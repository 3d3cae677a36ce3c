#pragma once

#include "win32/gdi_handle.h"
#include "win32/pictures.h"

#include <memory>
#include <optional>
#include <string>

#include <windows.h>

// A picture shown in one of the settings dialog's previews: the pixels of a face or a bitmap file, an icon,
// or a metafile, as the chosen file's extension says.
class PreviewPicture {
  public:
    PreviewPicture() = default;
    explicit PreviewPicture(Pixels pixels) : pixels_(std::move(pixels)) {}

    // The file as a picture of the kind its extension names ("bmp", "ico", "wmf", "emf"); nothing when it
    // cannot be loaded.
    static std::optional<PreviewPicture> FromFile(const std::wstring& path);

    // Draws the picture's top-left 16 x 16 pixels with their top-left corner at the room's, each pixel scale
    // times (nearest neighbour, so the small pictures stay crisp); an icon or a metafile fills that square.
    void draw(HDC dc, const RECT& room, int scale) const;

  private:
    struct MetafileDeleter {
        void operator()(HENHMETAFILE metafile) const;
    };
    using Metafile = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, MetafileDeleter>;

    std::optional<Pixels> pixels_;
    IconHandle icon_;
    Metafile metafile_;
};
