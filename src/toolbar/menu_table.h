#pragma once

#include <optional>
#include <span>
#include <string_view>

// The toolbar's nine popup menus PopupMenu1..PopupMenu9 as plain data, for the window to build them from.

enum class MenuEntryKind {
    Compose,      // clicking composes a text (SpeedButton7Click)
    Separator,    // caption "-", no action
    SubmenuHead,  // opens the rows that name it as their submenu
    OwnAction,    // has a click handler of its own (the help menu's items)
};

struct MenuEntry {
    int menu;                  // n of PopupMenun
    std::string_view name;     // the item's Name, unique in the window
    std::string_view caption;  // UTF-8
    int tag;
    int image;  // index into the image list; -1 for none
    MenuEntryKind kind;
    std::string_view submenuOf;  // Name of the submenu head this row belongs to; empty at the menu's top
};

// Every entry of every menu, each menu's entries in their order.
std::span<const MenuEntry> PopupMenuEntries();

// The popup menu a right press on the field button with this Tag opens; nothing for the others.
std::optional<int> PopupMenuForButtonTag(int tag);
