#include "dialogs/box_text.h"

#include "data/utf.h"

#include <gtest/gtest.h>

namespace {

std::u16string u16(const char* utf8) {
    return utf::toUtf16(utf8);
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
        EXPECT_EQ(AcceptsBoxText(u16(c.proposed), u16(c.previous), c.maxBytes), c.accepted)
            << c.proposed << " limit " << c.maxBytes;
    }
    EXPECT_TRUE(AcceptsBoxText(std::u16string(5000, u'\u6F22'), u"", 0));
    // A NUL would end the user file where it stands.
    EXPECT_FALSE(AcceptsBoxText(std::u16string(u"a\0b", 3), u"a", 0));
}

TEST(BoxText, EveryUnstorableCharacterCountsTwoBytesEvenWhenRepeated) {
    struct Case {
        const char* text;
        int bytes;
    };
    const Case cases[] = {
        {"", 0},      {"髙橋①ｱ~", 8},  // characters of the extensions and half-width kana are stored
        {"😀😀", 4},                     // a surrogate pair is one character
        {"a😀b😀c", 7}, {"𠮷野家", 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShiftJisByteCount(u16(c.text)), c.bytes) << c.text;
    }
    // A lone surrogate cannot be stored either and counts like any other such character.
    EXPECT_EQ(ShiftJisByteCount(u"a\xD800"), 3);
}

TEST(BoxText, PasteKeepsOnlyTheFirstLine) {
    EXPECT_EQ(FirstLineOf(u16("東京都\r\n千代田区")), u16("東京都"));
    EXPECT_EQ(FirstLineOf(u16("東京都\n千代田区\r")), u16("東京都"));
    EXPECT_EQ(FirstLineOf(u16("東京都\r千代田区")), u16("東京都"));
    EXPECT_EQ(FirstLineOf(u"\nsecond"), u"");
    EXPECT_EQ(FirstLineOf(u"one line"), u"one line");
    EXPECT_EQ(PastedTextThatFits(std::u16string(u"東京\0都", 4), u"", 0), u16("東京"));
}

TEST(BoxText, APasteLongerThanTheLimitKeepsWhatFits) {
    struct Case {
        const char* pasted;
        const char* kept;
        int maxBytes;
        const char* inserted;
    };
    const Case cases[] = {
        {"女性です", "", 3, "女"},       {"ｱｲｳｴ", "a", 3, "ｱｲ"},
        {"男性", "男", 3, ""},           {"ab😀c", "", 3, "ab"},         // never half a surrogate pair
        {"東京\r\n大阪", "", 0, "東京"}, {"12345", "男性です", 3, ""},  // a stored text over the limit
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PastedTextThatFits(u16(c.pasted), u16(c.kept), c.maxBytes), u16(c.inserted)) << c.pasted;
    }
}

TEST(BoxText, NamesEachUnstorableCharacterOnce) {
    EXPECT_EQ(UnstorableCharacterNames(u16("😀𠮷a😀")), "U+1F600, U+20BB7");
    EXPECT_EQ(UnstorableCharacterNames(u16("髙橋①ｱ~")), "");
    EXPECT_EQ(UnstorableCharacterNames(u16("aé")), "U+00E9");
    EXPECT_EQ(UnstorableCharacterNames(u"\xD83D-\xDE00"), "U+D83D, U+DE00");  // two halves, no pair
}

}  // namespace

// A box without a byte limit of its own (a Win32 edit control counts UTF-16 units) is cut after each change.
TEST(BoxText, AChangeOverTheLimitKeepsWhatFitsAtACharacterBoundary) {
    struct Case {
        const char* previous;
        const char* proposed;
        int maxBytes;
        const char* text;
        std::size_t caret;
    };
    const Case cases[] = {
        {"男", "男性", 3, "男", 1},       // a typed kanji past the limit is refused
        {"ab", "a東京b", 3, "ab", 1},     // an input method's result in the middle
        {"", "ｱｲｳｴ", 3, "ｱｲｳ", 3},        // half-width katakana take one byte each
        {"12345", "1234", 2, "1234", 4},  // a longer text from a file can still be shortened
        {"", "東京", 0, "東京", 2},       // no limit
        {"a", "a😀b", 4, "a😀b", 4},        // a pair counts as one unmappable character
        {"a", "a😀", 2, "a", 1},           // never half a pair
    };
    for (const Case& c : cases) {
        const BoxTextChange change = FittedBoxChange(u16(c.proposed), u16(c.previous), c.maxBytes);
        EXPECT_EQ(change.text, u16(c.text)) << c.proposed;
        EXPECT_EQ(change.caret, c.caret) << c.proposed;
    }
}
