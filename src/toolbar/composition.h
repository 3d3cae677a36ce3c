#pragma once

#include "data/birth_date.h"
#include "data/user_record.h"
#include "toolbar/menu_table.h"

#include <optional>
#include <string>
#include <utility>

// What a click on a field button or a field menu item composes from the user record. The window shows the
// notices, puts a non-empty text on the clipboard and pastes it; this logic touches neither.

enum class ClickSender { FieldButton, MenuItem };

struct Composition {
    enum class Kind {
        Text,              // text is the composed Shift-JIS text; empty means nothing happens
        NoUserFileNotice,  // text is the notice that no user file is loaded
        InvalidBirthDate,  // text is the notice that the birth date is not a valid date
        SilentStop,        // a birth-date click on a record too short to hold the birth fields
    };
    Composition(Kind kind = Kind::Text, std::string text = {}, std::string typed = {})
        : kind(kind), text(std::move(text)), typed(std::move(typed)) {}

    Kind kind;
    std::string text;
    // What a Shift+click types instead of the text, where it differs: a date box's keys, where a tab stands
    // for the key that moves to the box's next field in a browser whose field waits for more digits.
    std::string typed;

    bool operator==(const Composition&) const = default;
};

// Composes for the sender's Tag and, for a menu item, the item's own rule, which counts only within the
// group its Tag names. A field button passes no item. Throws AppError (indexOutOfRange) when the record is
// too short for a field the sender reads.
Composition ComposeFieldText(ClickSender sender, int tag, std::optional<MenuItemId> item,
                             const UserRecord& record, const CalendarDate& today);

// Parts of the texts, exposed for their own rules.
std::string PostalCodeFirstPart(const std::string& postalCode);   // first three bytes
std::string PostalCodeSecondPart(const std::string& postalCode);  // the last four digits
std::string MailLocalPart(const std::string& email);              // before the first "@"; empty without one
std::string MailDomainPart(const std::string& email);             // after the first "@"; whole without one
// Without the postal mark, spaces and hyphen-like characters; the digits as stored, half or full width.
std::string NumberWithoutHyphens(const std::string& text);

// The width the user asked every text in, for the rest of the run (a form asks for one width throughout).
enum class TextWidth { AsStored = 0, Half = 1, Full = 2 };
// What of a text takes the width: the digits, letters, symbols and spaces of the numbers and the address;
// with them the kana of the katakana reading; nothing of the other details (names, e-mail, memos).
enum class WidthScope { None, Numbers, Katakana };
WidthScope WidthScopeOf(ClickSender sender, int tag, std::optional<MenuItemId> item);
// The text in that width where its scope takes one; the stored text is never changed.
std::string InTextWidth(const std::string& text, TextWidth width, WidthScope scope);
