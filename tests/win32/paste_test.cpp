// The toolbar's paste and Next keys, through the Win32 services, into a real program below the toolbar.
#include "app/toolbar_settings.h"
#include "platform/thread_sleeper.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_key_input.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_window_order.h"
#include "support/delivery_result_printer.h"
#include "target_program.h"
#include "toolbar/delivery.h"
#include "toolbar_window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// What the target needs to take in the keys after they were sent.
constexpr DWORD kSettleMs = 300;

class PasteTest : public ::testing::Test {
  protected:
    std::string sjis(std::u16string_view text) { return codec.encode(text).bytes; }

    DeliveryResult paste(const std::u16string& text, bool tabAfter) {
        EXPECT_TRUE(clipboard->setText(sjis(text)));
        ToolbarSettings settings;
        settings.PasteAfter = tabAfter;
        settings.AfterKey = 0;
        return PasteIntoWindowBelow(settings, toWindowHandle(toolbar->get()), ports);
    }

    Win32TextCodec codec;
    std::unique_ptr<WindowOrder> windows = makeWin32WindowOrder(codec);
    std::unique_ptr<KeyInput> keys = makeWin32KeyInput();
    std::unique_ptr<Clipboard> clipboard = makeWin32Clipboard(codec);
    ThreadSleeper sleeper;
    DeliveryPorts ports{*windows, *keys, sleeper};
    std::unique_ptr<TestWindow> toolbar;
};

TEST_F(PasteTest, FindsTheProgramBelowPastesAndMovesOnWithTab) {
    TargetProgram target(L"記入フォーム 髙");
    ASSERT_NE(target.window(), nullptr);
    // Another program's topmost window that is not active, and a window of our own: both passed over.
    TargetProgram topmost(L"常に手前", TargetProgram::Placement::TopmostInactive);
    ASSERT_NE(topmost.window(), nullptr);
    TestWindow own(TestWindow::Kind::Ordinary);
    toolbar = std::make_unique<TestWindow>(TestWindow::Kind::Toolbar);

    const std::optional<WindowHandle> below = windows->findWindowBelow(toWindowHandle(toolbar->get()));
    ASSERT_TRUE(below.has_value());
    EXPECT_EQ(toHwnd(*below), target.window());
    EXPECT_EQ(windows->windowTitle(*below), sjis(u"記入フォーム 髙"));

    EXPECT_EQ(paste(u"髙橋①", true), DeliveryResult::Sent);
    pumpMessagesFor(kSettleMs);
    EXPECT_EQ(paste(u"ⅰ纊", false), DeliveryResult::Sent);
    pumpMessagesFor(kSettleMs);

    const std::vector<std::wstring> boxes = target.closeAndReadBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], L"髙橋①");
    EXPECT_EQ(boxes[1], L"ⅰ纊");
    EXPECT_EQ(topmost.closeAndReadBoxes(), (std::vector<std::wstring>{L"", L""}));
}

TEST_F(PasteTest, NextKeyPressesTabInTheProgramBelow) {
    TargetProgram target(L"次へのフォーム");
    ASSERT_NE(target.window(), nullptr);
    toolbar = std::make_unique<TestWindow>(TestWindow::Kind::Toolbar);
    ToolbarSettings settings;
    settings.NextKey = true;
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, toWindowHandle(toolbar->get()), ports), DeliveryResult::Sent);
    pumpMessagesFor(kSettleMs);
    EXPECT_EQ(paste(u"二番目", false), DeliveryResult::Sent);
    pumpMessagesFor(kSettleMs);
    EXPECT_EQ(target.closeAndReadBoxes(), (std::vector<std::wstring>{L"", L"二番目"}));
}

TEST_F(PasteTest, SendsNothingWithNoOtherProgramBelow) {
    TestWindow own(TestWindow::Kind::Ordinary);
    toolbar = std::make_unique<TestWindow>(TestWindow::Kind::Toolbar);
    EXPECT_EQ(windows->findWindowBelow(toWindowHandle(toolbar->get())), std::nullopt);
    EXPECT_EQ(paste(u"誰にも届かない", true), DeliveryResult::NoWindowBelow);
}

}  // namespace
