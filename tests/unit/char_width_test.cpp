#include "data/char_width.h"
#include "data/sjis.h"
#include "toolbar/composition.h"

#include <gtest/gtest.h>

namespace {

std::string s(const char* utf8) {
    return sjis::fromUtf8(utf8);
}

// Every row of the tables, both ways: ASCII, the half-width kana and marks, and the kana with a mark.
TEST(CharWidth, TheWholeTablesGoBothWays) {
    struct Row {
        const char* half;
        const char* full;
        bool katakana;
    };
    const Row rows[] = {
        {" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~",
         "　！”＃＄％＆’（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱ"
         "ＲＳＴＵＶＷＸ"
         "ＹＺ［＼］＾＿｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～",
         false},
        {"｡｢｣､･ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ",
         "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミム"
         "メモヤユヨラリ"
         "ルレロワン゛゜",
         true},
        {"ｳﾞｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ",
         "ヴガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポ", true},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(width::toHalfWidth(s(row.full), row.katakana), s(row.half)) << row.half;
        EXPECT_EQ(width::toFullWidth(s(row.half), row.katakana), s(row.full)) << row.half;
    }
}

TEST(CharWidth, NumbersTakeTheirHyphensAndKanaStayUnlessAsked) {
    const std::tuple<const char*, bool, const char*> halves[] = {
        {"神宮前１－２－３ゼンポロビル", false, "神宮前1-2-3ゼンポロビル"},
        {"１ー２―３‐４", false, "1-2-3-4"},  // a long-vowel mark or bar after a digit is a hyphen
        {"センター", true, "ｾﾝﾀｰ"},
        {"ヰヱヶ漢字", true, "ヰヱヶ漢字"},  // no half-width form: kept
        {"院@", false, "院@"},               // a trail byte is never taken for a character
    };
    for (const auto& [full, katakana, half] : halves) {
        EXPECT_EQ(width::toHalfWidth(s(full), katakana), s(half)) << full;
    }
    EXPECT_EQ(width::toFullWidth(s("神宮前1-2-3 ｾﾝﾀｰ"), false), s("神宮前１－２－３　ｾﾝﾀｰ"));
    EXPECT_EQ(width::toFullWidth(s("ﾜﾞｱﾟﾞ"), true),
              s("ワ゛ア゜゛"));  // marks with no combined kana stay apart
}

TEST(CharWidth, OnlyTheNumbersAddressAndKatakanaReadingTakeTheRunsWidth) {
    using S = ClickSender;
    const std::string stored = s("１２３－４５６７");
    EXPECT_EQ(InTextWidth(stored, TextWidth::Half, WidthScopeOf(S::FieldButton, 0, std::nullopt)),
              "123-4567");
    EXPECT_EQ(InTextWidth(stored, TextWidth::AsStored, WidthScopeOf(S::FieldButton, 0, std::nullopt)),
              stored);
    EXPECT_EQ(InTextWidth(s("ヤマダ　ハナコ"), TextWidth::Half,
                          WidthScopeOf(S::MenuItem, 2, MenuItemId::Katakana4)),
              s("ﾔﾏﾀﾞ ﾊﾅｺ"));
    EXPECT_EQ(WidthScopeOf(S::MenuItem, 2, MenuItemId::Kanji4), WidthScope::None);
    EXPECT_EQ(WidthScopeOf(S::FieldButton, 8, std::nullopt), WidthScope::None);  // e-mail stays as typed
    EXPECT_EQ(WidthScopeOf(S::MenuItem, 28, MenuItemId::WaBirth1), WidthScope::Numbers);
}

}  // namespace
