#pragma once

#include <array>
#include <initializer_list>
#include <optional>
#include <span>
#include <string_view>

// The toolbar's nine popup menus PopupMenu1..PopupMenu9 as plain data, for the window to build them from and
// for the composition to tell the items apart.

// One id per row of the table, in the table's order.
// clang-format off
enum class MenuItemId {
    Post, N1, Post1, Post2,
    Adrr, N3, Adrr5, Adrr6, N4, Adrr1, Adrr2, Adrr3, Adrr4,
    Kanji, Kanji1, Kanji2, Kanji3,
    Hiragana, Hiragana1, Hiragana2, Hiragana3,
    Katakana, Katakana1, Katakana2, Katakana3,
    Romaji, Romaji1, Romaji2, Romaji3,
    Phon, N5, Phon1, Phon2, Phon3,
    Fax, N6, Fax1, Fax2, Fax3,
    Mail, N2, Mail1, Mail2,
    Memo1, Memo2, Memo3, Memo4,
    Birth, Birth1, Birth2, Birth3, Birth4, Birth5,
    WaBirth, WaBirth1, WaBirth2, WaBirth3, WaBirth4,
    Help1, Varsion1,
    // Added later at the ends of their menus; the ids above keep their values.
    N7, Post3, N8, Phon4, N9, Fax4, N10, Birth6, Birth7,
    Kanji4, Hiragana4, Katakana4, Romaji4, Romaji5, Adrr7, WaBirth5,
    N11, Width, Width0, Width1, Width2, Birth8,
};
// clang-format on

enum class MenuEntryKind {
    Compose,      // clicking composes a text (SpeedButton7Click)
    Separator,    // caption "-", no action
    SubmenuHead,  // opens the rows that name it as their submenu
    OwnAction,    // has a click handler of its own (the help menu's items)
    WidthChoice,  // chooses the width of the texts for the rest of the run; its Tag is the TextWidth
};

// What a composing item makes of its group's text, once its Tag has chosen the group.
enum class ComposeRuleKind {
    GroupText,         // the group's text unchanged: the field the Tag names (the e-mail group: the address)
    JoinFields,        // the fields listed, in order, with the separator between them
    JoinFieldsBare,    // the same, then without 〒, spaces and hyphen-like characters (NumberWithoutHyphens)
    PostalFirstPart,   // PostalCodeFirstPart of the postal code
    PostalSecondPart,  // PostalCodeSecondPart of the postal code
    MailLocalPart,     // the address before its first "@"
    MailDomainPart,    // the address after its first "@"
    // The birth date, once it has parsed:
    SlashDate,       // yyyy/mm/dd
    YearFourDigits,  // yyyy
    YearTwoDigits,   // yy
    MonthTwoDigits,  // mm
    DayTwoDigits,    // dd
    MonthNoZero,     // m, 1-12
    DayNoZero,       // d, 1-31
    EraDate,         // era name, era year, 年, month, 月, day, 日
    EraYear,         // era name, era year, 年
    EraMonth,        // month, 月
    EraDay,          // day, 日
    EraYearNumber,   // the era year alone, as a number: 61
    DateBoxKeys,     // yyyy/mm/dd, typed as a browser's date box takes its keys (see Composition::typed)
    // The romaji name family first, the family name in capitals: YAMADA Hanako.
    RomajiFamilyFirst,
};

struct ComposeRule {
    ComposeRuleKind kind = ComposeRuleKind::GroupText;
    std::array<int, 4> fields{};  // JoinFields only: indexes into the user record
    int fieldCount = 0;
    std::string_view separator;
};

// A rule that joins up to four fields of the user record.
constexpr ComposeRule JoinedFields(std::string_view separator, std::initializer_list<int> fields) {
    ComposeRule rule{ComposeRuleKind::JoinFields, {}, 0, separator};
    for (const int field : fields) {
        rule.fields.at(static_cast<std::size_t>(rule.fieldCount++)) = field;
    }
    return rule;
}

// The same fields joined, then stripped to the bare number.
constexpr ComposeRule BareJoinedFields(std::initializer_list<int> fields) {
    ComposeRule rule = JoinedFields("", fields);
    rule.kind = ComposeRuleKind::JoinFieldsBare;
    return rule;
}

struct MenuEntry {
    MenuItemId id;
    int menu;                  // n of PopupMenun
    std::string_view name;     // the item's Name, unique in the window; the action's object name
    std::string_view caption;  // UTF-8
    int tag;
    int image;  // index into the image list; -1 for none
    MenuEntryKind kind;
    std::optional<MenuItemId> submenuOf;  // the submenu head this row belongs to; none at the menu's top
    ComposeRule rule;                     // Compose rows only
};

// Every entry of every menu, each menu's entries in their order.
std::span<const MenuEntry> PopupMenuEntries();

// The row of an item.
const MenuEntry& MenuEntryOf(MenuItemId id);

// The popup menu a right press on the field button with this Tag opens; nothing for the others.
std::optional<int> PopupMenuForButtonTag(int tag);
