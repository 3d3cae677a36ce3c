#include "toolbar/composition.h"

#include "data/app_error.h"
#include "data/char_width.h"
#include "data/japanese_era.h"
#include "data/sjis.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <string_view>

namespace {

constexpr int kBirthButtonTag = 13;
constexpr int kBirthMenuTag = 28;

// A field button's text: fields joined in order, with a separator between them.
struct ButtonJoin {
    int tag;
    ComposeRule join;
};

constexpr std::array kButtonJoins{
    ButtonJoin{0, JoinedFields("", {PostalCode})},
    ButtonJoin{1, JoinedFields("", {Prefecture, City, Address1, Address2})},
    ButtonJoin{2, JoinedFields("", {FamilyName, GivenName})},
    ButtonJoin{3, JoinedFields("", {Sex})},
    ButtonJoin{4, JoinedFields("", {Age})},
    ButtonJoin{5, JoinedFields("", {Occupation})},
    ButtonJoin{6, JoinedFields("-", {PhoneArea, PhoneExchange, PhoneNumber})},
    ButtonJoin{7, JoinedFields("-", {FaxArea, FaxExchange, FaxNumber})},
    ButtonJoin{8, JoinedFields("", {Email})},
    ButtonJoin{9, JoinedFields("", {Url})},
    ButtonJoin{10, JoinedFields("", {Memo1})},
};

const std::string& fieldAt(const UserRecord& record, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= record.size()) {
        throw indexOutOfRange(index);
    }
    return record[static_cast<std::size_t>(index)];
}

// Fields are read one after another, so a short record fails on the first index it lacks.
std::string joinedText(const ComposeRule& join, const UserRecord& record) {
    std::string text;
    for (int i = 0; i < join.fieldCount; ++i) {
        if (i > 0) {
            text += join.separator;
        }
        text += fieldAt(record, join.fields[static_cast<std::size_t>(i)]);
    }
    return text;
}

std::string twoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

// The era name and the year within the era, "01" for its first year, followed by 年; empty before the
// first era the table knows.
std::string eraYearText(const CalendarDate& date) {
    const auto era = JapaneseEraOf(date);
    if (!era) {
        return {};
    }
    return era->eraName + twoDigits(era->year) + sjis::fromUtf8("年");
}

std::string birthItemText(ComposeRuleKind rule, const CalendarDate& date) {
    const std::string monthText = twoDigits(date.month) + sjis::fromUtf8("月");
    const std::string dayText = twoDigits(date.day) + sjis::fromUtf8("日");
    switch (rule) {
        case ComposeRuleKind::YearFourDigits:
            return SlashDateText(date).substr(0, 4);
        case ComposeRuleKind::YearTwoDigits:
            return twoDigits(date.year % 100);
        case ComposeRuleKind::MonthTwoDigits:
            return twoDigits(date.month);
        case ComposeRuleKind::DayTwoDigits:
            return twoDigits(date.day);
        case ComposeRuleKind::MonthNoZero:
            return std::to_string(date.month);
        case ComposeRuleKind::DayNoZero:
            return std::to_string(date.day);
        case ComposeRuleKind::EraDate: {
            const std::string year = eraYearText(date);
            return year.empty() ? std::string() : year + monthText + dayText;
        }
        case ComposeRuleKind::EraYear:
            return eraYearText(date);
        case ComposeRuleKind::EraYearNumber: {
            const auto era = JapaneseEraOf(date);
            return era ? std::to_string(era->year) : std::string();
        }
        case ComposeRuleKind::EraMonth:
            return monthText;
        case ComposeRuleKind::EraDay:
            return dayText;
        default:
            return SlashDateText(date);  // the button, Birth1, and an item of another group
    }
}

// The keys a browser's date box takes, year first as in its Japanese order: Chromium's year field waits for
// up to six digits and moves on by a Tab, Firefox's moves on by itself after four (and skips a Tab-less
// text's tab: see TypeCharacters); both move on after the month's two digits.
std::string dateBoxKeys(const CalendarDate& date) {
    return SlashDateText(date).substr(0, 4) + "\t" + twoDigits(date.month) + twoDigits(date.day);
}

Composition birthComposition(ComposeRuleKind rule, const UserRecord& record, const CalendarDate& today) {
    if (record.size() < static_cast<std::size_t>(kFieldCount)) {
        return {Composition::Kind::SilentStop, {}};
    }
    const std::string dateText = BirthDateText(record[BirthYear], record[BirthMonth], record[BirthDay]);
    const auto date = ParseBirthDate(dateText, today);
    if (!date) {
        return {Composition::Kind::InvalidBirthDate,
                dateText + sjis::fromUtf8("は有効な日付ではありません。")};
    }
    if (rule == ComposeRuleKind::DateBoxKeys) {
        return {Composition::Kind::Text, SlashDateText(*date), dateBoxKeys(*date)};
    }
    return {Composition::Kind::Text, birthItemText(rule, *date)};
}

// The item's rule counts only within its own group; elsewhere the group's text stands.
ComposeRuleKind ruleWithinGroup(int tag, std::optional<MenuItemId> item) {
    if (!item || MenuEntryOf(*item).tag != tag) {
        return ComposeRuleKind::GroupText;
    }
    return MenuEntryOf(*item).rule.kind;
}

std::string menuItemText(int tag, std::optional<MenuItemId> item, const UserRecord& record) {
    // The field the Tag names is read first, even where the item's rule then replaces the text.
    std::string text = fieldAt(record, tag);
    if (tag == 8) {
        // The e-mail group starts from the whole address (its Tag is the index of the age field).
        text = fieldAt(record, Email);
    }
    switch (ruleWithinGroup(tag, item)) {
        case ComposeRuleKind::JoinFields:
            return joinedText(MenuEntryOf(*item).rule, record);
        case ComposeRuleKind::JoinFieldsBare:
            return NumberWithoutHyphens(joinedText(MenuEntryOf(*item).rule, record));
        case ComposeRuleKind::PostalFirstPart:
            return PostalCodeFirstPart(fieldAt(record, PostalCode));
        case ComposeRuleKind::PostalSecondPart:
            return PostalCodeSecondPart(fieldAt(record, PostalCode));
        case ComposeRuleKind::MailLocalPart:
            return MailLocalPart(text);
        case ComposeRuleKind::MailDomainPart:
            return MailDomainPart(text);
        case ComposeRuleKind::RomajiFamilyFirst: {
            std::string family = fieldAt(record, FamilyNameRomaji);
            std::transform(family.begin(), family.end(), family.begin(), [](char c) {
                return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
            });
            return family + " " + fieldAt(record, GivenNameRomaji);
        }
        default:
            return text;
    }
}

// Offset of the first "@" that is a character of its own, not the second byte of a double-byte character.
std::size_t firstAtSign(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); i += sjis::charLengthAt(text, i)) {
        if (text[i] == '@') {
            return i;
        }
    }
    return std::string::npos;
}

// What a number written for people carries besides its digits, as code page 932 characters: the postal
// mark, the half- and full-width space, and the hyphen-like characters. The minus sign and the em dash have
// no code of their own there; the editor stores them as the full-width hyphen-minus and the horizontal
// bar, so they go with those. The box-drawing bars go too: in a number they can only stand for a hyphen.
constexpr std::array<std::string_view, 11> kNumberDecoration{
    "\x81\xA7",  // 〒
    " ",
    "\x81\x40",  // full-width space
    "-",
    "\x81\x7C",  // － (also the minus sign −)
    "\x81\x5B",  // ー
    "\xB0",      // ｰ, the half-width ー
    "\x81\x5D",  // ‐
    "\x81\x5C",  // ― (also the em dash —)
    "\x84\x9F",  // ─
    "\x84\xAA",  // ━
};

}  // namespace

std::string NumberWithoutHyphens(const std::string& text) {
    // Whole characters, so the second byte of a double-byte character is never taken for one of its own.
    std::string bare;
    for (std::size_t i = 0; i < text.size();) {
        const std::string_view character(text.data() + i, sjis::charLengthAt(text, i));
        if (std::ranges::find(kNumberDecoration, character) == kNumberDecoration.end()) {
            bare += character;
        }
        i += character.size();
    }
    return bare;
}

// Cut by characters, so that a code stored in full width (１５０－０００１) gives whole characters.
std::string PostalCodeFirstPart(const std::string& postalCode) {
    return sjis::leftChars(postalCode, 3);
}

std::string PostalCodeSecondPart(const std::string& postalCode) {
    // Seven characters are digits without a hyphen; otherwise a hyphen is taken to follow the third digit.
    const std::size_t start = sjis::charCount(postalCode) == 7 ? 3 : 4;
    const std::size_t skipped = sjis::leftChars(postalCode, start).size();
    return sjis::leftChars(std::string_view(postalCode).substr(skipped), 4);
}

std::string MailLocalPart(const std::string& email) {
    const auto at = firstAtSign(email);
    return at == std::string::npos ? std::string() : email.substr(0, at);
}

std::string MailDomainPart(const std::string& email) {
    const auto at = firstAtSign(email);
    return at == std::string::npos ? email : email.substr(at + 1);
}

Composition ComposeFieldText(ClickSender sender, int tag, std::optional<MenuItemId> item,
                             const UserRecord& record, const CalendarDate& today) {
    if (record.empty()) {
        return {
            Composition::Kind::NoUserFileNotice,
            sjis::fromUtf8("ユーザーファイルが読まれておりません。\r切替ボタンを押してリストから選択するか\r"
                           "新規作成して下さい。")};
    }
    if (sender == ClickSender::FieldButton) {
        if (tag == kBirthButtonTag) {
            return birthComposition(ComposeRuleKind::SlashDate, record, today);
        }
        for (const ButtonJoin& button : kButtonJoins) {
            if (button.tag == tag) {
                return {Composition::Kind::Text, joinedText(button.join, record)};
            }
        }
        return {Composition::Kind::Text, {}};
    }
    if (tag == kBirthMenuTag) {
        return birthComposition(ruleWithinGroup(tag, item), record, today);
    }
    return {Composition::Kind::Text, menuItemText(tag, item, record)};
}

WidthScope WidthScopeOf(ClickSender sender, int tag, std::optional<MenuItemId> item) {
    if (sender == ClickSender::MenuItem && item && MenuEntryOf(*item).tag == tag) {
        switch (*item) {
            case MenuItemId::Katakana1:
            case MenuItemId::Katakana2:
            case MenuItemId::Katakana3:
            case MenuItemId::Katakana4:
                return WidthScope::Katakana;
            default:
                break;
        }
    }
    // The postal code, the address, the age, the telephone and fax numbers and the birth date, from the
    // buttons and their menus alike.
    switch (tag) {
        case 0:
        case 1:
        case 4:
        case 6:
        case 7:
        case kBirthButtonTag:
        case kBirthMenuTag:
            return WidthScope::Numbers;
        default:
            return WidthScope::None;
    }
}

std::string InTextWidth(const std::string& text, TextWidth width, WidthScope scope) {
    if (width == TextWidth::AsStored || scope == WidthScope::None) {
        return text;
    }
    const bool katakana = scope == WidthScope::Katakana;
    return width == TextWidth::Half ? width::toHalfWidth(text, katakana) : width::toFullWidth(text, katakana);
}
