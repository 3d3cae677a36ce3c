#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(IniFile, ReadsValuesTheWayAWindowsWrittenFileNeeds) {
    const std::string kanjiAtLimit = std::string(2046, 'a') + "\x82\xa0";
    const struct {
        std::string file, section, key, expected;
    } cases[] = {
        {"[Set]\r\nPasteOK=1\r\n", "set", "pasteok", "1"},            // names ignore letter case
        {"[ Set ]\r\n  PasteOK  =  7  \r\n", "Set", "PasteOK", "7"},  // blanks around names and values
        {"[Set]\nA=\"quoted\"\n", "Set", "A", "quoted"},              // one pair of quotes is dropped
        {"[Set]\nA='x\n", "Set", "A", "'x"},
        {"[Set]\nA=a=b\n", "Set", "A", "a=b"},
        {"[Set]\rA=cr\r", "Set", "A", "cr"},
        {"[Other]\nA=no\n[Set]\nA=yes\nA=second\n", "Set", "A", "yes"},
        {"[Set]\n;A=comment\n", "Set", "A", "default"},
        {"A=before any section\n[Set]\n", "Set", "A", "default"},
        {"[Sets]\nA=1\n", "Set", "A", "default"},
        {"", "Set", "A", "default"},
        {"[B]\nI=" + std::string(3000, 'a'), "B", "I", std::string(2047, 'a')},  // a 2048-byte buffer
        {"[B]\nI=" + kanjiAtLimit, "B", "I", std::string(2046, 'a')},            // never half a character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IniFile(c.file).readString(c.section, c.key, "default"), c.expected) << c.file;
    }
}

TEST(IniFile, ParsesIntegersInDecimalAndHexadecimal) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"2", 2},           {"-40", -40},
        {"+7", 7},          {"0x1", 1},
        {"0X1f", 31},       {"$FF", 255},
        {"$FFFFFFFF", -1},  {"-2147483648", -2147483647 - 1},
        {"2147483648", 99}, {"0x100000000", 99},
        {"0x", 99},         {"$", 99},
        {"-", 99},          {"", 99},
        {"yes", 99},        {"12a", 99},
        {"-0x1", 99},       {"1.5", 99},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseProfileInteger(c.text, 99), c.expected) << c.text;
    }
    const IniFile file("[S]\nTwo=2\nYes=yes\n");
    EXPECT_TRUE(ReadProfileBool(file, "S", "Two", false));
    EXPECT_TRUE(ReadProfileBool(file, "S", "Yes", true));
    EXPECT_FALSE(ReadProfileBool(file, "S", "Yes", false));
}

TEST(IniFile, WritingAKeyChangesOnlyItsOwnLine) {
    IniFile file("; comment\n[set]\npasteok = 0\nUnknown=keep me\n\n[Mine]\nX=1");
    file.writeString("Set", "PasteOK", "1");        // replaced in place, spelled as in the file
    file.writeString("SET", "NextKey", "1");        // after the section's last key, before the blank line
    file.writeString("Mine", "Y", "2");             // the last line had no line end
    file.writeString("Window", "Left", "-40");      // a new section at the end, in the file's line ends
    file.writeString("Window", "Top", "a\r\nb=c");  // a line break never makes a line of its own
    EXPECT_EQ(file.bytes(),
              "; comment\n[set]\npasteok=1\nUnknown=keep me\nNextKey=1\n\n[Mine]\nX=1\nY=2\n"
              "[Window]\nLeft=-40\nTop=a\n");

    // Mixed line ends: a new key never joins the line after it into one.
    IniFile mixed("[S]\rk=1\n\n");
    mixed.writeString("S", "x", "2");
    EXPECT_EQ(mixed.bytes(), "[S]\rk=1\nx=2\n\n");
}

}  // namespace
