#pragma once

#include "win32/common_controls.h"
#include "win32/gdi_handle.h"

#include <cstdint>

#include <windows.h>

#include <commctrl.h>

// The see-through colour of the dialogs' own pictures (the list's icon, the editor's OK picture).
inline constexpr std::uint32_t kDialogPictureSeeThrough = 0xFF00FF;

// One of the dialogs' pictures from the program's resources, enlarged by whole multiples for dpi, its
// see-through pixels transparent; null when the resource is missing.
BitmapHandle DialogPicture(int resourceId, UINT dpi);

// An image list of the common controls holding one picture, image 0, destroyed with the object.
class SinglePictureList {
  public:
    SinglePictureList(const CommonControls& controls, int resourceId, UINT dpi);
    ~SinglePictureList();
    SinglePictureList(const SinglePictureList&) = delete;
    SinglePictureList& operator=(const SinglePictureList&) = delete;

    HIMAGELIST get() const { return list_; }

  private:
    const CommonControls& controls_;
    HIMAGELIST list_ = nullptr;
};
