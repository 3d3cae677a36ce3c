// The real zenporo.exe against what Windows itself holds: the form's input method, the right to the
// foreground.
#include "target_program.h"
#include "zenporo_program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

constexpr int kName = 6;

// Hanako Yamada's name and nothing else: no birth date, so no question opens at start.
ZenporoProgram::Files nameOnly() {
    std::string bytes;
    for (int field = 0; field < 31; ++field) {
        bytes += (field == 5 ? codePage932(L"山田") : field == 6 ? codePage932(L"花子") : "") + "\r\n";
    }
    return {{L"山田花子.zpd", bytes}, {L"Zenpad.ini", "[Set]\r\nBtnDown=1\r\n"}};
}

// A Shift+click types into a form whose input method is on, which would take the characters into its
// composition: on Windows the input method is off for the typing and on again after it; Wine's takes no
// order from another program, and there the text is pasted instead.
TEST(ZenporoSystem, ShiftClickTypesPastAnInputMethodThatIsOnAndLeavesItOn) {
    TargetProgram target(L"応募フォーム", TargetProgram::Placement::InputMethodOn);
    ASSERT_TRUE(target.inputMethodOpen());
    ZenporoProgram zenporo(nameOnly());
    zenporo.start();
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    zenporo.shiftClick(kName);
    ASSERT_TRUE(zenporo.waitForDelivery());
    EXPECT_TRUE(target.waitForBoxes({L"山田花子", L""})) << zenporo.log();
    EXPECT_TRUE(waitUntil([&] { return target.inputMethodOpen(); }));
}

// A third program took the foreground while a menu was open, as a click on it does on Windows, and the menu
// closed: that program keeps the foreground, which the toolbar no longer has the right to give (on Windows
// the call would only flash a task-bar button). Wine's menu keeps such a click to itself and stays open on
// the change, so the test cancels it as Windows does.
TEST(ZenporoSystem, AMenuClosedByAnotherProgramLeavesThatProgramInFront) {
    TargetProgram form(L"応募フォーム");
    TargetProgram other(L"メモ");
    SetForegroundWindow(form.window());
    ZenporoProgram zenporo(nameOnly());
    zenporo.start();
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    zenporo.rightPress(kName);
    ASSERT_TRUE(zenporo.waitForMenu());
    SetForegroundWindow(other.window());
    PostMessageW(zenporo.toolbar(), WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(zenporo.waitForMenu(false));
    // Answered once the toolbar is past the menu and back in its message loop.
    SendMessageTimeoutW(zenporo.toolbar(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    EXPECT_EQ(GetForegroundWindow(), other.window());
}

}  // namespace
