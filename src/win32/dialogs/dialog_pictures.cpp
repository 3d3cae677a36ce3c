#include "win32/dialogs/dialog_pictures.h"

#include "win32/dpi.h"
#include "win32/pictures.h"
#include "win32/toolbar_pictures.h"

BitmapHandle DialogPicture(int resourceId, UINT dpi) {
    const Pixels picture = ResourcePixels(resourceId);
    const int scale = PictureScale(kPictureSize, kPictureSize, dpi);
    return TransparentBitmap(ScaledUp(picture, scale), kDialogPictureSeeThrough);
}

SinglePictureList::SinglePictureList(const CommonControls& controls, int resourceId, UINT dpi)
    : controls_(controls) {
    using Create = HIMAGELIST(WINAPI*)(int, int, UINT, int, int);
    using Add = int(WINAPI*)(HIMAGELIST, HBITMAP, HBITMAP);
    const auto create = controls.function<Create>("ImageList_Create");
    const auto add = controls.function<Add>("ImageList_Add");
    const BitmapHandle picture = DialogPicture(resourceId, dpi);
    if (create == nullptr || add == nullptr || !picture) {
        return;
    }
    BITMAP shape{};
    GetObjectW(picture.get(), sizeof shape, &shape);
    list_ = create(shape.bmWidth, shape.bmHeight, ILC_COLOR32, 1, 0);
    if (list_ != nullptr) {
        add(list_, picture.get(), nullptr);
    }
}

SinglePictureList::~SinglePictureList() {
    using Destroy = BOOL(WINAPI*)(HIMAGELIST);
    if (const auto destroy = controls_.function<Destroy>("ImageList_Destroy"); destroy != nullptr && list_) {
        destroy(list_);
    }
}
