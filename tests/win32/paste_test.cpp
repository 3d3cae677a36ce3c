// The toolbar's paste and Next keys, through the Win32 services, into a real program below the toolbar.
#include "platform/steady_clock.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_key_input.h"
#include "platform/win32/win32_message_sleeper.h"
#include "platform/win32/win32_process_rights.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_window_order.h"
#include "settings/toolbar_settings.h"
#include "support/delivery_result_printer.h"
#include "target_program.h"
#include "toolbar/delivery.h"
#include "toolbar_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

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
    Win32MessageSleeper sleeper;
    SystemSteadyClock clock;
    DeliveryPorts ports{*windows, *keys, sleeper, clock};
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
    target.waitForBoxes({L"髙橋①", L""});  // before the clipboard changes
    EXPECT_EQ(paste(u"ⅰ纊", false), DeliveryResult::Sent);
    target.waitForBoxes({L"髙橋①", L"ⅰ纊"});

    const std::vector<std::wstring> boxes = target.closeAndReadBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], L"髙橋①");
    EXPECT_EQ(boxes[1], L"ⅰ纊");
    EXPECT_EQ(topmost.closeAndReadBoxes(), (std::vector<std::wstring>{L"", L""}));
}

// Typed as Unicode keys, which pass the input method by: what a drop-down list or a box that refuses a paste
// receives, character for character.
TEST_F(PasteTest, TypesAJapaneseNameIntoTheProgramBelow) {
    TargetProgram target(L"入力フォーム");
    ASSERT_NE(target.window(), nullptr);
    toolbar = std::make_unique<TestWindow>(TestWindow::Kind::Toolbar);
    ToolbarSettings settings;
    settings.PasteAfter = true;
    const TypingOutcome typed =
        TypeIntoWindowBelow(U"髙橋①ｱ a", settings, toWindowHandle(toolbar->get()), ports);
    EXPECT_EQ(typed.result, DeliveryResult::Sent);
    EXPECT_EQ(typed.typed, 6u);
    target.waitForBoxes({L"髙橋①ｱ a", L""});
    EXPECT_EQ(target.closeAndReadBoxes(), (std::vector<std::wstring>{L"髙橋①ｱ a", L""}));
}

TEST_F(PasteTest, NextKeyPressesTabInTheProgramBelow) {
    TargetProgram target(L"次へのフォーム");
    ASSERT_NE(target.window(), nullptr);
    toolbar = std::make_unique<TestWindow>(TestWindow::Kind::Toolbar);
    ToolbarSettings settings;
    settings.NextKey = true;
    EXPECT_EQ(PressNextKeyInWindowBelow(settings, toWindowHandle(toolbar->get()), ports),
              DeliveryResult::Sent);
    EXPECT_EQ(paste(u"二番目", false), DeliveryResult::Sent);
    target.waitForBoxes({L"", L"二番目"});
    EXPECT_EQ(target.closeAndReadBoxes(), (std::vector<std::wstring>{L"", L"二番目"}));
}

// The user clicked into an always-on-top window, which so came above the toolbar: the paste goes there.
TEST_F(PasteTest, PastesIntoTheActiveTopmostWindowAboveTheToolbar) {
    TargetProgram ordinary(L"下のフォーム");
    toolbar = std::make_unique<TestWindow>(TestWindow::Kind::Toolbar);
    TargetProgram topmost(L"手前のフォーム", TargetProgram::Placement::TopmostActive);
    EXPECT_EQ(paste(u"手前へ", false), DeliveryResult::Sent);
    topmost.waitForBoxes({L"手前へ", L""});
    EXPECT_EQ(topmost.closeAndReadBoxes(), (std::vector<std::wstring>{L"手前へ", L""}));
    EXPECT_EQ(ordinary.closeAndReadBoxes(), (std::vector<std::wstring>{L"", L""}));
}

// Deliver twice, the second sending nothing: giving the foreground back must not bring up the window the
// first delivery left long ago.
TEST_F(PasteTest, UndoingAnActivationNeverBringsBackTheWindowOfAnEarlierOne) {
    TargetProgram left(L"前の窓");
    TargetProgram form(L"フォーム");
    SetForegroundWindow(left.window());
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == left.window(); }));
    windows->activate(toWindowHandle(form.window()));
    ASSERT_TRUE(waitUntil([&] { return GetForegroundWindow() == form.window(); }));
    windows->activate(toWindowHandle(form.window()));
    windows->undoActivation(toWindowHandle(form.window()));
    EXPECT_EQ(GetForegroundWindow(), form.window());
}

// Another program that reads our clipboard, or a broadcast, sends us a message and waits for the answer: the
// settle wait answers it at once, and leaves what was posted (clicks, keys) for the message loop.
TEST(MessageSleeperTest, AnswersSentMessagesDuringTheWaitAndLeavesPostedOnesQueued) {
    TestWindow own(TestWindow::Kind::Ordinary);
    PostMessageW(own.get(), WM_APP, 0, 0);
    std::atomic<bool> answered = false;
    std::thread sender(
        [&] { answered = SendMessageTimeoutW(own.get(), WM_NULL, 0, 0, 0, 10000, nullptr) != 0; });
    for (int wait = 0; wait < 50 && !answered; ++wait) {
        Win32MessageSleeper().sleep(std::chrono::milliseconds{100});
    }
    EXPECT_TRUE(answered);
    sender.join();
    MSG posted;
    EXPECT_TRUE(PeekMessageW(&posted, own.get(), WM_APP, WM_APP, PM_REMOVE));
}

// Runs this test program again with the non-elevated half of our token, for the one test named; its exit
// code, or nothing when Windows gave us no such half (elevated without user account control).
std::optional<DWORD> runOneTestNonElevated(const std::wstring& testName) {
    HANDLE ownToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &ownToken)) {
        return std::nullopt;
    }
    const KernelHandle own(ownToken);
    TOKEN_LINKED_TOKEN linked{};
    DWORD size = 0;
    if (!GetTokenInformation(own.get(), TokenLinkedToken, &linked, sizeof linked, &size)) {
        return std::nullopt;
    }
    const KernelHandle limited(linked.LinkedToken);
    HANDLE primaryToken = nullptr;
    if (!DuplicateTokenEx(limited.get(), MAXIMUM_ALLOWED, nullptr, SecurityImpersonation, TokenPrimary,
                          &primaryToken)) {
        return std::nullopt;
    }
    const KernelHandle primary(primaryToken);
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    std::wstring commandLine =
        L"\"" + self + L"\" --gtest_also_run_disabled_tests --gtest_filter=" + testName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessAsUserW(primary.get(), nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info)) {
        return std::nullopt;
    }
    CloseHandle(info.hThread);
    const KernelHandle process(info.hProcess);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.get(), &exitCode);
    return exitCode;
}

// Windows drops keys sent to an elevated program from one that is not, yet SendInput reports them sent: the
// delivery must not claim a paste that cannot have arrived. The target inherits our elevation (Wine runs
// every program elevated; on Windows run the tests from an elevated console), and the paste comes from a
// copy of this program that runs with the non-elevated half of our token.
TEST_F(PasteTest, ReportsAKeyFailureForAnElevatedProgramBelow) {
    if (!rightsOfProcess(GetCurrentProcess()).elevated.value_or(false)) {
        GTEST_SKIP() << "needs an elevated test program to start an elevated target";
    }
    TargetProgram target(L"管理者のフォーム");
    ASSERT_NE(target.window(), nullptr);
    ASSERT_EQ(rightsOfWindow(target.window()).elevated, std::optional<bool>(true));
    const std::optional<DWORD> exitCode =
        runOneTestNonElevated(L"PasteTest.DISABLED_PasteIntoAnElevatedProgramFails");
    if (!exitCode) {
        GTEST_SKIP() << "elevated without a non-elevated token to paste from";
    }
    EXPECT_EQ(*exitCode, 0u) << "the paste from the non-elevated copy did not end as expected";
    EXPECT_EQ(target.closeAndReadBoxes(), (std::vector<std::wstring>{L"", L""}));
}

// The non-elevated half of the test above; runs only when that test starts it.
TEST_F(PasteTest, DISABLED_PasteIntoAnElevatedProgramFails) {
    ASSERT_EQ(rightsOfProcess(GetCurrentProcess()).elevated, std::optional<bool>(false));
    toolbar = std::make_unique<TestWindow>(TestWindow::Kind::Toolbar);
    const std::optional<WindowHandle> below = windows->findWindowBelow(toWindowHandle(toolbar->get()));
    ASSERT_TRUE(below.has_value());
    ASSERT_EQ(windows->windowTitle(*below), sjis(u"管理者のフォーム"));
    EXPECT_EQ(paste(u"届かない", true), DeliveryResult::KeyFailed);
}

TEST(ProcessRightsTest, KeysAreDroppedForATargetAboveUsOrOneThatRefusesToTell) {
    const ProcessRights medium{SECURITY_MANDATORY_MEDIUM_RID, false};
    const ProcessRights high{SECURITY_MANDATORY_HIGH_RID, true};
    const ProcessRights elevatedOnly{std::nullopt, true};
    const ProcessRights unknown{};
    // What Windows answers for an elevated program of another account or a protected process.
    const ProcessRights refused{std::nullopt, std::nullopt, true};
    struct Case {
        ProcessRights sender, target;
        bool dropped;
    };
    const Case cases[] = {
        {medium, high, true},    {medium, elevatedOnly, true}, {high, high, false},    {high, medium, false},
        {medium, medium, false}, {medium, unknown, false},     {unknown, high, false}, {high, refused, true},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(keysWouldBeDropped(cases[i].sender, cases[i].target), cases[i].dropped) << "case " << i;
    }
}

TEST_F(PasteTest, SendsNothingWithNoOtherProgramBelow) {
    // The desktop's own windows are no program to type into.
    TargetProgram desktop(L"", TargetProgram::Placement::Ordinary, L"WorkerW");
    ASSERT_NE(desktop.window(), nullptr);
    TestWindow own(TestWindow::Kind::Ordinary);
    toolbar = std::make_unique<TestWindow>(TestWindow::Kind::Toolbar);
    EXPECT_EQ(windows->findWindowBelow(toWindowHandle(toolbar->get())), std::nullopt);
    EXPECT_EQ(paste(u"誰にも届かない", true), DeliveryResult::NoWindowBelow);
    EXPECT_EQ(desktop.closeAndReadBoxes(), (std::vector<std::wstring>{L"", L""}));
}

}  // namespace
