#include "platform/error_report.h"

#include "data/app_error.h"
#include "platform/dialogs.h"

#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorReport, AddsAFullStopUnlessTheLastByteSortsAtOrBeforeIt) {
    const struct {
        std::string message, expected;
    } cases[] = {
        {"abc", "abc."},   {"abc.", "abc."},  {"abc-", "abc-"},
        {"abc)", "abc)"},  {"abc/", "abc/."}, {"a\x82\xa0", "a\x82\xa0."},  // a double-byte character
        {"\xff", "\xff."},                                                  // compared unsigned
        {"", "."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorReportText(c.message), c.expected) << c.message;
    }
}

TEST(ErrorReport, ShowsAnErrorBoxWithOneOkButtonCaptionedWithTheTitle) {
    ScriptedDialogs dialogs;
    ShowErrorReport(dialogs, AppError("failed").message(), "Title");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    const DialogRequest& box = dialogs.asked.front();
    EXPECT_EQ(box.text, "failed.");
    EXPECT_EQ(box.caption, "Title");
    EXPECT_EQ(box.icon, DialogIcon::Error);
    ASSERT_EQ(box.buttons.size(), 1u);
    EXPECT_EQ(box.buttons.front().answer, DialogAnswer::Ok);
}

}  // namespace
