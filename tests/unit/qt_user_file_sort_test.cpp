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

}  // namespace
