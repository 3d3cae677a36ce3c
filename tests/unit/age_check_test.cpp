#include "data/sjis.h"
#include "data/user_file.h"
#include "support/scripted_dialogs.h"
#include "support/temporary_folder.h"
#include "toolbar/current_user.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

constexpr CalendarDate kToday{2026, 4, 9};

UserRecord recordBornOn(const char* year, const char* month, const char* day, const std::string& age) {
    UserRecord record = emptyUserRecord();
    record[FamilyName] = sjis::fromUtf8("山田");
    record[Age] = age;
    record[BirthYear] = year;
    record[BirthMonth] = month;
    record[BirthDay] = day;
    return record;
}

class ConfirmStoredAgeTest : public ::testing::Test {
  protected:
    TemporaryFolder dir_;
    const std::string path_ = dir_.text() + "user.zpd";

    UserRecord onDisk() const { return ReadUserFile(path_); }
};

TEST_F(ConfirmStoredAgeTest, AsksTheExactQuestionAndRewritesOnYes) {
    UserRecord record = recordBornOn("1970", "4", "10", "54");
    WriteUserFile(path_, record);
    ScriptedDialogs dialogs(DialogAnswer::Yes);

    ConfirmStoredAge(record, path_, dialogs, kToday);

    ASSERT_EQ(dialogs.asked.size(), 1u);
    const DialogRequest& question = dialogs.asked.front();
    EXPECT_EQ(question.text,
              sjis::fromUtf8("登録されている年齢に誤りがあります。\n\r54歳　→　55歳\n\r修正しますか？"));
    EXPECT_EQ(question.caption, sjis::fromUtf8("情報"));
    EXPECT_EQ(question.icon, DialogIcon::Information);
    ASSERT_EQ(question.buttons.size(), 2u);
    EXPECT_EQ(question.buttons[0].answer, DialogAnswer::Yes);
    EXPECT_EQ(question.buttons[0].caption, sjis::fromUtf8("はい(&Y)"));
    EXPECT_EQ(question.buttons[1].answer, DialogAnswer::No);
    EXPECT_EQ(question.buttons[1].caption, sjis::fromUtf8("いいえ(&N)"));
    EXPECT_EQ(question.defaultAnswer, DialogAnswer::Yes);
    EXPECT_EQ(question.escapeAnswer, DialogAnswer::No);

    EXPECT_EQ(record[Age], "55");
    EXPECT_EQ(onDisk(), record);
}

TEST_F(ConfirmStoredAgeTest, NoKeepsRecordAndFile) {
    UserRecord record = recordBornOn("1970", "4", "10", "54");
    WriteUserFile(path_, record);
    const UserRecord before = record;
    ScriptedDialogs dialogs(DialogAnswer::No);

    ConfirmStoredAge(record, path_, dialogs, kToday);

    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(record, before);
    EXPECT_EQ(onDisk(), before);
}

TEST_F(ConfirmStoredAgeTest, AsksNothingWhenTheAgeIsRightOrCannotBeComputed) {
    struct Case {
        const char* label;
        UserRecord record;
    };
    UserRecord longer = recordBornOn("1970", "4", "10", "1");
    longer.push_back("");
    UserRecord shorter = recordBornOn("1970", "4", "10", "1");
    shorter.resize(30);
    const Case cases[] = {
        {"equal", recordBornOn("1970", "4", "10", "55")},
        {"invalid date", recordBornOn("1970", "13", "10", "1")},
        {"empty birth fields", recordBornOn("", "", "", "1")},
        {"born in the future", recordBornOn("2026", "4", "10", "1")},
        {"32 lines", longer},
        {"30 lines", shorter},
    };
    for (const auto& c : cases) {
        UserRecord record = c.record;
        ScriptedDialogs dialogs(DialogAnswer::Yes);
        ConfirmStoredAge(record, path_, dialogs, kToday);
        EXPECT_TRUE(dialogs.asked.empty()) << c.label;
        EXPECT_EQ(record, c.record) << c.label;
        EXPECT_FALSE(std::filesystem::exists(FileSystemPath(path_))) << c.label;
    }
}

TEST_F(ConfirmStoredAgeTest, StoredAgeMustMatchExactlyApartFromLetterCase) {
    struct Case {
        std::string stored;
        std::string shownBeforeArrow;
    };
    const Case cases[] = {
        {"55 ", "55 "},
        {"", ""},
        {"055", "055"},
        {sjis::fromUtf8("５５"), sjis::fromUtf8("５５")},
    };
    for (const auto& c : cases) {
        UserRecord record = recordBornOn("1970", "4", "10", c.stored);
        ScriptedDialogs dialogs(DialogAnswer::No);
        ConfirmStoredAge(record, path_, dialogs, kToday);
        ASSERT_EQ(dialogs.asked.size(), 1u) << c.stored;
        EXPECT_EQ(dialogs.asked.front().text, sjis::fromUtf8("登録されている年齢に誤りがあります。\n\r") +
                                                  c.shownBeforeArrow +
                                                  sjis::fromUtf8("歳　→　55歳\n\r修正しますか？"));
    }
}

TEST_F(ConfirmStoredAgeTest, AFailedRewriteIsIgnoredAndTheRecordKeepsTheCorrection) {
    UserRecord record = recordBornOn("1970", "4", "10", "54");
    const std::string unwritable = dir_.text() + "missing-folder/user.zpd";
    ScriptedDialogs dialogs(DialogAnswer::Yes);

    EXPECT_NO_THROW(ConfirmStoredAge(record, unwritable, dialogs, kToday));

    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(record[Age], "55");
}

}  // namespace
