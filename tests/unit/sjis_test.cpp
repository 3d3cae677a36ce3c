#include "data/sjis.h"

#include <gtest/gtest.h>

namespace {

const std::string kA = "\x82\xa0";  // あ, a double-byte character

TEST(Sjis, CountsDoubleByteCharactersAsOne) {
    EXPECT_EQ(sjis::charCount(""), 0u);
    EXPECT_EQ(sjis::charCount("abc"), 3u);
    EXPECT_EQ(sjis::charCount(kA + "b" + kA), 3u);
    EXPECT_EQ(sjis::charCount("\xb1\xb2"), 2u);  // half-width katakana are single bytes
    EXPECT_EQ(sjis::charCount("a\x82"), 2u);     // a lone lead byte at the end counts one
}

TEST(Sjis, LeftCharsNeverSplitsACharacter) {
    EXPECT_EQ(sjis::leftChars(kA + kA + kA, 2), kA + kA);
    EXPECT_EQ(sjis::leftChars("a" + kA + "b", 2), "a" + kA);
    EXPECT_EQ(sjis::leftChars("ab", 5), "ab");
}

TEST(Sjis, RoundTripsJapaneseText) {
    const QString text = QString::fromUtf8("東京都千代田区１－２ ｱｲｳ 髙橋 ①");
    QString unmappable;
    const std::string bytes = sjis::fromUnicode(text, &unmappable);
    EXPECT_TRUE(unmappable.isEmpty());
    EXPECT_EQ(sjis::toUnicode(bytes), text);
    EXPECT_EQ(sjis::fromUtf8("あ"), kA);
}

TEST(Sjis, ReportsCharactersShiftJisCannotHold) {
    QString unmappable;
    const std::string bytes = sjis::fromUnicode(QString::fromUtf8("吉😀田𠮷😀"), &unmappable);
    EXPECT_EQ(unmappable, QString::fromUtf8("😀𠮷"));
    EXPECT_EQ(bytes, sjis::fromUtf8("吉田"));
}

TEST(Sjis, BrokenBytesDecodeToReplacementCharacters) {
    const QString replacement(QChar(QChar::ReplacementCharacter));
    EXPECT_EQ(sjis::toUnicode("\x82"), replacement);
    EXPECT_EQ(sjis::toUnicode("a\x82"), "a" + replacement);
    EXPECT_EQ(sjis::toUnicode("\x82 z"), replacement + " z");
    EXPECT_EQ(sjis::toUnicode("\xff\x80"), replacement + replacement);
    EXPECT_EQ(sjis::toUnicode(std::string("a\0b", 3)), QString::fromUtf8("a\0b", 3));
}

}  // namespace
