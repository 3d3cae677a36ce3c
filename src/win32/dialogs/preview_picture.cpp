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
        picture.bitmap_.reset(static_cast<HBITMAP>(
            LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    } else if (extension == L"ico") {
        picture.icon_.reset(static_cast<HICON>(
            LoadImageW(nullptr, path.c_str(), IMAGE_ICON, kPreviewSize, kPreviewSize, LR_LOADFROMFILE)));
    } else if (extension == L"emf") {
        picture.metafile_.reset(GetEnhMetaFileW(path.c_str()));
    } else if (extension == L"wmf") {
        picture.metafile_.reset(WindowsMetafile(path));
    }
    if (!picture.bitmap_ && !picture.icon_ && !picture.metafile_) {
        return std::nullopt;
    }
    return picture;
}

void PreviewPicture::draw(HDC dc, const RECT& room, int scale) const {
    const int side = kPreviewSize * scale;
    if (bitmap_) {
        const HDC memory = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(memory, bitmap_.get());
        BITMAP shape{};
        GetObjectW(bitmap_.get(), sizeof shape, &shape);
        const int width = std::min(kPreviewSize, static_cast<int>(shape.bmWidth));
        const int height = std::min(kPreviewSize, static_cast<int>(std::abs(shape.bmHeight)));
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, room.left, room.top, width * scale, height * scale, memory, 0, 0, width, height,
                   SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    } else if (icon_) {
        DrawIconEx(dc, room.left, room.top, icon_.get(), side, side, 0, nullptr, DI_NORMAL);
    } else if (metafile_) {
        const RECT target{room.left, room.top, room.left + side, room.top + side};
        PlayEnhMetaFile(dc, metafile_.get(), &target);
    }
}
