#include "dialogs/user_file_list_logic.h"

#include "data/sjis.h"
#include "platform/qt/qt_text_collator.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

TEST(UserFileList, SortsInTheCollatorsOrderWithLetterCaseSignificant) {
    const auto sorted = [](std::vector<std::string> names, const QLocale& locale) {
        SortUserFileNames(names, QtTextCollator(locale));
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
