#include "toolbar/menu_table.h"

#include <array>

namespace {

using K = MenuEntryKind;
constexpr int kNoImage = -1;

constexpr std::array kEntries{
    MenuEntry{1, "Post", "郵便番号（一括）", 0, 0, K::Compose, ""},
    MenuEntry{1, "N1", "-", 0, kNoImage, K::Separator, ""},
    MenuEntry{1, "Post1", "前　３桁のみ", 0, 17, K::Compose, ""},
    MenuEntry{1, "Post2", "後　４桁のみ", 0, 23, K::Compose, ""},

    MenuEntry{4, "Adrr", "住所（一括）", 1, 1, K::Compose, ""},
    MenuEntry{4, "N3", "-", 0, kNoImage, K::Separator, ""},
    MenuEntry{4, "Adrr5", "都道府県以外", 1, 17, K::Compose, ""},
    MenuEntry{4, "Adrr6", "住所１と住所２", 1, 18, K::Compose, ""},
    MenuEntry{4, "N4", "-", 0, kNoImage, K::Separator, ""},
    MenuEntry{4, "Adrr1", "都道府県", 1, 19, K::Compose, ""},
    MenuEntry{4, "Adrr2", "市区町村", 1, 20, K::Compose, ""},
    MenuEntry{4, "Adrr3", "住所１", 1, 21, K::Compose, ""},
    MenuEntry{4, "Adrr4", "住所２", 1, 22, K::Compose, ""},

    MenuEntry{2, "Kanji", "漢字", 0, 23, K::SubmenuHead, ""},
    MenuEntry{2, "Kanji1", "氏名", 2, 2, K::Compose, "Kanji"},
    MenuEntry{2, "Kanji2", "姓", 2, 21, K::Compose, "Kanji"},
    MenuEntry{2, "Kanji3", "名", 2, 22, K::Compose, "Kanji"},
    MenuEntry{2, "Hiragana", "ふりがな", 0, 17, K::SubmenuHead, ""},
    MenuEntry{2, "Hiragana1", "しめい", 2, 2, K::Compose, "Hiragana"},
    MenuEntry{2, "Hiragana2", "せい", 2, 21, K::Compose, "Hiragana"},
    MenuEntry{2, "Hiragana3", "なまえ", 2, 22, K::Compose, "Hiragana"},
    MenuEntry{2, "Katakana", "フリガナ", 0, 18, K::SubmenuHead, ""},
    MenuEntry{2, "Katakana1", "シメイ", 2, 2, K::Compose, "Katakana"},
    MenuEntry{2, "Katakana2", "セイ", 2, 21, K::Compose, "Katakana"},
    MenuEntry{2, "Katakana3", "ナマエ", 2, 22, K::Compose, "Katakana"},
    MenuEntry{2, "Romaji", "ローマ字", 0, 19, K::SubmenuHead, ""},
    MenuEntry{2, "Romaji1", "Shimei", 2, 2, K::Compose, "Romaji"},
    MenuEntry{2, "Romaji2", "Sei", 2, 21, K::Compose, "Romaji"},
    MenuEntry{2, "Romaji3", "Namae", 2, 22, K::Compose, "Romaji"},

    MenuEntry{6, "Phon", "電話番号（一括）", 6, 6, K::Compose, ""},
    MenuEntry{6, "N5", "-", 0, kNoImage, K::Separator, ""},
    MenuEntry{6, "Phon1", "市外局番", 6, 21, K::Compose, ""},
    MenuEntry{6, "Phon2", "局番", 6, 17, K::Compose, ""},
    MenuEntry{6, "Phon3", "番号", 6, 23, K::Compose, ""},

    MenuEntry{7, "Fax", "FAX番号（一括）", 7, 7, K::Compose, ""},
    MenuEntry{7, "N6", "-", 0, kNoImage, K::Separator, ""},
    MenuEntry{7, "Fax1", "市外局番", 7, 21, K::Compose, ""},
    MenuEntry{7, "Fax2", "局番", 7, 17, K::Compose, ""},
    MenuEntry{7, "Fax3", "番号", 7, 23, K::Compose, ""},

    MenuEntry{3, "Mail", "メールアドレス", 8, 8, K::Compose, ""},
    MenuEntry{3, "N2", "-", 0, kNoImage, K::Separator, ""},
    MenuEntry{3, "Mail1", "@　より前のみ", 8, 18, K::Compose, ""},
    MenuEntry{3, "Mail2", "@　より後のみ", 8, 20, K::Compose, ""},

    MenuEntry{5, "Memo1", "メモ１", 18, 10, K::Compose, ""},
    MenuEntry{5, "Memo2", "メモ２", 19, 10, K::Compose, ""},
    MenuEntry{5, "Memo3", "メモ３", 20, 10, K::Compose, ""},
    MenuEntry{5, "Memo4", "メモ４", 21, 10, K::Compose, ""},

    MenuEntry{9, "Birth", "西暦", 0, 20, K::SubmenuHead, ""},
    MenuEntry{9, "Birth1", "生年月日", 28, 13, K::Compose, "Birth"},
    MenuEntry{9, "Birth2", "年（4桁）", 28, 17, K::Compose, "Birth"},
    MenuEntry{9, "Birth3", "年（後2桁）", 28, 19, K::Compose, "Birth"},
    MenuEntry{9, "Birth4", "月", 28, 21, K::Compose, "Birth"},
    MenuEntry{9, "Birth5", "日", 28, 22, K::Compose, "Birth"},
    MenuEntry{9, "WaBirth", "和暦", 0, 22, K::SubmenuHead, ""},
    MenuEntry{9, "WaBirth1", "生年月日", 28, 13, K::Compose, "WaBirth"},
    MenuEntry{9, "WaBirth2", "年", 28, 17, K::Compose, "WaBirth"},
    MenuEntry{9, "WaBirth3", "月", 28, 19, K::Compose, "WaBirth"},
    MenuEntry{9, "WaBirth4", "日", 28, 21, K::Compose, "WaBirth"},

    MenuEntry{8, "Help1", "ヘルプ(&H)", 0, 12, K::OwnAction, ""},
    MenuEntry{8, "Varsion1", "バージョン(&A)", 0, 16, K::OwnAction, ""},
};

}  // namespace

std::span<const MenuEntry> PopupMenuEntries() {
    return kEntries;
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
