// Arbitrary and truncated bytes fed to every reader of outside data: none may crash (the test suite runs
// under AddressSanitizer and UndefinedBehaviorSanitizer), and what each one returns keeps its promises.

#include "data/birth_date.h"
#include "data/user_file.h"
#include "settings/ini_file.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr CalendarDate kToday{2026, 12, 7};

// Random byte strings with a bias towards the bytes that steer the readers: line ends, NUL, "/", "=", "[",
// digits, spaces and Shift-JIS lead bytes.
std::vector<std::string> randomInputs(std::size_t count) {
    std::mt19937 random(20261207);
    const std::string steering = "\r\n\0/=[] 0123456789$xX-;\x81\x82\xe0\xfc\"";
    std::vector<std::string> inputs;
    for (std::size_t i = 0; i < count; ++i) {
        std::string bytes(random() % 300, '\0');
        for (char& byte : bytes) {
            byte =
                random() % 2 == 0 ? steering[random() % steering.size()] : static_cast<char>(random() % 256);
        }
        inputs.push_back(std::move(bytes));
    }
    return inputs;
}

// Every prefix of a well-formed file, as a write cut short would leave it.
std::vector<std::string> truncations(const std::string& whole) {
    std::vector<std::string> prefixes;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        prefixes.push_back(whole.substr(0, length));
    }
    return prefixes;
}

std::vector<std::string> allInputs() {
    UserRecord record = emptyUserRecord();
    record[FamilyName] = "\x8e\x52\x93\x63";  // 山田
    record[BirthYear] = "1970";
    std::vector<std::string> inputs = randomInputs(3000);
    for (auto& prefix : truncations(UserFileBytes(record))) {
        inputs.push_back(std::move(prefix));
    }
    for (auto& prefix : truncations("[Set]\r\nPasteOK=0x1\r\nAfterKey=$FFFFFFFF\r\n[Window]\r\nLeft=-40\r\n"
                                    "[Button]\r\nImage3=C:\\a.bmp\r\n")) {
        inputs.push_back(std::move(prefix));
    }
    return inputs;
}

TEST(BadInput, UserFileReaderGivesCleanLinesThatReadBackTheSame) {
    for (const std::string& bytes : allInputs()) {
        const UserRecord lines = ParseUserFileBytes(bytes);
        for (const std::string& line : lines) {
            ASSERT_EQ(line.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
        }
        ASSERT_EQ(ParseUserFileBytes(UserFileBytes(lines)), lines);
    }
}

TEST(BadInput, SettingsReaderAlwaysGivesSixteenBoundedImagePaths) {
    for (const std::string& bytes : allInputs()) {
        const IniFile file(bytes);
        SettingsFileContents contents;
        ASSERT_TRUE(ReadSettings(file, contents));
        ASSERT_EQ(contents.ButtonImagePaths.size(), 16u);
        for (const std::string& path : contents.ButtonImagePaths) {
            ASSERT_LE(path.size(), kProfileValueLimit);
        }
        IniFile rewritten(bytes);
        WriteSettings(rewritten, contents);
        SettingsFileContents again;
        ASSERT_TRUE(ReadSettings(IniFile(rewritten.bytes()), again));
        ASSERT_EQ(again.ButtonImagePaths, contents.ButtonImagePaths) << "what is written reads back";
        ASSERT_EQ(again.Left, contents.Left);
    }
}

TEST(BadInput, BirthDateParserOnlyEverGivesRealDates) {
    for (const std::string& bytes : allInputs()) {
        for (const std::string& text : {bytes, "19" + bytes.substr(0, 8), bytes.substr(0, 3) + "/4/1"}) {
            const std::optional<CalendarDate> date = ParseBirthDate(text, kToday);
            if (date) {
                ASSERT_TRUE(IsCalendarDate(date->year, date->month, date->day)) << text;
            }
        }
    }
}

}  // namespace
