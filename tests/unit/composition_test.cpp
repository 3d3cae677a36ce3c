#include "toolbar/composition.h"
#include "data/app_error.h"
#include "data/sjis.h"
#include "toolbar/menu_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

// Readable failure output for the composition results.
void PrintTo(const Composition& composition, std::ostream* out) {
    *out << "kind " << static_cast<int>(composition.kind) << " text \"" << sjis::toUtf8(composition.text)
         << "\"";
}

namespace {

constexpr CalendarDate kToday{2026, 4, 9};
using Kind = Composition::Kind;
using S = ClickSender;
using Id = MenuItemId;

// Field i of the sample record.
// clang-format off
const char* const kSampleFields[kFieldCount] = {
    "123-4567", "東京都", "千代田区", "丸の内1-1", "ビル2F", "山田", "太郎", "男", "55", "会社員",
    "03", "1234", "5678", "045", "876", "4321", "taro@example.jp", "http://example.jp/",
    "メモ一", "メモ二", "メモ三", "メモ四", "やまだ", "たろう", "ヤマダ", "タロウ", "Yamada", "Taro",
    "1970", "4", "10"};
// clang-format on

UserRecord sampleRecord() {
    UserRecord record;
    for (const char* field : kSampleFields) {
        record.push_back(sjis::fromUtf8(field));
    }
    return record;
}

Composition text(std::string_view utf8) {
    return {Kind::Text, sjis::fromUtf8(utf8)};
}

TEST(Composition, EveryFieldButtonOnAFullRecord) {
    // clang-format off
    const char* const byTag[] = {
        "123-4567", "東京都千代田区丸の内1-1ビル2F", "山田太郎", "男", "55", "会社員", "03-1234-5678",
        "045-876-4321", "taro@example.jp", "http://example.jp/", "メモ一", "", "", "1970/04/10", ""};
    // clang-format on
    for (int tag = 0; tag < 15; ++tag) {
        EXPECT_EQ(ComposeFieldText(S::FieldButton, tag, std::nullopt, sampleRecord(), kToday),
                  text(byTag[tag]))
            << tag;
    }
}

// Every composing item of the menu table, with its own Tag, on the sample record.
TEST(Composition, EveryMenuItemOnAFullRecord) {
    // clang-format off
    const std::map<std::string_view, const char*> byName{
        {"Post", "123-4567"}, {"Post1", "123"}, {"Post2", "4567"}, {"Post3", "1234567"},
        {"Adrr", "東京都千代田区丸の内1-1ビル2F"}, {"Adrr5", "千代田区丸の内1-1ビル2F"}, {"Adrr6", "丸の内1-1ビル2F"},
        {"Adrr1", "東京都"}, {"Adrr2", "千代田区"}, {"Adrr3", "丸の内1-1"}, {"Adrr4", "ビル2F"},
        {"Kanji1", "山田太郎"}, {"Kanji2", "山田"}, {"Kanji3", "太郎"},
        {"Hiragana1", "やまだたろう"}, {"Hiragana2", "やまだ"}, {"Hiragana3", "たろう"},
        {"Katakana1", "ヤマダタロウ"}, {"Katakana2", "ヤマダ"}, {"Katakana3", "タロウ"},
        {"Romaji1", "Taro Yamada"}, {"Romaji2", "Yamada"}, {"Romaji3", "Taro"},
        {"Phon", "03-1234-5678"}, {"Phon1", "03"}, {"Phon2", "1234"}, {"Phon3", "5678"}, {"Phon4", "0312345678"},
        {"Fax", "045-876-4321"}, {"Fax1", "045"}, {"Fax2", "876"}, {"Fax3", "4321"}, {"Fax4", "0458764321"},
        {"Mail", "taro@example.jp"}, {"Mail1", "taro"}, {"Mail2", "example.jp"},
        {"Memo1", "メモ一"}, {"Memo2", "メモ二"}, {"Memo3", "メモ三"}, {"Memo4", "メモ四"},
        {"Birth1", "1970/04/10"}, {"Birth2", "1970"}, {"Birth3", "70"}, {"Birth4", "04"}, {"Birth5", "10"},
        {"Birth6", "4"}, {"Birth7", "10"},
        {"WaBirth1", "昭和45年04月10日"}, {"WaBirth2", "昭和45年"}, {"WaBirth3", "04月"}, {"WaBirth4", "10日"},
        {"Kanji4", "山田　太郎"}, {"Hiragana4", "やまだ　たろう"}, {"Katakana4", "ヤマダ　タロウ"},
        {"Romaji4", "Yamada Taro"}, {"Romaji5", "YAMADA Taro"}, {"Adrr7", "千代田区丸の内1-1"}, {"WaBirth5", "45"},
        {"Birth8", "1970/04/10"}};
    // clang-format on
    std::size_t checked = 0;
    for (const MenuEntry& entry : PopupMenuEntries()) {
        if (entry.kind != MenuEntryKind::Compose) {
            continue;
        }
        const auto expected = byName.find(entry.name);
        ASSERT_NE(expected, byName.end()) << entry.name;
        const Composition composed =
            ComposeFieldText(S::MenuItem, entry.tag, entry.id, sampleRecord(), kToday);
        EXPECT_EQ(Composition(composed.kind, composed.text), text(expected->second)) << entry.name;
        ++checked;
    }
    EXPECT_EQ(checked, byName.size());
    // An item's rule counts only within its own group: elsewhere the item gives the field its Tag names.
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 0, Id::Adrr5, sampleRecord(), kToday), text("123-4567"));
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 2, Id::Post1, sampleRecord(), kToday), text("千代田区"));
    // A date box's keys: the year, a tab where Chromium's year field waits for more digits, month and day.
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, Id::Birth8, sampleRecord(), kToday).typed, "1970\t0410");
}

TEST(Composition, EmptyFieldsGiveEmptyTextButJoinsKeepTheirSeparators) {
    const UserRecord record = emptyUserRecord();
    EXPECT_EQ(ComposeFieldText(S::FieldButton, 6, std::nullopt, record, kToday), text("--"));
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 7, Id::Fax, record, kToday), text("--"));
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 2, Id::Romaji1, record, kToday), text(" "));
    for (const int tag : {0, 1, 2, 3, 4, 5, 8, 9, 10}) {
        EXPECT_EQ(ComposeFieldText(S::FieldButton, tag, std::nullopt, record, kToday), text("")) << tag;
    }
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 21, Id::Memo4, record, kToday), text(""));
}

TEST(Composition, NoUserFileLoadedForEverySender) {
    const Composition notice{Kind::NoUserFileNotice,
                             sjis::fromUtf8("ユーザーファイルが読まれておりません。\r"
                                            "切替ボタンを押してリストから選択するか\r新規作成して下さい。")};
    EXPECT_EQ(ComposeFieldText(S::FieldButton, 0, std::nullopt, {}, kToday), notice);
    EXPECT_EQ(ComposeFieldText(S::FieldButton, 13, std::nullopt, {}, kToday), notice);
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 8, Id::Mail2, {}, kToday), notice);
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, Id::WaBirth1, {}, kToday), notice);
}

TEST(Composition, BirthDateThatDoesNotParseIsReported) {
    struct Case {
        const char *year, *month, *day, *shown;
    };
    const Case cases[] = {
        {"", "", "", "//"},
        {"1970", "13", "1", "1970/13/1"},
        {" 1970", "2", "30 ", " 1970/2/30 "},
    };
    for (const auto& c : cases) {
        UserRecord record = sampleRecord();
        record[BirthYear] = c.year;
        record[BirthMonth] = c.month;
        record[BirthDay] = c.day;
        const Composition expected{Kind::InvalidBirthDate,
                                   sjis::fromUtf8(std::string(c.shown) + "は有効な日付ではありません。")};
        EXPECT_EQ(ComposeFieldText(S::FieldButton, 13, std::nullopt, record, kToday), expected) << c.shown;
        EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, Id::WaBirth3, record, kToday), expected) << c.shown;
        EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, Id::Birth7, record, kToday), expected) << c.shown;
    }
}

TEST(Composition, BirthItemsStopSilentlyOnARecordWithoutAllBirthFields) {
    UserRecord record = sampleRecord();
    record.resize(30);
    EXPECT_EQ(ComposeFieldText(S::FieldButton, 13, std::nullopt, record, kToday),
              (Composition{Kind::SilentStop, ""}));
    for (const Id item : {Id::Birth1, Id::Birth5, Id::Birth6, Id::WaBirth1, Id::WaBirth4}) {
        EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, item, record, kToday),
                  (Composition{Kind::SilentStop, ""}))
            << MenuEntryOf(item).name;
    }
    record = sampleRecord();
    record.push_back("extra");
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, Id::Birth1, record, kToday), text("1970/04/10"));
}

TEST(Composition, BirthTextsForOtherDates) {
    struct Case {
        const char *year, *month, *day;
        Id item;
        const char* text;
    };
    const Case cases[] = {
        {"05", "1", "2", Id::Birth1, "2005/01/02"},
        {"05", "1", "2", Id::Birth2, "2005"},
        {"970", "1", "2", Id::Birth2, "0970"},
        {"1989", "1", "7", Id::WaBirth2, "昭和64年"},
        {"1989", "1", "8", Id::WaBirth1, "平成01年01月08日"},
        {"2019", "5", "1", Id::WaBirth1, "令和01年05月01日"},
        {"1868", "1", "1", Id::WaBirth2, "明治01年"},
        {"1867", "12", "31", Id::WaBirth1, ""},
        {"1867", "12", "31", Id::WaBirth3, "12月"},
        {"1867", "12", "31", Id::WaBirth4, "31日"},
        {"2075", "1", "1", Id::Birth1, "2075/01/01"},  // a date after today is still written
    };
    for (const auto& c : cases) {
        UserRecord record = sampleRecord();
        record[BirthYear] = c.year;
        record[BirthMonth] = c.month;
        record[BirthDay] = c.day;
        EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, c.item, record, kToday), text(c.text))
            << c.year << "/" << c.month << "/" << c.day << " " << MenuEntryOf(c.item).name;
    }
}

TEST(Composition, OtherItemsFailOnTheFirstFieldTheRecordLacks) {
    struct Case {
        ClickSender sender;
        int tag;
        std::optional<Id> item;
        std::size_t lines;
        int index;
    };
    const Case cases[] = {
        {S::FieldButton, 1, std::nullopt, 3, 3},
        {S::MenuItem, 6, Id::Phon1, 5, 6},      // the item's own field is read first
        {S::MenuItem, 2, Id::Romaji1, 27, 27},  // the given name is read before the family name
        {S::MenuItem, 21, Id::Memo4, 21, 21},
    };
    for (const auto& c : cases) {
        UserRecord record = sampleRecord();
        record.resize(c.lines);
        try {
            ComposeFieldText(c.sender, c.tag, c.item, record, kToday);
            ADD_FAILURE() << "Tag " << c.tag << " with " << c.lines << " lines composed";
        } catch (const AppError& error) {
            EXPECT_EQ(error.message(), indexOutOfRange(c.index).message()) << "Tag " << c.tag;
        }
    }
}

TEST(PostalCodeParts, CutByCharacters) {
    struct Case {
        std::string code;
        std::string first;
        std::string second;
    };
    const std::string wide = sjis::fromUtf8("１２３４５６７");
    const Case cases[] = {
        {"1234567", "123", "4567"},
        {"123-4567", "123", "4567"},
        {"123", "123", ""},
        {"1234", "123", ""},
        {"12345", "123", "5"},
        {"", "", ""},
        {"12", "12", ""},
        {"123-45678", "123", "4567"},
        {wide, wide.substr(0, 6), wide.substr(6, 8)},  // seven full-width characters
        {sjis::fromUtf8("１５０－０００１"), sjis::fromUtf8("１５０"), sjis::fromUtf8("０００１")},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PostalCodeFirstPart(c.code), c.first) << c.code;
        EXPECT_EQ(PostalCodeSecondPart(c.code), c.second) << c.code;
    }
}

TEST(NumberWithoutHyphens, KeepsTheDigitsAsStoredAndDropsTheMarkSpacesAndHyphens) {
    const std::pair<const char*, const char*> cases[] = {
        {"〒123-4567", "1234567"},
        {"〒 １２３－４５６７", "１２３４５６７"},
        {"0-1－2ー3‐4―5−6 7　8—9", "0123456789"},  // − and — are stored as － and ―
        {"03ｰ1234ｰ5678", "0312345678"},
        {"1─2━3", "123"},
        {"香@", "香@"},  // 香 ends in the first byte of the full-width space
    };
    for (const auto& [stored, bare] : cases) {
        EXPECT_EQ(NumberWithoutHyphens(sjis::fromUtf8(stored)), sjis::fromUtf8(bare)) << stored;
    }
}

TEST(MailParts, CutAtTheFirstAtSign) {
    struct Case {
        std::string email;
        std::string local;
        std::string domain;
    };
    const std::string in = sjis::fromUtf8("院");  // its second byte is the code of "@"
    const Case cases[] = {
        {"taro@example.jp", "taro", "example.jp"},
        {"a@b@c", "a", "b@c"},
        {"taro", "", "taro"},
        {"@x", "", "x"},
        {"x@", "x", ""},
        {"", "", ""},
        {in + "@x", in, "x"},
        {in, "", in},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MailLocalPart(c.email), c.local) << c.email;
        EXPECT_EQ(MailDomainPart(c.email), c.domain) << c.email;
    }
}

TEST(MenuTable, NamesAreUniqueAndSubmenusFollowTheirHeads) {
    std::set<std::string_view> names;
    std::set<Id> heads;
    std::map<int, int> entriesPerMenu;
    for (const MenuEntry& entry : PopupMenuEntries()) {
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " twice";
        EXPECT_EQ(&MenuEntryOf(entry.id), &entry) << entry.name;
        ++entriesPerMenu[entry.menu];
        if (entry.kind == MenuEntryKind::SubmenuHead) {
            heads.insert(entry.id);
        }
        if (entry.submenuOf) {
            EXPECT_TRUE(heads.count(*entry.submenuOf) && MenuEntryOf(*entry.submenuOf).menu == entry.menu)
                << entry.name << " follows no head of its menu";
        }
    }
    EXPECT_EQ(
        entriesPerMenu,
        (std::map<int, int>{{1, 6}, {2, 21}, {3, 4}, {4, 10}, {5, 4}, {6, 7}, {7, 7}, {8, 7}, {9, 16}}));
}

TEST(MenuTable, RightPressOpensTheMenuOfTheButtonsTag) {
    const std::map<int, int> menus{{0, 1}, {1, 4}, {2, 2}, {6, 6}, {7, 7}, {8, 3}, {10, 5}, {12, 8}, {13, 9}};
    for (int tag = -1; tag <= 15; ++tag) {
        const auto it = menus.find(tag);
        EXPECT_EQ(PopupMenuForButtonTag(tag),
                  it == menus.end() ? std::nullopt : std::optional<int>(it->second))
            << tag;
    }
}

}  // namespace
