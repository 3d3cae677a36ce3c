#include "data/sjis.h"
#include "data/sjis_case.h"
#include "data/utf.h"
#include "platform/text_codec.h"

#include <gtest/gtest.h>

namespace {

const std::string kA = "\x82\xa0";  // あ, a double-byte character
const std::u16string kReplacement = u"\uFFFD";

std::u16string u16(const char* utf8) {
    return utf::toUtf16(utf8);
}

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
    const std::u16string text = u16("東京都千代田区１－２ ｱｲｳ 髙橋 ①");
    std::u32string unmappable;
    const std::string bytes = sjis::fromUnicode(text, &unmappable);
    EXPECT_TRUE(unmappable.empty());
    EXPECT_EQ(sjis::toUnicode(bytes), text);
    EXPECT_EQ(sjis::fromUtf8("あ"), kA);
}

TEST(Sjis, ReportsCharactersShiftJisCannotHold) {
    std::u32string unmappable;
    const std::string bytes = sjis::fromUnicode(u16("吉😀田𠮷😀"), &unmappable);
    EXPECT_EQ(unmappable, U"😀𠮷");
    EXPECT_EQ(bytes, sjis::fromUtf8("吉田"));
}

TEST(Sjis, BrokenBytesDecodeToReplacementCharacters) {
    const std::u16string replacement = kReplacement;
    EXPECT_EQ(sjis::toUnicode("\x82"), replacement);
    EXPECT_EQ(sjis::toUnicode("a\x82"), u"a" + replacement);
    EXPECT_EQ(sjis::toUnicode("\x82 z"), replacement + u" z");
    EXPECT_EQ(sjis::toUnicode("\xff\x80"), replacement + replacement);
    EXPECT_EQ(sjis::toUnicode(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
    EXPECT_EQ(sjis::toUnicode("\x89\x40@"), u16("院@"));  // a trail byte that looks like "@"
    // An unassigned pair among characters: only it becomes U+FFFD; control codes are their own character.
    EXPECT_EQ(sjis::toUnicode(kA + "\x85\x40" + kA + "\x1a\x1c\x7f"),
              u16("あ") + replacement + u16("あ\x1a\x1c\x7f"));
}

TEST(Sjis, StoresTheLinuxFormsAtTheirJisPosition) {
    const struct {
        char16_t linuxForm;
        const char* bytes;
    } cases[] = {{u'\u301C', "\x81\x60"}, {u'\u2212', "\x81\x7C"}, {u'\u2016', "\x81\x61"},
                 {u'\u00A2', "\x81\x91"}, {u'\u00A3', "\x81\x92"}, {u'\u00AC', "\x81\xCA"},
                 {u'\u2014', "\x81\x5C"}};
    for (const auto& c : cases) {
        std::u32string unmappable;
        EXPECT_EQ(sjis::fromUnicode(std::u16string(1, c.linuxForm) + u"1", &unmappable),
                  std::string(c.bytes) + "1")
            << std::hex << static_cast<int>(c.linuxForm);
        EXPECT_TRUE(unmappable.empty());
    }
}

// Every double-byte code the plain codec reads is stored as the plain codec stores its character.
TEST(Sjis, EveryOtherDoubleByteCodeIsStoredAsThePlainCodecStoresIt) {
    const std::unique_ptr<TextCodec> plainCodec = makePlatformTextCodec();
    int checked = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char code[] = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string character = plainCodec->decode(std::string_view(code, 2));
            if (character.size() != 1 || character[0] < 0x80 || character == kReplacement) {
                continue;
            }
            const TextCodec::Encoded plain = plainCodec->encode(character);
            std::u32string unmappable;
            ASSERT_EQ(sjis::fromUnicode(character, &unmappable), plain.bytes) << std::hex << lead << trail;
            ASSERT_TRUE(unmappable.empty()) << std::hex << lead << trail;
            ++checked;
        }
    }
    EXPECT_GT(checked, 7000);
}

TEST(Sjis, AsciiIsItsOwnByteAndCharactersThatWouldChangeAreRefused) {
    for (char16_t c = 0; c < 0x80; ++c) {
        std::u32string unmappable;
        ASSERT_EQ(sjis::fromUnicode(std::u16string(1, c), &unmappable), std::string(1, static_cast<char>(c)))
            << static_cast<int>(c);
        ASSERT_TRUE(unmappable.empty());
    }
    const struct {
        const char* label;
        std::u16string text;
        std::string stored;
        std::u32string refused;
    } cases[] = {
        {"lone high surrogate at the end", u16("あ") + u'\xD83D', kA, U"\xD83D"},
        {"lone low surrogate inside",
         u"a\xDE00"
         u"b",
         "ab", U"\xDE00"},
        {"two separate halves are no pair", u"\xD83D-\xDE00", "-", U"\xD83D\xDE00"},
        {"a lone half after its pair", u16("😀") + u'\xD83D', "", U"😀\xD83D"},
        {"yen sign has no exact form", u16("¥1"), "1", U"¥"},
        {"overline has no exact form", u16("‾"), "", U"‾"},
    };
    for (const auto& c : cases) {
        std::u32string unmappable;
        EXPECT_EQ(sjis::fromUnicode(c.text, &unmappable), c.stored) << c.label;
        EXPECT_EQ(unmappable, c.refused) << c.label;
    }
}

}  // namespace

TEST(Sjis, EqualIgnoringCaseFoldsLettersButNeverATrailByte) {
    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    const Case cases[] = {
        {"Taro", "tARO", true},      {"ＴａＲｏ", "ｔＡｒＯ", true},
        {"ΑΩ", "αω", true},          {"ЁНОЯ", "ёноя", true},
        {"ア", "ャ", false},  // 83 41 and 83 61: trails 'A' and 'a'
        {"Ｔａｒｏ", "Taro", false}, {"taro", "taro2", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sjis::equalIgnoringCase(sjis::fromUtf8(c.a), sjis::fromUtf8(c.b)), c.equal)
            << c.a << " " << c.b;
    }
}
