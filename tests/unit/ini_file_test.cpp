#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ReadCase {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;
};

TEST(IniFile, ReadsValuesTheWayAWindowsWrittenFileNeeds) {
    const ReadCase cases[] = {
        {"[Set]\r\nPasteOK=1\r\n", "set", "pasteok", "1"},            // names ignore letter case
        {"[ Set ]\r\n  PasteOK  =  7  \r\n", "Set", "PasteOK", "7"},  // blanks around names and values
        {"[Set]\nA=\"quoted\"\n", "Set", "A", "quoted"},              // one pair of quotes is dropped
        {"[Set]\nA='x\n", "Set", "A", "'x"},                          // an unpaired quote stays
        {"[Set]\nA=a=b\n", "Set", "A", "a=b"},                        // the first "=" ends the name
        {"[Set]\rA=cr\r", "Set", "A", "cr"},                          // lone CR line ends
        {"[Set]\nA=first\nA=second\n", "Set", "A", "first"},
        {"[Other]\nA=no\n[Set]\nA=yes\n", "Set", "A", "yes"},
        {"[Set]\n;A=comment\n", "Set", "A", "default"},
        {"A=before any section\n[Set]\n", "Set", "A", "default"},
        {"[Set]\nB=1\n", "Set", "A", "default"},
        {"[Sets]\nA=1\n", "Set", "A", "default"},
        {"", "Set", "A", "default"},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(IniFile(c.file).readString(c.section, c.key, "default"), c.expected) << c.file;
    }
}

TEST(IniFile, ValuesAreCutTo2047BytesWithoutSplittingACharacter) {
    const std::string longValue(3000, 'a');
    EXPECT_EQ(IniFile("[B]\nI=" + longValue).readString("B", "I", ""), std::string(2047, 'a'));
    const std::string kanjiAtEdge = std::string(2046, 'a') + "\x82\xa0";
    EXPECT_EQ(IniFile("[B]\nI=" + kanjiAtEdge).readString("B", "I", ""), std::string(2046, 'a'));
}

TEST(IniFile, ParsesIntegersInDecimalAndHexadecimal) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"2", 2},
        {"-40", -40},
        {"+7", 7},
        {"0x1", 1},
        {"0X1f", 31},
        {"$FF", 255},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 99},
        {"0x100000000", 99},
        {"0x", 99},
        {"$", 99},
        {"-", 99},
        {"", 99},
        {"yes", 99},
        {"12a", 99},
        {"0xG", 99},
        {"-0x1", 99},
        {"1.5", 99},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseProfileInteger(c.text, 99), c.expected) << c.text;
    }
    const IniFile file("[S]\nTwo=2\nYes=yes\nZero=0\n");
    EXPECT_TRUE(ReadProfileBool(file, "S", "Two", false));
    EXPECT_TRUE(ReadProfileBool(file, "S", "Yes", true));
    EXPECT_FALSE(ReadProfileBool(file, "S", "Yes", false));
    EXPECT_FALSE(ReadProfileBool(file, "S", "Zero", true));
    EXPECT_TRUE(ReadProfileBool(file, "S", "Missing", true));
}

TEST(IniFile, WritingAKeyChangesOnlyItsOwnLine) {
    IniFile file(
        "; comment\n"
        "[set]\n"
        "pasteok = 0\n"
        "Unknown=keep me\n"
        "\n"
        "[Mine]\n"
        "X=1");
    file.writeString("Set", "PasteOK", "1");    // replaced in place, spelled as in the file
    file.writeString("SET", "NextKey", "1");    // added after the section's last key, before the blank line
    file.writeString("Mine", "Y", "2");         // the last line had no line end
    file.writeString("Window", "Left", "-40");  // a new section at the end, in the file's line ends
    file.writeString("Window", "Top", "a\r\nb=c");  // a line break never makes a line of its own
    EXPECT_EQ(file.bytes(),
              "; comment\n"
              "[set]\n"
              "pasteok=1\n"
              "Unknown=keep me\n"
              "NextKey=1\n"
              "\n"
              "[Mine]\n"
              "X=1\n"
              "Y=2\n"
              "[Window]\n"
              "Left=-40\n"
              "Top=a\n");
}

TEST(IniFile, ANewFileGetsCrLfLineEnds) {
    IniFile file;
    file.writeBool("Set", "PasteOK", true);
    file.writeInteger("Set", "AfterKey", -3);
    EXPECT_EQ(file.bytes(), "[Set]\r\nPasteOK=1\r\nAfterKey=-3\r\n");
    EXPECT_EQ(IniFile("[A]\r\nx=1\r\n\r\n[B]\n").bytes(), "[A]\r\nx=1\r\n\r\n[B]\n");
}

}  // namespace
