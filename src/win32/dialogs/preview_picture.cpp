#include "win32/dialogs/preview_picture.h"

#include <algorithm>
#include <cwctype>
#include <vector>

namespace {

constexpr int kPreviewSize = 16;

std::wstring LowerExtension(const std::wstring& path) {
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t separator = path.find_last_of(L"\\/:");
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)) {
        return {};
    }
    std::wstring extension = path.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](wchar_t character) { return static_cast<wchar_t>(std::towlower(character)); });
    return extension;
}

// A Windows metafile as an enhanced one, which the preview can play.
HENHMETAFILE WindowsMetafile(const std::wstring& path) {
    const HMETAFILE old = GetMetaFileW(path.c_str());
    if (old == nullptr) {
        return nullptr;
    }
    const UINT size = GetMetaFileBitsEx(old, 0, nullptr);
    std::vector<BYTE> bits(size);
    GetMetaFileBitsEx(old, size, bits.data());
    DeleteMetaFile(old);
    return SetWinMetaFileBits(size, bits.data(), nullptr, nullptr);
}

}  // namespace

void PreviewPicture::MetafileDeleter::operator()(HENHMETAFILE metafile) const {
    if (metafile != nullptr) {
        DeleteEnhMetaFile(metafile);
    }
}

std::optional<PreviewPicture> PreviewPicture::FromFile(const std::wstring& path) {
    const std::wstring extension = LowerExtension(path);
    PreviewPicture picture;
    if (extension == L"bmp") {
        picture.pixels_ = BitmapFilePixels(path);
    } else if (extension == L"ico") {
        picture.icon_.reset(static_cast<HICON>(
            LoadImageW(nullptr, path.c_str(), IMAGE_ICON, kPreviewSize, kPreviewSize, LR_LOADFROMFILE)));
    } else if (extension == L"emf") {
        picture.metafile_.reset(GetEnhMetaFileW(path.c_str()));
    } else if (extension == L"wmf") {
        picture.metafile_.reset(WindowsMetafile(path));
    }
    if (!picture.pixels_ && !picture.icon_ && !picture.metafile_) {
        return std::nullopt;
    }
    return picture;
}

void PreviewPicture::draw(HDC dc, const RECT& room, int scale) const {
    const int side = kPreviewSize * scale;
    if (pixels_ && !pixels_->rgb.empty()) {
        const Pixels shown = ScaledUp(Cropped(*pixels_, {0, 0, std::min(kPreviewSize, pixels_->width),
                                                         std::min(kPreviewSize, pixels_->height)}),
                                      scale);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = shown.width;
        info.bmiHeader.biHeight = -shown.height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, room.left, room.top, static_cast<DWORD>(shown.width),
                          static_cast<DWORD>(shown.height), 0, 0, 0, static_cast<UINT>(shown.height),
                          shown.rgb.data(), &info, DIB_RGB_COLORS);
    } else if (icon_) {
        DrawIconEx(dc, room.left, room.top, icon_.get(), side, side, 0, nullptr, DI_NORMAL);
    } else if (metafile_) {
        const RECT target{room.left, room.top, room.left + side, room.top + side};
        PlayEnhMetaFile(dc, metafile_.get(), &target);
    }
}
