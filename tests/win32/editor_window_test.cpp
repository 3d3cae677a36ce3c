// The user file editor run in this process, so that the input context, which belongs to the dialog's thread,
// can be read on that thread while the dialog runs.
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_text_codec.h"
#include "support/recording_current_user.h"
#include "toolbar_window.h"
#include "win32/dialogs/control_ids.h"
#include "win32/dialogs/user_file_editor_dialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <utility>
#include <vector>

namespace {

constexpr DWORD kRomajiHiragana = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN;  // 0x19

// The open state and the conversion mode of the thread's input method.
std::pair<BOOL, DWORD> inputMethodOf(HWND window) {
    const HIMC context = ImmGetContext(window);
    DWORD conversion = 0;
    DWORD sentence = 0;
    ImmGetConversionStatus(context, &conversion, &sentence);
    const BOOL open = ImmGetOpenStatus(context);
    ImmReleaseContext(window, context);
    return {open, conversion};
}

std::vector<std::pair<BOOL, DWORD>> seenInBoxes;

// Runs on the dialog's thread, from its message loop: focuses a hiragana, the katakana and the hiragana box
// again; there the user turns the input method off, and the focus leaves the editor and comes back to the
// box, as from another program or a message box; then cancels.
void CALLBACK visitBoxes(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND editor = GetActiveWindow();
    if (editor == nullptr || GetDlgItem(editor, control_ids::Edit(25)) == nullptr) {
        return;  // not shown yet
    }
    KillTimer(nullptr, timer);
    for (const int box : {2, 25, 2}) {
        SendMessageW(editor, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(editor, control_ids::Edit(box))), TRUE);
        seenInBoxes.push_back(inputMethodOf(editor));
    }
    const HIMC context = ImmGetContext(editor);
    ImmSetOpenStatus(context, FALSE);
    ImmReleaseContext(editor, context);
    SetFocus(nullptr);
    SetFocus(GetDlgItem(editor, control_ids::Edit(2)));
    seenInBoxes.push_back(inputMethodOf(editor));
    PostMessageW(GetDlgItem(editor, control_ids::BitBtn(2)), BM_CLICK, 0, 0);
}

TEST(EditorWindow, BoxesSwitchToKanaKeepingRomajiInputAndTheUsersChoiceAndTheCloseGivesTheStateBack) {
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

    SetTimer(nullptr, 0, 50, visitBoxes);
    OpenUserFileEditor(owner.get(), context, std::string());
    const std::vector<std::pair<BOOL, DWORD>> expected = {{TRUE, kRomajiHiragana},
                                                          {TRUE, kRomajiHiragana | IME_CMODE_KATAKANA},
                                                          {TRUE, kRomajiHiragana},
                                                          {FALSE, kRomajiHiragana}};
    EXPECT_EQ(seenInBoxes, expected);
    EXPECT_EQ(inputMethodOf(owner.get()), std::make_pair(FALSE, kRomajiHiragana));
}

}  // namespace
