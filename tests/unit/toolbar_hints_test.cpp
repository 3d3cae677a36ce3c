#include "toolbar/toolbar_hints.h"

#include "data/sjis.h"

#include <gtest/gtest.h>

namespace {

const CalendarDate kToday{2026, 12, 7};

std::string j(const char* utf8) {
    return sjis::fromUtf8(utf8);
}

UserRecord recordWith(std::initializer_list<std::pair<int, const char*>> fields,
                      std::size_t lines = kFieldCount) {
    UserRecord record(lines);
    for (const auto& [index, text] : fields) {
        record[static_cast<std::size_t>(index)] = j(text);
    }
    return record;
}

TEST(ToolbarHints, MemoShortFormCountsCharacters) {
    const std::string sixteen = j("あいうえおかきくけこさしすせそた");
    ASSERT_EQ(sixteen.size(), 32u);
    EXPECT_EQ(MemoShortForm(sixteen), sixteen);
    EXPECT_EQ(MemoShortForm(sixteen + "x"), j("あいうえおかきくけこさしすせそ") + "...");
    EXPECT_EQ(MemoShortForm("0123456789abcdef"), "0123456789abcdef");
    EXPECT_EQ(MemoShortForm("0123456789abcdefg"), "0123456789abcde...");
}

TEST(ToolbarHints, FilledRecordReplacesTheLayoutHints) {
    ToolbarHints hints = LayoutHints();
    TakeRecordIntoHints(recordWith({{PostalCode, "100-0001"},
                                    {City, "千代田区"},
                                    {PhoneArea, "03"},
                                    {FaxNumber, "1234"},
                                    {Memo1, "いつもの"},
                                    {BirthYear, "1975"},
                                    {BirthMonth, "4"},
                                    {BirthDay, "1"}}),
                        hints, kToday);
    EXPECT_EQ(hints.buttonHints[4], "100-0001");
    EXPECT_EQ(hints.buttonHints[5], j("千代田区"));
    EXPECT_EQ(hints.buttonHints[6], j("氏名"));
    EXPECT_EQ(hints.buttonHints[10], "03--");
    EXPECT_EQ(hints.buttonHints[11], "--1234");
    EXPECT_EQ(hints.buttonHints[14], j("いつもの"));
    EXPECT_EQ(hints.memoCaptions[0], j("いつもの"));
    EXPECT_EQ(hints.memoCaptions[1], j("メモ２"));
    EXPECT_EQ(hints.buttonHints[17], "1975/04/01");
    EXPECT_EQ(hints.buttonHints[15], j("設定"));
}

TEST(ToolbarHints, BirthDateHint) {
    struct Case {
        UserRecord record;
        const char* hint;
    };
    const Case cases[] = {
        {recordWith({{BirthYear, "1975"}, {BirthMonth, "2"}, {BirthDay, "30"}}), "無効な日付"},
        {recordWith({}), "無効な日付"},
        {recordWith({{BirthYear, "1975"}}, 30), "生年月日"},
        {UserRecord{}, "生年月日"},
    };
    for (const auto& c : cases) {
        ToolbarHints hints = LayoutHints();
        TakeRecordIntoHints(c.record, hints, kToday);
        EXPECT_EQ(hints.buttonHints[17], j(c.hint)) << c.record.size() << " lines";
    }
}

TEST(ToolbarHints, EmptyRecordChangesOnlyTheBirthDateHint) {
    ToolbarHints hints = LayoutHints();
    TakeRecordIntoHints(
        recordWith({{Sex, "男"}, {Memo2, "二番目"}, {BirthYear, "1975"}, {BirthMonth, "4"}, {BirthDay, "1"}}),
        hints, kToday);
    TakeRecordIntoHints(UserRecord{}, hints, kToday);
    EXPECT_EQ(hints.buttonHints[7], j("男"));
    EXPECT_EQ(hints.memoCaptions[1], j("二番目"));
    EXPECT_EQ(hints.buttonHints[17], j("生年月日"));
}

TEST(ToolbarHints, ShortRecordReadsMissingFieldsAsEmpty) {
    ToolbarHints hints = LayoutHints();
    TakeRecordIntoHints(recordWith({{PostalCode, "123"}}, 3), hints, kToday);
    EXPECT_EQ(hints.buttonHints[4], "123");
    EXPECT_EQ(hints.buttonHints[12], "E-Mail");
    EXPECT_EQ(hints.memoCaptions[3], j("メモ４"));
    EXPECT_EQ(hints.buttonHints[14], j("メモ１"));
}

TEST(ToolbarHints, NameFaceFollowsTheExactSexText) {
    struct Case {
        UserRecord record;
        NameFaceChoice choice;
    };
    const Case cases[] = {
        {UserRecord{}, NameFaceChoice::Unchanged},
        {recordWith({}, 7), NameFaceChoice::DefaultFaceOnly},
        {recordWith({{Sex, "女"}}, 8), NameFaceChoice::Female},
        {recordWith({{Sex, "女性"}}), NameFaceChoice::Female},
        {recordWith({{Sex, "女 "}}), NameFaceChoice::Male},
        {recordWith({{Sex, "男"}}), NameFaceChoice::Male},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChooseNameFace(c.record), c.choice) << c.record.size() << " lines";
    }
}

}  // namespace
