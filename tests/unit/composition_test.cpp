#include "toolbar/composition.h"
#include "data/app_error.h"
#include "data/sjis.h"
#include "toolbar/menu_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

// Readable failure output for the composition results.
void PrintTo(const Composition& composition, std::ostream* out) {
    *out << "kind " << static_cast<int>(composition.kind) << " text \""
         << sjis::toUnicode(composition.text).toStdString() << "\"";
}

namespace {

constexpr CalendarDate kToday{2026, 4, 9};
using Kind = Composition::Kind;
using S = ClickSender;

UserRecord sampleRecord() {
    const char* const fields[kFieldCount] = {"123-4567",
                                             "東京都",
                                             "千代田区",
                                             "丸の内1-1",
                                             "ビル2F",
                                             "山田",
                                             "太郎",
                                             "男",
                                             "55",
                                             "会社員",
                                             "03",
                                             "1234",
                                             "5678",
                                             "045",
                                             "876",
                                             "4321",
                                             "taro@example.jp",
                                             "http://example.jp/",
                                             "メモ一",
                                             "メモ二",
                                             "メモ三",
                                             "メモ四",
                                             "やまだ",
                                             "たろう",
                                             "ヤマダ",
                                             "タロウ",
                                             "Yamada",
                                             "Taro",
                                             "1970",
                                             "4",
                                             "10"};
    UserRecord record;
    for (const char* field : fields) {
        record.push_back(sjis::fromUtf8(field));
    }
    return record;
}

struct Row {
    ClickSender sender;
    int tag;
    const char* name;
    const char* text;  // UTF-8
};

// Every field button and every composing menu item on the sample record.
const Row kRows[] = {
    {S::FieldButton, 0, "", "123-4567"},
    {S::FieldButton, 1, "", "東京都千代田区丸の内1-1ビル2F"},
    {S::FieldButton, 2, "", "山田太郎"},
    {S::FieldButton, 3, "", "男"},
    {S::FieldButton, 4, "", "55"},
    {S::FieldButton, 5, "", "会社員"},
    {S::FieldButton, 6, "", "03-1234-5678"},
    {S::FieldButton, 7, "", "045-876-4321"},
    {S::FieldButton, 8, "", "taro@example.jp"},
    {S::FieldButton, 9, "", "http://example.jp/"},
    {S::FieldButton, 10, "", "メモ一"},
    {S::FieldButton, 11, "", ""},
    {S::FieldButton, 12, "", ""},
    {S::FieldButton, 13, "", "1970/04/10"},
    {S::FieldButton, 14, "", ""},
    {S::MenuItem, 0, "Post", "123-4567"},
    {S::MenuItem, 0, "Post1", "123"},
    {S::MenuItem, 0, "Post2", "4567"},
    {S::MenuItem, 1, "Adrr", "東京都千代田区丸の内1-1ビル2F"},
    {S::MenuItem, 1, "Adrr5", "千代田区丸の内1-1ビル2F"},
    {S::MenuItem, 1, "Adrr6", "丸の内1-1ビル2F"},
    {S::MenuItem, 1, "Adrr1", "東京都"},
    {S::MenuItem, 1, "Adrr2", "千代田区"},
    {S::MenuItem, 1, "Adrr3", "丸の内1-1"},
    {S::MenuItem, 1, "Adrr4", "ビル2F"},
    {S::MenuItem, 2, "Kanji1", "山田太郎"},
    {S::MenuItem, 2, "Kanji2", "山田"},
    {S::MenuItem, 2, "Kanji3", "太郎"},
    {S::MenuItem, 2, "Hiragana1", "やまだたろう"},
    {S::MenuItem, 2, "Hiragana2", "やまだ"},
    {S::MenuItem, 2, "Hiragana3", "たろう"},
    {S::MenuItem, 2, "Katakana1", "ヤマダタロウ"},
    {S::MenuItem, 2, "Katakana2", "ヤマダ"},
    {S::MenuItem, 2, "Katakana3", "タロウ"},
    {S::MenuItem, 2, "Romaji1", "Taro Yamada"},
    {S::MenuItem, 2, "Romaji2", "Yamada"},
    {S::MenuItem, 2, "Romaji3", "Taro"},
    {S::MenuItem, 6, "Phon", "03-1234-5678"},
    {S::MenuItem, 6, "Phon1", "03"},
    {S::MenuItem, 6, "Phon2", "1234"},
    {S::MenuItem, 6, "Phon3", "5678"},
    {S::MenuItem, 7, "Fax", "045-876-4321"},
    {S::MenuItem, 7, "Fax1", "045"},
    {S::MenuItem, 7, "Fax2", "876"},
    {S::MenuItem, 7, "Fax3", "4321"},
    {S::MenuItem, 8, "Mail", "taro@example.jp"},
    {S::MenuItem, 8, "Mail1", "taro"},
    {S::MenuItem, 8, "Mail2", "example.jp"},
    {S::MenuItem, 18, "Memo1", "メモ一"},
    {S::MenuItem, 19, "Memo2", "メモ二"},
    {S::MenuItem, 20, "Memo3", "メモ三"},
    {S::MenuItem, 21, "Memo4", "メモ四"},
    {S::MenuItem, 28, "Birth1", "1970/04/10"},
    {S::MenuItem, 28, "Birth2", "1970"},
    {S::MenuItem, 28, "Birth3", "70"},
    {S::MenuItem, 28, "Birth4", "04"},
    {S::MenuItem, 28, "Birth5", "10"},
    {S::MenuItem, 28, "WaBirth1", "昭和45年04月10日"},
    {S::MenuItem, 28, "WaBirth2", "昭和45年"},
    {S::MenuItem, 28, "WaBirth3", "04月"},
    {S::MenuItem, 28, "WaBirth4", "10日"},
    // A Name is looked at only within its own group.
    {S::MenuItem, 0, "Adrr5", "123-4567"},
    {S::MenuItem, 2, "Post1", "千代田区"},
};

Composition text(const char* utf8) {
    return {Kind::Text, sjis::fromUtf8(utf8)};
}

TEST(Composition, EveryButtonAndMenuItemOnAFullRecord) {
    const UserRecord record = sampleRecord();
    for (const Row& row : kRows) {
        EXPECT_EQ(ComposeFieldText(row.sender, row.tag, row.name, record, kToday), text(row.text))
            << "tag " << row.tag << " " << row.name;
    }
}

TEST(Composition, EmptyFieldsGiveEmptyTextButJoinsKeepTheirSeparators) {
    const UserRecord record = emptyUserRecord();
    EXPECT_EQ(ComposeFieldText(S::FieldButton, 6, "", record, kToday), text("--"));
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 7, "Fax", record, kToday), text("--"));
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 2, "Romaji1", record, kToday), text(" "));
    for (const int tag : {0, 1, 2, 3, 4, 5, 8, 9, 10}) {
        EXPECT_EQ(ComposeFieldText(S::FieldButton, tag, "", record, kToday), text("")) << tag;
    }
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 21, "Memo4", record, kToday), text(""));
}

TEST(Composition, NoUserFileLoadedForEverySender) {
    const Composition notice{Kind::NoUserFileNotice,
                             sjis::fromUtf8("ユーザーファイルが読まれておりません。\r"
                                            "切替ボタンを押してリストから選択するか\r新規作成して下さい。")};
    EXPECT_EQ(ComposeFieldText(S::FieldButton, 0, "", {}, kToday), notice);
    EXPECT_EQ(ComposeFieldText(S::FieldButton, 13, "", {}, kToday), notice);
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 8, "Mail2", {}, kToday), notice);
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, "WaBirth1", {}, kToday), notice);
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
        EXPECT_EQ(ComposeFieldText(S::FieldButton, 13, "", record, kToday), expected) << c.shown;
        EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, "WaBirth3", record, kToday), expected) << c.shown;
    }
}

TEST(Composition, BirthItemsStopSilentlyOnARecordWithoutAllBirthFields) {
    UserRecord record = sampleRecord();
    record.resize(30);
    EXPECT_EQ(ComposeFieldText(S::FieldButton, 13, "", record, kToday), (Composition{Kind::SilentStop, ""}));
    for (const char* name : {"Birth1", "Birth5", "WaBirth1", "WaBirth4"}) {
        EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, name, record, kToday),
                  (Composition{Kind::SilentStop, ""}))
            << name;
    }
    record = sampleRecord();
    record.push_back("extra");
    EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, "Birth1", record, kToday), text("1970/04/10"));
}

TEST(Composition, BirthTextsForOtherDates) {
    struct Case {
        const char *year, *month, *day, *name, *text;
    };
    const Case cases[] = {
        {"05", "1", "2", "Birth1", "2005/01/02"},
        {"05", "1", "2", "Birth2", "2005"},
        {"05", "1", "2", "Birth3", "05"},
        {"970", "1", "2", "Birth2", "0970"},
        {"1989", "1", "7", "WaBirth2", "昭和64年"},
        {"1989", "1", "8", "WaBirth1", "平成01年01月08日"},
        {"2019", "5", "1", "WaBirth1", "令和01年05月01日"},
        {"1868", "1", "1", "WaBirth2", "明治01年"},
        {"1867", "12", "31", "WaBirth1", ""},
        {"1867", "12", "31", "WaBirth2", ""},
        {"1867", "12", "31", "WaBirth3", "12月"},
        {"1867", "12", "31", "WaBirth4", "31日"},
        {"1867", "12", "31", "Birth1", "1867/12/31"},
        {"2075", "1", "1", "Birth1", "2075/01/01"},  // a date after today is still written
    };
    for (const auto& c : cases) {
        UserRecord record = sampleRecord();
        record[BirthYear] = c.year;
        record[BirthMonth] = c.month;
        record[BirthDay] = c.day;
        EXPECT_EQ(ComposeFieldText(S::MenuItem, 28, c.name, record, kToday), text(c.text))
            << c.year << "/" << c.month << "/" << c.day << " " << c.name;
    }
}

TEST(Composition, OtherItemsFailOnTheFirstFieldTheRecordLacks) {
    struct Case {
        ClickSender sender;
        int tag;
        const char* name;
        std::size_t lines;
        int index;
    };
    const Case cases[] = {
        {S::FieldButton, 1, "", 3, 3},       {S::FieldButton, 10, "", 18, 18},
        {S::MenuItem, 6, "Phon1", 5, 6},  // the item's own field is read first
        {S::MenuItem, 1, "Adrr4", 4, 4},     {S::MenuItem, 2, "Romaji1", 27, 27},
        {S::MenuItem, 2, "Romaji2", 26, 26}, {S::MenuItem, 21, "Memo4", 21, 21},
        {S::MenuItem, 8, "Mail2", 8, 8},
    };
    for (const auto& c : cases) {
        UserRecord record = sampleRecord();
        record.resize(c.lines);
        try {
            ComposeFieldText(c.sender, c.tag, c.name, record, kToday);
            ADD_FAILURE() << c.name << " with " << c.lines << " lines composed";
        } catch (const AppError& error) {
            EXPECT_EQ(error.message(), indexOutOfRange(c.index).message()) << c.name;
        }
    }
}

TEST(PostalCodeParts, CutByBytesAfterCountingCharacters) {
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
        {wide, wide.substr(0, 3), wide.substr(3, 4)},  // seven characters, cut in bytes
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PostalCodeFirstPart(c.code), c.first) << c.code;
        EXPECT_EQ(PostalCodeSecondPart(c.code), c.second) << c.code;
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

TEST(MenuTable, EveryComposingItemIsCoveredAndEachMenuHasItsEntries) {
    std::set<std::pair<int, std::string>> composed;
    for (const Row& row : kRows) {
        if (row.sender == S::MenuItem) {
            composed.insert({row.tag, row.name});
        }
    }
    std::set<std::string_view> names;
    std::set<std::string_view> heads;
    std::map<int, int> entriesPerMenu;
    for (const MenuEntry& entry : PopupMenuEntries()) {
        EXPECT_TRUE(names.insert(entry.name).second) << entry.name << " twice";
        ++entriesPerMenu[entry.menu];
        if (entry.kind == MenuEntryKind::SubmenuHead) {
            heads.insert(entry.name);
        }
        if (!entry.submenuOf.empty()) {
            EXPECT_TRUE(heads.count(entry.submenuOf)) << entry.name << " follows no head " << entry.submenuOf;
        }
        if (entry.kind == MenuEntryKind::Compose) {
            EXPECT_TRUE(composed.count({entry.tag, std::string(entry.name)})) << entry.name;
        }
    }
    EXPECT_EQ(entriesPerMenu,
              (std::map<int, int>{{1, 4}, {2, 16}, {3, 4}, {4, 9}, {5, 4}, {6, 5}, {7, 5}, {8, 2}, {9, 11}}));
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
