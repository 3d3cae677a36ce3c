#include "toolbar/delivery_notice.h"

#include "data/sjis.h"
#include "support/delivery_result_printer.h"
#include "support/geometry_printer.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {

constexpr DeliveryResult kFailures[] = {
    DeliveryResult::NoWindowBelow,       DeliveryResult::TargetNotActive,
    DeliveryResult::ModifiersHeld,       DeliveryResult::KeyFailed,
    DeliveryResult::NotLastActive,       DeliveryResult::FocusLost,
    DeliveryResult::ConsentAsked,        DeliveryResult::ConsentAskedThisRun,
    DeliveryResult::ConsentPending,      DeliveryResult::ConsentRefused,
    DeliveryResult::ConsentResuming,     DeliveryResult::SessionStarting,
    DeliveryResult::SessionLost,         DeliveryResult::RemoteControlGone,
    DeliveryResult::NoActiveWindowNamed, DeliveryResult::ActiveWindowIsOurs,
    DeliveryResult::WindowsDisagree,
};

bool Contains(const std::string& text, const char* utf8) {
    return text.find(sjis::fromUtf8(utf8)) != std::string::npos;
}

TEST(DeliveryNotice, EveryFailureHasItsOwnTextAndOnlyAPasteMentionsTheClipboard) {
    std::set<std::string> pasteTexts;
    std::set<std::string> nextTexts;
    for (const DeliveryResult result : kFailures) {
        const std::string paste = DeliveryNoticeText(result, DeliveryAction::Paste);
        const std::string next = DeliveryNoticeText(result, DeliveryAction::NextKey);
        EXPECT_TRUE(Contains(paste, "クリップボードにコピーしました（Ctrl+V で貼り付けられます）。"))
            << ::testing::PrintToString(result);
        EXPECT_FALSE(next.empty()) << ::testing::PrintToString(result);
        EXPECT_FALSE(Contains(next, "クリップボード")) << "the Next button copies nothing";
        pasteTexts.insert(paste);
        nextTexts.insert(next);
    }
    EXPECT_EQ(pasteTexts.size(), std::size(kFailures));
    EXPECT_EQ(nextTexts.size(), std::size(kFailures));
    EXPECT_EQ(DeliveryNoticeText(DeliveryResult::NoWindowBelow, DeliveryAction::Paste),
              sjis::fromUtf8("貼り付け先のウィンドウが見つかりません。"
                             "クリップボードにコピーしました（Ctrl+V で貼り付けられます）。"));
    EXPECT_TRUE(DeliveryNoticeText(DeliveryResult::Sent, DeliveryAction::Paste).empty());
    EXPECT_TRUE(DeliveryNoticeText(DeliveryResult::Sent, DeliveryAction::NextKey).empty());
}

TEST(DeliveryNotice, ATypedTextTellsHowFarItGotAndWarnsOfARepeatedCharacterInADropDown) {
    EXPECT_TRUE(TypingNoticeText({DeliveryResult::Sent, 2, 2}, U"12").empty());
    EXPECT_TRUE(Contains(TypingNoticeText({DeliveryResult::Sent, 2, 2}, U"11"), "プルダウン"));
    EXPECT_TRUE(Contains(TypingNoticeText({DeliveryResult::FocusLost, 3, 8}, U"東京都千代田区"),
                         "3 文字目まで入力して止めました（全 8 文字）。"));
    EXPECT_TRUE(Contains(TypingNoticeText({DeliveryResult::KeyFailed, 0, 8}, U"東京都千代田区"),
                         "入力しませんでした"));
    // A Wayland window got a paste instead: no word of typing, and nothing was chosen by typing.
    EXPECT_TRUE(TypingNoticeText({DeliveryResult::Sent, 0, 2, true}, U"11").empty());
    EXPECT_EQ(TypingNoticeText({DeliveryResult::FocusLost, 0, 8, true}, U"東京都千代田区"),
              DeliveryNoticeText(DeliveryResult::FocusLost, DeliveryAction::Paste));
}

TEST(DeliveryNotice, GoesBelowTheToolbarOrAboveItWhenTheScreenEndsAndStaysOnTheScreen) {
    const Rect screen{0, 0, 1280, 800};
    const Size notice{360, 40};
    struct Case {
        const char* name;
        Rect toolbar;
        Point expected;
    };
    const Case cases[] = {
        {"room below", {300, 300, 422, 40}, {300, 342}},
        {"at the bottom", {300, 760, 422, 40}, {300, 718}},
        {"at the right edge", {1200, 100, 77, 40}, {920, 142}},
        {"left of the screen", {-50, 100, 77, 40}, {0, 142}},
        {"at the largest position", {INT_MAX - 10, INT_MAX - 10, 77, 40}, {920, 760}},
        {"at the smallest position", {INT_MIN, INT_MIN, 77, 40}, {0, 0}},
    };
    for (const Case& c : cases) {
        const Rect placed = NoticeGeometry(c.toolbar, notice, screen);
        EXPECT_EQ(placed.topLeft(), c.expected) << c.name;
        EXPECT_EQ(placed.size(), notice) << c.name;
        EXPECT_FALSE(placed.intersects(c.toolbar)) << c.name;
    }
}

}  // namespace
