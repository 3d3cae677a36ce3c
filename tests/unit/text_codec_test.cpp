// Runs in both builds: against Qt's converters on Linux and against code page 932 of Windows (Wine).
#include "platform/text_codec.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

class TextCodecTest : public ::testing::Test {
  protected:
    std::unique_ptr<TextCodec> codec = makePlatformTextCodec();
};

struct Mapping {
    std::u16string text;
    std::string bytes;
};

// Characters whose bytes differ between Shift-JIS tables: the NEC and IBM extensions of code page 932 that
// names and addresses use, the full-width tilde, and half-width katakana.
TEST_F(TextCodecTest, StoresEachCharacterAsCodePage932Does) {
    const Mapping mappings[] = {
        {u"髙", "\xFB\xFC"},
        {u"纊", "\xFA\x5C"},
        {u"ⅰ", "\xFA\x40"},
        {u"①", "\x87\x40"},
        {u"～", "\x81\x60"},
        {u"ｱ", "\xB1"},
        {u"あ", "\x82\xA0"},
        {u"Aa1 ", "Aa1 "},
        {u"〒100-0001",
         "\x81\xA7"
         "100-0001"},
        {u"\\", "\\"},
        {u"∵", "\x81\xE6"},
    };
    for (const Mapping& m : mappings) {
        const TextCodec::Encoded encoded = codec->encode(m.text);
        EXPECT_EQ(encoded.bytes, m.bytes) << testing::PrintToString(m.text);
        EXPECT_TRUE(encoded.complete()) << testing::PrintToString(m.text);
        EXPECT_EQ(codec->decode(m.bytes), m.text) << testing::PrintToString(m.bytes);
    }
}

TEST_F(TextCodecTest, LeavesOutAndReportsWhatCannotBeStoredWithoutSubstitutes) {
    // 𠮷 lies beyond the table; the wave dash would only fit as its look-alike, the full-width tilde; é would
    // only fit as a plain e; the emoji twice is reported once.
    const TextCodec::Encoded encoded = codec->encode(u"山𠮷a〜bé😀c😀");
    EXPECT_EQ(encoded.bytes,
              "\x8E\x52"
              "abc");
    EXPECT_EQ(encoded.unstorable, u"𠮷〜é😀");
    EXPECT_FALSE(encoded.complete());
}

TEST_F(TextCodecTest, RefusesALoneSurrogate) {
    const std::u16string lone{u'x', char16_t{0xD842}, u'y'};
    const TextCodec::Encoded encoded = codec->encode(lone);
    EXPECT_EQ(encoded.bytes, "xy");
    EXPECT_EQ(encoded.unstorable, std::u16string(1, char16_t{0xD842}));
}

TEST_F(TextCodecTest, ReadsBrokenBytesAsOneReplacementEach) {
    const Mapping cases[] = {
        {u"A\uFFFD", "A\x82"},  // a lead byte at the very end
        {u"\uFFFD B",
         "\x82\x20"
         "B"},                              // a lead byte before a byte that cannot follow it
        {u"\uFFFDあ", "\x85\x40\x82\xA0"},  // an unassigned pair, then a character
        {u"", ""},
    };
    for (const Mapping& c : cases) {
        EXPECT_EQ(codec->decode(c.bytes), c.text) << testing::PrintToString(c.bytes);
    }
}

}  // namespace
