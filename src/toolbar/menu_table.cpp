#include "toolbar/menu_table.h"

#include "data/user_record.h"

#include <cstddef>

namespace {

using Id = MenuItemId;
using K = MenuEntryKind;
using R = ComposeRuleKind;
constexpr int kNoImage = -1;
constexpr std::optional<MenuItemId> kTop = std::nullopt;

constexpr ComposeRule rule(ComposeRuleKind kind) {
    return ComposeRule{kind, {}, 0, {}};
}

constexpr ComposeRule kNone = rule(R::GroupText);

// clang-format off
constexpr std::array kEntries{
    MenuEntry{Id::Post, 1, "Post", "郵便番号（一括）", 0, 0, K::Compose, kTop, rule(R::GroupText)},
    MenuEntry{Id::N1, 1, "N1", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Post1, 1, "Post1", "前　３桁のみ", 0, 17, K::Compose, kTop, rule(R::PostalFirstPart)},
    MenuEntry{Id::Post2, 1, "Post2", "後　４桁のみ", 0, 23, K::Compose, kTop, rule(R::PostalSecondPart)},

    MenuEntry{Id::Adrr, 4, "Adrr", "住所（一括）", 1, 1, K::Compose, kTop, JoinedFields("", {Prefecture, City, Address1, Address2})},
    MenuEntry{Id::N3, 4, "N3", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Adrr5, 4, "Adrr5", "都道府県以外", 1, 17, K::Compose, kTop, JoinedFields("", {City, Address1, Address2})},
    MenuEntry{Id::Adrr6, 4, "Adrr6", "住所１と住所２", 1, 18, K::Compose, kTop, JoinedFields("", {Address1, Address2})},
    MenuEntry{Id::N4, 4, "N4", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Adrr1, 4, "Adrr1", "都道府県", 1, 19, K::Compose, kTop, JoinedFields("", {Prefecture})},
    MenuEntry{Id::Adrr2, 4, "Adrr2", "市区町村", 1, 20, K::Compose, kTop, JoinedFields("", {City})},
    MenuEntry{Id::Adrr3, 4, "Adrr3", "住所１", 1, 21, K::Compose, kTop, JoinedFields("", {Address1})},
    MenuEntry{Id::Adrr4, 4, "Adrr4", "住所２", 1, 22, K::Compose, kTop, JoinedFields("", {Address2})},

    MenuEntry{Id::Kanji, 2, "Kanji", "漢字", 0, 23, K::SubmenuHead, kTop, kNone},
    MenuEntry{Id::Kanji1, 2, "Kanji1", "氏名", 2, 2, K::Compose, Id::Kanji, JoinedFields("", {FamilyName, GivenName})},
    MenuEntry{Id::Kanji2, 2, "Kanji2", "姓", 2, 21, K::Compose, Id::Kanji, JoinedFields("", {FamilyName})},
    MenuEntry{Id::Kanji3, 2, "Kanji3", "名", 2, 22, K::Compose, Id::Kanji, JoinedFields("", {GivenName})},
    MenuEntry{Id::Hiragana, 2, "Hiragana", "ふりがな", 0, 17, K::SubmenuHead, kTop, kNone},
    MenuEntry{Id::Hiragana1, 2, "Hiragana1", "しめい", 2, 2, K::Compose, Id::Hiragana, JoinedFields("", {FamilyNameHiragana, GivenNameHiragana})},
    MenuEntry{Id::Hiragana2, 2, "Hiragana2", "せい", 2, 21, K::Compose, Id::Hiragana, JoinedFields("", {FamilyNameHiragana})},
    MenuEntry{Id::Hiragana3, 2, "Hiragana3", "なまえ", 2, 22, K::Compose, Id::Hiragana, JoinedFields("", {GivenNameHiragana})},
    MenuEntry{Id::Katakana, 2, "Katakana", "フリガナ", 0, 18, K::SubmenuHead, kTop, kNone},
    MenuEntry{Id::Katakana1, 2, "Katakana1", "シメイ", 2, 2, K::Compose, Id::Katakana, JoinedFields("", {FamilyNameKatakana, GivenNameKatakana})},
    MenuEntry{Id::Katakana2, 2, "Katakana2", "セイ", 2, 21, K::Compose, Id::Katakana, JoinedFields("", {FamilyNameKatakana})},
    MenuEntry{Id::Katakana3, 2, "Katakana3", "ナマエ", 2, 22, K::Compose, Id::Katakana, JoinedFields("", {GivenNameKatakana})},
    MenuEntry{Id::Romaji, 2, "Romaji", "ローマ字", 0, 19, K::SubmenuHead, kTop, kNone},
    // The romaji full name puts the given name first.
    MenuEntry{Id::Romaji1, 2, "Romaji1", "Shimei", 2, 2, K::Compose, Id::Romaji, JoinedFields(" ", {GivenNameRomaji, FamilyNameRomaji})},
    MenuEntry{Id::Romaji2, 2, "Romaji2", "Sei", 2, 21, K::Compose, Id::Romaji, JoinedFields("", {FamilyNameRomaji})},
    MenuEntry{Id::Romaji3, 2, "Romaji3", "Namae", 2, 22, K::Compose, Id::Romaji, JoinedFields("", {GivenNameRomaji})},

    MenuEntry{Id::Phon, 6, "Phon", "電話番号（一括）", 6, 6, K::Compose, kTop, JoinedFields("-", {PhoneArea, PhoneExchange, PhoneNumber})},
    MenuEntry{Id::N5, 6, "N5", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Phon1, 6, "Phon1", "市外局番", 6, 21, K::Compose, kTop, JoinedFields("", {PhoneArea})},
    MenuEntry{Id::Phon2, 6, "Phon2", "局番", 6, 17, K::Compose, kTop, JoinedFields("", {PhoneExchange})},
    MenuEntry{Id::Phon3, 6, "Phon3", "番号", 6, 23, K::Compose, kTop, JoinedFields("", {PhoneNumber})},

    MenuEntry{Id::Fax, 7, "Fax", "FAX番号（一括）", 7, 7, K::Compose, kTop, JoinedFields("-", {FaxArea, FaxExchange, FaxNumber})},
    MenuEntry{Id::N6, 7, "N6", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Fax1, 7, "Fax1", "市外局番", 7, 21, K::Compose, kTop, JoinedFields("", {FaxArea})},
    MenuEntry{Id::Fax2, 7, "Fax2", "局番", 7, 17, K::Compose, kTop, JoinedFields("", {FaxExchange})},
    MenuEntry{Id::Fax3, 7, "Fax3", "番号", 7, 23, K::Compose, kTop, JoinedFields("", {FaxNumber})},

    MenuEntry{Id::Mail, 3, "Mail", "メールアドレス", 8, 8, K::Compose, kTop, rule(R::GroupText)},
    MenuEntry{Id::N2, 3, "N2", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Mail1, 3, "Mail1", "@　より前のみ", 8, 18, K::Compose, kTop, rule(R::MailLocalPart)},
    MenuEntry{Id::Mail2, 3, "Mail2", "@　より後のみ", 8, 20, K::Compose, kTop, rule(R::MailDomainPart)},

    // The memo items' Tags are the memo fields' indexes, so their group's text is the memo itself.
    MenuEntry{Id::Memo1, 5, "Memo1", "メモ１", 18, 10, K::Compose, kTop, rule(R::GroupText)},
    MenuEntry{Id::Memo2, 5, "Memo2", "メモ２", 19, 10, K::Compose, kTop, rule(R::GroupText)},
    MenuEntry{Id::Memo3, 5, "Memo3", "メモ３", 20, 10, K::Compose, kTop, rule(R::GroupText)},
    MenuEntry{Id::Memo4, 5, "Memo4", "メモ４", 21, 10, K::Compose, kTop, rule(R::GroupText)},

    MenuEntry{Id::Birth, 9, "Birth", "西暦", 0, 20, K::SubmenuHead, kTop, kNone},
    MenuEntry{Id::Birth1, 9, "Birth1", "生年月日", 28, 13, K::Compose, Id::Birth, rule(R::SlashDate)},
    MenuEntry{Id::Birth2, 9, "Birth2", "年（4桁）", 28, 17, K::Compose, Id::Birth, rule(R::YearFourDigits)},
    MenuEntry{Id::Birth3, 9, "Birth3", "年（後2桁）", 28, 19, K::Compose, Id::Birth, rule(R::YearTwoDigits)},
    MenuEntry{Id::Birth4, 9, "Birth4", "月", 28, 21, K::Compose, Id::Birth, rule(R::MonthTwoDigits)},
    MenuEntry{Id::Birth5, 9, "Birth5", "日", 28, 22, K::Compose, Id::Birth, rule(R::DayTwoDigits)},
    MenuEntry{Id::WaBirth, 9, "WaBirth", "和暦", 0, 22, K::SubmenuHead, kTop, kNone},
    MenuEntry{Id::WaBirth1, 9, "WaBirth1", "生年月日", 28, 13, K::Compose, Id::WaBirth, rule(R::EraDate)},
    MenuEntry{Id::WaBirth2, 9, "WaBirth2", "年", 28, 17, K::Compose, Id::WaBirth, rule(R::EraYear)},
    MenuEntry{Id::WaBirth3, 9, "WaBirth3", "月", 28, 19, K::Compose, Id::WaBirth, rule(R::EraMonth)},
    MenuEntry{Id::WaBirth4, 9, "WaBirth4", "日", 28, 21, K::Compose, Id::WaBirth, rule(R::EraDay)},

    MenuEntry{Id::Help1, 8, "Help1", "ヘルプ(&H)", 0, 12, K::OwnAction, kTop, kNone},
    MenuEntry{Id::Varsion1, 8, "Varsion1", "バージョン(&A)", 0, 16, K::OwnAction, kTop, kNone},

    // The numbers as forms often ask for them, at the ends of their menus (Post3, Phon4 and Fax4) and of
    // the Western-calendar submenu (Birth6, Birth7), each with the picture of its menu's first item.
    MenuEntry{Id::N7, 1, "N7", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Post3, 1, "Post3", "ハイフンなし", 0, 0, K::Compose, kTop, BareJoinedFields({PostalCode})},
    MenuEntry{Id::N8, 6, "N8", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Phon4, 6, "Phon4", "ハイフンなし", 6, 6, K::Compose, kTop, BareJoinedFields({PhoneArea, PhoneExchange, PhoneNumber})},
    MenuEntry{Id::N9, 7, "N9", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Fax4, 7, "Fax4", "ハイフンなし", 7, 7, K::Compose, kTop, BareJoinedFields({FaxArea, FaxExchange, FaxNumber})},
    MenuEntry{Id::N10, 9, "N10", "-", 0, kNoImage, K::Separator, Id::Birth, kNone},
    MenuEntry{Id::Birth6, 9, "Birth6", "月（0なし）", 28, 13, K::Compose, Id::Birth, rule(R::MonthNoZero)},
    MenuEntry{Id::Birth7, 9, "Birth7", "日（0なし）", 28, 13, K::Compose, Id::Birth, rule(R::DayNoZero)},

    // What forms ask for besides: the names with a space between family and given name (full width between
    // kanji or kana), the romaji name family first, 市区町村 with 住所１, and the era year alone.
    MenuEntry{Id::Kanji4, 2, "Kanji4", "氏名（空白あり）", 2, 2, K::Compose, Id::Kanji, JoinedFields("\x81\x40", {FamilyName, GivenName})},
    MenuEntry{Id::Hiragana4, 2, "Hiragana4", "しめい（空白あり）", 2, 2, K::Compose, Id::Hiragana, JoinedFields("\x81\x40", {FamilyNameHiragana, GivenNameHiragana})},
    MenuEntry{Id::Katakana4, 2, "Katakana4", "シメイ（空白あり）", 2, 2, K::Compose, Id::Katakana, JoinedFields("\x81\x40", {FamilyNameKatakana, GivenNameKatakana})},
    MenuEntry{Id::Romaji4, 2, "Romaji4", "Sei Namae", 2, 2, K::Compose, Id::Romaji, JoinedFields(" ", {FamilyNameRomaji, GivenNameRomaji})},
    MenuEntry{Id::Romaji5, 2, "Romaji5", "SEI Namae", 2, 2, K::Compose, Id::Romaji, rule(R::RomajiFamilyFirst)},
    MenuEntry{Id::Adrr7, 4, "Adrr7", "市区町村と住所１", 1, 18, K::Compose, kTop, JoinedFields("", {City, Address1})},
    MenuEntry{Id::WaBirth5, 9, "WaBirth5", "年（数字のみ）", 28, 17, K::Compose, Id::WaBirth, rule(R::EraYearNumber)},

    // The width of every text for the rest of the run, as a whole form asks for it; the Tag is the TextWidth.
    MenuEntry{Id::N11, 8, "N11", "-", 0, kNoImage, K::Separator, kTop, kNone},
    MenuEntry{Id::Width, 8, "Width", "文字幅", 0, kNoImage, K::SubmenuHead, kTop, kNone},
    MenuEntry{Id::Width0, 8, "Width0", "登録どおり", 0, kNoImage, K::WidthChoice, Id::Width, kNone},
    MenuEntry{Id::Width1, 8, "Width1", "半角（数字・英字・記号、フリガナ）", 1, kNoImage, K::WidthChoice, Id::Width, kNone},
    MenuEntry{Id::Width2, 8, "Width2", "全角（数字・英字・記号、フリガナ）", 2, kNoImage, K::WidthChoice, Id::Width, kNone},
    // A browser's date box (年/月/日) takes no paste: Shift+click types the date into it.
    MenuEntry{Id::Birth8, 9, "Birth8", "日付の入力欄（Shift+クリック）", 28, 13, K::Compose, Id::Birth, rule(R::DateBoxKeys)},
};
// clang-format on

// Each row sits at the position of its id, so an id finds its row without a search.
constexpr bool rowsFollowTheirIds() {
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        if (static_cast<std::size_t>(kEntries[i].id) != i) {
            return false;
        }
    }
    return true;
}
static_assert(rowsFollowTheirIds());
static_assert(static_cast<std::size_t>(MenuItemId::Birth8) + 1 == kEntries.size());

}  // namespace

std::span<const MenuEntry> PopupMenuEntries() {
    return kEntries;
}

const MenuEntry& MenuEntryOf(MenuItemId id) {
    return kEntries[static_cast<std::size_t>(id)];
}

std::optional<int> PopupMenuForButtonTag(int tag) {
    switch (tag) {
        case 0:
            return 1;
        case 1:
            return 4;
        case 2:
            return 2;
        case 6:
            return 6;
        case 7:
            return 7;
        case 8:
            return 3;
        case 10:
            return 5;
        case 12:
            return 8;
        case 13:
            return 9;
        default:
            return std::nullopt;
    }
}
