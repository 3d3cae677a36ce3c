#pragma once

#include "toolbar/composition.h"
#include "toolbar/menu_table.h"
#include "win32/gdi_handle.h"

#include <array>
#include <map>
#include <optional>
#include <string>

#include <windows.h>

class TextCodec;
class ToolbarPictures;

// The toolbar's nine popup menus, built from the menu table when first opened, with the built-in pictures
// drawn for the monitor's DPI.
class PopupMenus {
  public:
    PopupMenus(const ToolbarPictures& pictures, const TextCodec& codec)
        : pictures_(pictures), codec_(codec) {}

    // Shows PopupMenu<number> at the screen point and waits until it closes; the item chosen, if any. The
    // owner must be the foreground window for the menu to close on a click elsewhere.
    std::optional<MenuItemId> track(int number, HWND owner, POINT at, UINT dpi);

    // The captions of Memo1..Memo4 (Shift-JIS) and the picture of the four full-name items.
    void setMemoCaptions(const std::array<std::string, 4>& sjisCaptions);
    void setFullNamePicture(int picture);
    // Checks the 文字幅 item of this width (a radio check), now and in a menu built later.
    void checkWidth(TextWidth width);

    // The owner's WM_MEASUREITEM and WM_DRAWITEM of an item's picture, while a menu is open.
    void measurePicture(MEASUREITEMSTRUCT& item) const;
    void drawPicture(const DRAWITEMSTRUCT& item);

  private:
    HMENU menu(int number, UINT dpi);
    void build(int number);
    void addEntry(const MenuEntry& entry, std::map<MenuItemId, HMENU>& submenus, HMENU parent);
    HBITMAP picture(int image);
    void setCaption(MenuItemId id, const std::string& sjisCaption);
    void setPicture(MenuItemId id, int image);

    const ToolbarPictures& pictures_;
    const TextCodec& codec_;
    UINT dpi_ = 0;
    std::map<int, MenuHandle> menus_;      // by number; each destroys its submenus with itself
    std::map<int, BitmapHandle> bitmaps_;  // by picture, at dpi_
    std::array<std::string, 4> memoCaptions_;
    std::optional<int> fullNamePicture_;
    TextWidth width_ = TextWidth::AsStored;
};
