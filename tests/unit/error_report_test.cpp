#include "app/error_report.h"

#include "data/app_error.h"
#include "platform/dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorReport, AddsAFullStopUnlessTheLastByteSortsAtOrBeforeIt) {
    const struct {
        std::string message;
        std::string expected;
    } cases[] = {
        {"abc", "abc."},
        {"abc.", "abc."},
        {"abc-", "abc-"},  // 0x2D
        {"abc)", "abc)"},
        {"abc ", "abc "},
        {"abc/", "abc/."},            // 0x2F sorts after "."
        {"a\x82\xa0", "a\x82\xa0."},  // a double-byte character
        {"(3)\xff", "(3)\xff."},      // a high byte compares unsigned
        {"", "."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorReportText(c.message), c.expected) << c.message;
    }
}

class RecordingDialogs : public Dialogs {
  public:
    DialogAnswer ask(const DialogRequest& request) override {
        requests.push_back(request);
        return DialogAnswer::Ok;
    }
    std::vector<DialogRequest> requests;
};

TEST(ErrorReport, ShowsAnErrorBoxWithOneOkButtonCaptionedWithTheTitle) {
    RecordingDialogs dialogs;
    ShowErrorReport(dialogs, cannotWriteTo("/home/u/Zenpad.ini"), "Title");
    ASSERT_EQ(dialogs.requests.size(), 1u);
    const DialogRequest& shown = dialogs.requests.front();
    EXPECT_EQ(shown.text, cannotWriteTo("/home/u/Zenpad.ini").message() + ".");
    EXPECT_EQ(shown.caption, "Title");
    EXPECT_EQ(shown.icon, DialogIcon::Error);
    ASSERT_EQ(shown.buttons.size(), 1u);
    EXPECT_EQ(shown.buttons.front().answer, DialogAnswer::Ok);
}

}  // namespace
