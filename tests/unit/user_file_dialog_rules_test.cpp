#include "dialogs/box_text.h"
#include "dialogs/user_file_list_logic.h"

#include "data/sjis.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(BoxText, LimitsCountShiftJisBytes) {
    struct Case {
        const char* proposed;
        const char* previous;
        int maxBytes;
        bool accepted;
    };
    const Case cases[] = {
        {"12345678", "1234567", 8, true},
        {"123456789", "12345678", 8, false},
        {"男", "", 3, true},
        {"男a", "男", 3, true},
        {"男女", "男", 3, false},
        {"ｱｲｳ", "ｱｲ", 3, true},  // half-width katakana take one byte each
        {"a😀", "a", 3, true},    // a character Shift-JIS cannot hold counts two
        {"ab😀", "ab", 3, false},
        {"男性で", "男性です", 3, true},  // a stored text over the limit may shrink
        {"男性ですx", "男性です", 3, false},
        {"ab\r\ncd", "", 0, false},  // never a line break, even without a limit
        {"a\nb", "a", 8, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AcceptsBoxText(q(c.proposed), q(c.previous), c.maxBytes), c.accepted)
            << c.proposed << " limit " << c.maxBytes;
    }
    EXPECT_TRUE(AcceptsBoxText(QString(5000, QChar(0x6F22)), QString(), 0));
}

TEST(BoxText, PasteKeepsOnlyTheFirstLine) {
    EXPECT_EQ(FirstLineOf(q("東京都\r\n千代田区")), q("東京都"));
    EXPECT_EQ(FirstLineOf(q("東京都\n千代田区\r")), q("東京都"));
    EXPECT_EQ(FirstLineOf(q("東京都\r千代田区")), q("東京都"));
    EXPECT_EQ(FirstLineOf(q("\nsecond")), QString());
    EXPECT_EQ(FirstLineOf(q("one line")), q("one line"));
}

TEST(BoxText, NamesEachUnstorableCharacterOnce) {
    EXPECT_EQ(UnstorableCharacterNames(q("😀𠮷a😀")), q("U+1F600, U+20BB7"));
    EXPECT_EQ(UnstorableCharacterNames(q("髙橋①ｱ~")), QString());
}

TEST(UserFileList, SortsInTheCollatorsOrderWithLetterCaseSignificant) {
    const auto sorted = [](std::vector<std::string> names, const QLocale& locale) {
        QCollator collator(locale);
        collator.setCaseSensitivity(Qt::CaseSensitive);
        SortUserFileNames(names, collator);
        return names;
    };
    const std::vector<std::string> names{"b", "B", "a", "A"};
    // The user's language interleaves the cases; the C locale compares code points.
    EXPECT_EQ(sorted(names, QLocale(QLocale::English, QLocale::UnitedStates)),
              (std::vector<std::string>{"a", "A", "b", "B"}));
    EXPECT_EQ(sorted(names, QLocale::c()), (std::vector<std::string>{"A", "B", "a", "b"}));
    const std::string kana = sjis::fromUtf8("あ");
    const std::string kanji = sjis::fromUtf8("山");
    EXPECT_EQ(sorted({kanji, kana, "z"}, QLocale(QLocale::Japanese, QLocale::Japan)),
              (std::vector<std::string>{"z", kana, kanji}));
}

TEST(UserFileList, PreselectsTheCurrentFilesEntry) {
    const std::vector<std::string> names{"Ab", "ab", "b.c", sjis::fromUtf8("山田")};
    EXPECT_EQ(PreselectedRow(names, "/u/ab.zpd"), 1u);
    EXPECT_EQ(PreselectedRow(names, "/u/AB.zpd"), 0u);
    EXPECT_EQ(PreselectedRow(names, "/u/b.c.zpd"), 2u);
    EXPECT_EQ(PreselectedRow(names, "/Zoë/山田.zpd"), 3u);  // a path is the file system's bytes
    EXPECT_EQ(PreselectedRow(names, "/u/b.zpd"), std::nullopt);
    EXPECT_EQ(PreselectedRow(names, ""), std::nullopt);
    EXPECT_EQ(PreselectedRow({}, "/u/ab.zpd"), std::nullopt);
}

}  // namespace
