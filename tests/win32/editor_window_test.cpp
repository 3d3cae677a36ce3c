// The user file editor run in this process, so that what only its own thread sees (the input context) can be
// read on that thread while the dialog runs.
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_text_codec.h"
#include "support/recording_current_user.h"
#include "toolbar_window.h"
#include "win32/dialogs/control_ids.h"
#include "win32/dialogs/user_file_editor_dialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <vector>

namespace {

namespace ids = control_ids;

constexpr DWORD kRomajiHiragana = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN;  // 0x19

struct ModeSeen {
    BOOL open = FALSE;
    DWORD conversion = 0;
};

ModeSeen inputMethodOf(HWND window) {
    ModeSeen seen;
    const HIMC context = ImmGetContext(window);
    DWORD sentence = 0;
    seen.open = ImmGetOpenStatus(context);
    ImmGetConversionStatus(context, &seen.conversion, &sentence);
    ImmReleaseContext(window, context);
    return seen;
}

// What the boxes switch the input method to, read on the dialog's thread by a timer of that thread.
std::vector<ModeSeen> seenInBoxes;

void CALLBACK visitBoxes(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND editor = GetActiveWindow();
    if (editor == nullptr || GetDlgItem(editor, ids::Edit(25)) == nullptr) {
        return;  // not shown yet
    }
    KillTimer(nullptr, timer);
    for (const int box : {2, 25, 2}) {
        SendMessageW(editor, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(editor, ids::Edit(box))),
                     TRUE);
        seenInBoxes.push_back(inputMethodOf(editor));
    }
    PostMessageW(GetDlgItem(editor, ids::BitBtn(2)), BM_CLICK, 0, 0);
}

TEST(EditorWindow, BoxesSwitchToKanaKeepingRomajiInputAndTheCloseGivesTheUsersStateBack) {
    RecordingCurrentUser user;
    const Win32TextCodec codec;
    const auto clipboard = makeWin32Clipboard(codec);
    const std::string title = "Zenporo";
    const UserDialogContext context{user, user.dialogs, *clipboard, codec, title, "."};
    const TestWindow owner(TestWindow::Kind::Ordinary);
    const HIMC ownerContext = ImmGetContext(owner.get());
    ImmSetOpenStatus(ownerContext, FALSE);
    ImmSetConversionStatus(ownerContext, kRomajiHiragana, 0);
    ImmReleaseContext(owner.get(), ownerContext);

    seenInBoxes.clear();
    SetTimer(nullptr, 0, 50, visitBoxes);
    OpenUserFileEditor(owner.get(), context, std::string());

    ASSERT_EQ(seenInBoxes.size(), 3U);
    EXPECT_TRUE(seenInBoxes[0].open);
    EXPECT_EQ(seenInBoxes[0].conversion, kRomajiHiragana);
    EXPECT_EQ(seenInBoxes[1].conversion, kRomajiHiragana | IME_CMODE_KATAKANA);  // 0x1B
    EXPECT_EQ(seenInBoxes[2].conversion, kRomajiHiragana);
    const ModeSeen after = inputMethodOf(owner.get());
    EXPECT_FALSE(after.open);
    EXPECT_EQ(after.conversion, kRomajiHiragana);
}

}  // namespace
