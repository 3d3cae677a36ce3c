#include "toolbar/composition.h"

#include "data/app_error.h"
#include "data/japanese_era.h"
#include "data/sjis.h"

#include <array>
#include <cstdio>
#include <optional>

namespace {

constexpr int kBirthButtonTag = 13;
constexpr int kBirthMenuTag = 28;

// A text joined from fields in the order given, with a separator between them.
struct Join {
    int tag;
    std::string_view name;  // empty for a field button's own composition
    std::array<int, 4> fields;
    int fieldCount;
    std::string_view separator;
};

constexpr std::array kButtonJoins{
    Join{0, "", {PostalCode}, 1, ""},
    Join{1, "", {Prefecture, City, Address1, Address2}, 4, ""},
    Join{2, "", {FamilyName, GivenName}, 2, ""},
    Join{3, "", {Sex}, 1, ""},
    Join{4, "", {Age}, 1, ""},
    Join{5, "", {Occupation}, 1, ""},
    Join{6, "", {PhoneArea, PhoneExchange, PhoneNumber}, 3, "-"},
    Join{7, "", {FaxArea, FaxExchange, FaxNumber}, 3, "-"},
    Join{8, "", {Email}, 1, ""},
    Join{9, "", {Url}, 1, ""},
    Join{10, "", {Memo1}, 1, ""},
};

constexpr std::array kMenuJoins{
    Join{1, "Adrr", {Prefecture, City, Address1, Address2}, 4, ""},
    Join{1, "Adrr5", {City, Address1, Address2}, 3, ""},
    Join{1, "Adrr6", {Address1, Address2}, 2, ""},
    Join{1, "Adrr1", {Prefecture}, 1, ""},
    Join{1, "Adrr2", {City}, 1, ""},
    Join{1, "Adrr3", {Address1}, 1, ""},
    Join{1, "Adrr4", {Address2}, 1, ""},
    Join{2, "Kanji1", {FamilyName, GivenName}, 2, ""},
    Join{2, "Kanji2", {FamilyName}, 1, ""},
    Join{2, "Kanji3", {GivenName}, 1, ""},
    Join{2, "Hiragana1", {FamilyNameHiragana, GivenNameHiragana}, 2, ""},
    Join{2, "Hiragana2", {FamilyNameHiragana}, 1, ""},
    Join{2, "Hiragana3", {GivenNameHiragana}, 1, ""},
    Join{2, "Katakana1", {FamilyNameKatakana, GivenNameKatakana}, 2, ""},
    Join{2, "Katakana2", {FamilyNameKatakana}, 1, ""},
    Join{2, "Katakana3", {GivenNameKatakana}, 1, ""},
    Join{2, "Romaji1", {GivenNameRomaji, FamilyNameRomaji}, 2, " "},  // given name first
    Join{2, "Romaji2", {FamilyNameRomaji}, 1, ""},
    Join{2, "Romaji3", {GivenNameRomaji}, 1, ""},
    Join{6, "Phon", {PhoneArea, PhoneExchange, PhoneNumber}, 3, "-"},
    Join{6, "Phon1", {PhoneArea}, 1, ""},
    Join{6, "Phon2", {PhoneExchange}, 1, ""},
    Join{6, "Phon3", {PhoneNumber}, 1, ""},
    Join{7, "Fax", {FaxArea, FaxExchange, FaxNumber}, 3, "-"},
    Join{7, "Fax1", {FaxArea}, 1, ""},
    Join{7, "Fax2", {FaxExchange}, 1, ""},
    Join{7, "Fax3", {FaxNumber}, 1, ""},
};

const std::string& fieldAt(const UserRecord& record, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= record.size()) {
        throw indexOutOfRange(index);
    }
    return record[static_cast<std::size_t>(index)];
}

// Fields are read one after another, so a short record fails on the first index it lacks.
std::string joinedText(const Join& join, const UserRecord& record) {
    std::string text;
    for (int i = 0; i < join.fieldCount; ++i) {
        if (i > 0) {
            text += join.separator;
        }
        text += fieldAt(record, join.fields[static_cast<std::size_t>(i)]);
    }
    return text;
}

template <std::size_t N>
const Join* findJoin(const std::array<Join, N>& joins, int tag, std::string_view name) {
    for (const Join& join : joins) {
        if (join.tag == tag && join.name == name) {
            return &join;
        }
    }
    return nullptr;
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

std::string birthItemText(std::string_view name, const CalendarDate& date) {
    if (name == "Birth2") {
        return SlashDateText(date).substr(0, 4);
    }
    if (name == "Birth3") {
        return twoDigits(date.year % 100);
    }
    if (name == "Birth4") {
        return twoDigits(date.month);
    }
    if (name == "Birth5") {
        return twoDigits(date.day);
    }
    const std::string monthText = twoDigits(date.month) + sjis::fromUtf8("月");
    const std::string dayText = twoDigits(date.day) + sjis::fromUtf8("日");
    if (name == "WaBirth1") {
        const std::string year = eraYearText(date);
        return year.empty() ? std::string() : year + monthText + dayText;
    }
    if (name == "WaBirth2") {
        return eraYearText(date);
    }
    if (name == "WaBirth3") {
        return monthText;
    }
    if (name == "WaBirth4") {
        return dayText;
    }
    return SlashDateText(date);  // the button and Birth1
}

Composition birthComposition(std::string_view name, const UserRecord& record, const CalendarDate& today) {
    if (record.size() < static_cast<std::size_t>(kFieldCount)) {
        return {Composition::Kind::SilentStop, {}};
    }
    const std::string dateText = BirthDateText(record[BirthYear], record[BirthMonth], record[BirthDay]);
    const auto date = ParseBirthDate(dateText, today);
    if (!date) {
        return {Composition::Kind::InvalidBirthDate,
                dateText + sjis::fromUtf8("は有効な日付ではありません。")};
    }
    return {Composition::Kind::Text, birthItemText(name, *date)};
}

std::string menuItemText(int tag, std::string_view name, const UserRecord& record) {
    // The item's own field comes first, even where its Name then replaces the text.
    std::string text = fieldAt(record, tag);
    if (tag == 0 && name == "Post1") {
        return PostalCodeFirstPart(fieldAt(record, PostalCode));
    }
    if (tag == 0 && name == "Post2") {
        return PostalCodeSecondPart(fieldAt(record, PostalCode));
    }
    if (tag == 8) {
        // The e-mail group starts from the whole address (its Tag is the index of the age field).
        const std::string& email = fieldAt(record, Email);
        if (name == "Mail1") {
            return MailLocalPart(email);
        }
        return name == "Mail2" ? MailDomainPart(email) : email;
    }
    if (const Join* join = findJoin(kMenuJoins, tag, name)) {
        return joinedText(*join, record);
    }
    return text;
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

}  // namespace

std::string PostalCodeFirstPart(const std::string& postalCode) {
    return postalCode.substr(0, 3);
}

std::string PostalCodeSecondPart(const std::string& postalCode) {
    // Seven characters are digits without a hyphen; otherwise a hyphen is taken to follow the third digit.
    const std::size_t start = sjis::charCount(postalCode) == 7 ? 3 : 4;
    return start < postalCode.size() ? postalCode.substr(start, 4) : std::string();
}

std::string MailLocalPart(const std::string& email) {
    const auto at = firstAtSign(email);
    return at == std::string::npos ? std::string() : email.substr(0, at);
}

std::string MailDomainPart(const std::string& email) {
    const auto at = firstAtSign(email);
    return at == std::string::npos ? email : email.substr(at + 1);
}

Composition ComposeFieldText(ClickSender sender, int tag, std::string_view itemName, const UserRecord& record,
                             const CalendarDate& today) {
    if (record.empty()) {
        return {
            Composition::Kind::NoUserFileNotice,
            sjis::fromUtf8("ユーザーファイルが読まれておりません。\r切替ボタンを押してリストから選択するか\r"
                           "新規作成して下さい。")};
    }
    if (sender == ClickSender::FieldButton) {
        if (tag == kBirthButtonTag) {
            return birthComposition({}, record, today);
        }
        const Join* join = findJoin(kButtonJoins, tag, {});
        return {Composition::Kind::Text, join ? joinedText(*join, record) : std::string()};
    }
    if (tag == kBirthMenuTag) {
        return birthComposition(itemName, record, today);
    }
    return {Composition::Kind::Text, menuItemText(tag, itemName, record)};
}
