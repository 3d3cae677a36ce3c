#include "win32/popup_menus.h"

#include "data/utf.h"
#include "platform/win32/win32_text_codec.h"
#include "win32/dpi.h"
#include "win32/toolbar_pictures.h"

namespace {

constexpr std::array kFullNameItems{MenuItemId::Kanji1, MenuItemId::Hiragana1, MenuItemId::Katakana1,
                                    MenuItemId::Romaji1};
constexpr std::array kMemoItems{MenuItemId::Memo1, MenuItemId::Memo2, MenuItemId::Memo3, MenuItemId::Memo4};

// Command ids are the items' ids plus one: TrackPopupMenu answers 0 for "nothing chosen".
UINT commandOf(MenuItemId id) {
    return static_cast<UINT>(id) + 1;
}

// The room of a menu item's picture at 96 DPI, as for a toolbar button.
constexpr int kMenuPictureRoom = 22;

}  // namespace

std::optional<MenuItemId> PopupMenus::track(int number, HWND owner, POINT at, UINT dpi) {
    const HMENU popup = menu(number, dpi);
    if (popup == nullptr) {
        return std::nullopt;
    }
    const UINT command = static_cast<UINT>(
        TrackPopupMenuEx(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, owner, nullptr));
    if (command == 0) {
        return std::nullopt;
    }
    return static_cast<MenuItemId>(command - 1);
}

void PopupMenus::setMemoCaptions(const std::array<std::string, 4>& sjisCaptions) {
    memoCaptions_ = sjisCaptions;
    for (std::size_t i = 0; i < kMemoItems.size(); ++i) {
        setCaption(kMemoItems[i], memoCaptions_[i]);
    }
}

void PopupMenus::setFullNamePicture(int picture) {
    fullNamePicture_ = picture;
    for (const MenuItemId id : kFullNameItems) {
        setPicture(id, picture);
    }
}

HMENU PopupMenus::menu(int number, UINT dpi) {
    if (number < 1 || number > 9) {
        return nullptr;
    }
    // Another monitor's DPI: the pictures are drawn anew, so every menu is built anew.
    if (dpi != dpi_) {
        menus_.clear();
        bitmaps_.clear();
        dpi_ = dpi;
    }
    if (!menus_.contains(number)) {
        build(number);
    }
    return menus_.at(number).get();
}

void PopupMenus::build(int number) {
    menus_[number] = MenuHandle(CreatePopupMenu());
    std::map<MenuItemId, HMENU> submenus;
    for (const MenuEntry& entry : PopupMenuEntries()) {
        if (entry.menu == number) {
            addEntry(entry, submenus, entry.submenuOf ? submenus.at(*entry.submenuOf) : menus_[number].get());
        }
    }
    // What the loaded user changed before the menu existed.
    for (std::size_t i = 0; i < kMemoItems.size(); ++i) {
        if (!memoCaptions_[i].empty()) {
            setCaption(kMemoItems[i], memoCaptions_[i]);
        }
    }
    if (fullNamePicture_) {
        setFullNamePicture(*fullNamePicture_);
    }
    checkWidth(width_);
}

void PopupMenus::checkWidth(TextWidth width) {
    width_ = width;
    for (const MenuItemId id : {MenuItemId::Width0, MenuItemId::Width1, MenuItemId::Width2}) {
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STATE;
        item.fState = static_cast<TextWidth>(MenuEntryOf(id).tag) == width ? MFS_CHECKED : MFS_UNCHECKED;
        for (const auto& [number, menu] : menus_) {
            SetMenuItemInfoW(menu.get(), commandOf(id), FALSE, &item);
        }
    }
}

void PopupMenus::addEntry(const MenuEntry& entry, std::map<MenuItemId, HMENU>& submenus, HMENU parent) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    if (entry.kind == MenuEntryKind::Separator) {
        item.fMask = MIIM_FTYPE;
        item.fType = MFT_SEPARATOR;
        InsertMenuItemW(parent, static_cast<UINT>(GetMenuItemCount(parent)), TRUE, &item);
        return;
    }
    std::wstring caption = toWide(utf::toUtf16(entry.caption));
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
    item.wID = commandOf(entry.id);
    item.dwTypeData = caption.data();
    // The picture is drawn by the owner (drawPicture), with its silver see-through: not every system draws
    // a menu item's own 32-bit bitmap with its transparency.
    item.hbmpItem = entry.image >= 0 ? HBMMENU_CALLBACK : nullptr;
    item.dwItemData = static_cast<ULONG_PTR>(entry.image);
    if (entry.kind == MenuEntryKind::WidthChoice) {
        item.fMask |= MIIM_FTYPE;
        item.fType = MFT_RADIOCHECK;
    }
    if (entry.kind == MenuEntryKind::SubmenuHead) {
        // Owned by its parent menu from here on, and destroyed with it.
        item.fMask |= MIIM_SUBMENU;
        item.hSubMenu = CreatePopupMenu();
        submenus[entry.id] = item.hSubMenu;
    }
    InsertMenuItemW(parent, static_cast<UINT>(GetMenuItemCount(parent)), TRUE, &item);
}

HBITMAP PopupMenus::picture(int image) {
    auto found = bitmaps_.find(image);
    if (found == bitmaps_.end()) {
        const int factor = PictureScale(kMenuPictureRoom, kPictureSize, dpi_);
        found = bitmaps_
                    .emplace(image, TransparentBitmap(ScaledUp(pictures_.builtIn(image), factor),
                                                      kBuiltInBackground))
                    .first;
    }
    return found->second.get();
}

void PopupMenus::setCaption(MenuItemId id, const std::string& sjisCaption) {
    std::wstring caption = sjisToWide(codec_, sjisCaption);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = caption.data();
    for (const auto& [number, menu] : menus_) {
        SetMenuItemInfoW(menu.get(), commandOf(id), FALSE, &item);
    }
}

void PopupMenus::measurePicture(MEASUREITEMSTRUCT& item) const {
    const int size = kPictureSize * PictureScale(kMenuPictureRoom, kPictureSize, dpi_);
    item.itemWidth = static_cast<UINT>(size);
    item.itemHeight = static_cast<UINT>(size);
}

void PopupMenus::drawPicture(const DRAWITEMSTRUCT& item) {
    const int size = kPictureSize * PictureScale(kMenuPictureRoom, kPictureSize, dpi_);
    const RECT& area = item.rcItem;
    DrawPicture(
        item.hDC, picture(static_cast<int>(item.itemData)), {0, 0, size, size},
        {area.left + (area.right - area.left - size) / 2, area.top + (area.bottom - area.top - size) / 2});
}

void PopupMenus::setPicture(MenuItemId id, int image) {
    if (menus_.empty()) {
        return;
    }
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_DATA;
    item.dwItemData = static_cast<ULONG_PTR>(image);
    for (const auto& [number, menu] : menus_) {
        SetMenuItemInfoW(menu.get(), commandOf(id), FALSE, &item);
    }
}
