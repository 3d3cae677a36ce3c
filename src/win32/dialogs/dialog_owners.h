#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

#include <commctrl.h>

// Move-only owners of the GDI and user objects the dialogs make, each released once.

struct DialogGdiDeleter {
    void operator()(HGDIOBJ object) const {
        if (object != nullptr) {
            DeleteObject(object);
        }
    }
};
using FontOwner = std::unique_ptr<std::remove_pointer_t<HFONT>, DialogGdiDeleter>;
using BitmapOwner = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DialogGdiDeleter>;

struct DialogMenuDeleter {
    void operator()(HMENU menu) const {
        if (menu != nullptr) {
            DestroyMenu(menu);
        }
    }
};
using MenuOwner = std::unique_ptr<std::remove_pointer_t<HMENU>, DialogMenuDeleter>;

struct DialogIconDeleter {
    void operator()(HICON icon) const {
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
};
using IconOwner = std::unique_ptr<std::remove_pointer_t<HICON>, DialogIconDeleter>;

struct ImageListDeleter {
    void operator()(HIMAGELIST list) const {
        if (list != nullptr) {
            ImageList_Destroy(list);
        }
    }
};
using ImageListOwner = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;
