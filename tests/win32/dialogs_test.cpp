// The dialogs as a user meets them: found on the screen by their caption, read, and answered by a click.
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_text_codec.h"
#include "target_program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr DWORD kFindTimeoutMs = 10000;
constexpr DWORD kPollMs = 20;

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// What a dialog shows, read from its controls.
struct ShownDialog {
    std::wstring caption;
    std::vector<std::wstring> texts;    // static texts and other text-holding children
    std::vector<std::wstring> buttons;  // push button captions
    bool hasIcon = false;
};

BOOL CALLBACK collectChild(HWND child, LPARAM parameter) {
    auto& shown = *reinterpret_cast<ShownDialog*>(parameter);
    const std::wstring kind = classOf(child);
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (!IsWindowVisible(child)) {
        return TRUE;
    }
    if (kind == L"Button") {
        shown.buttons.push_back(textOf(child));
    } else if (kind == L"Static" && (style & SS_TYPEMASK) == SS_ICON) {
        shown.hasIcon = true;
    } else if (!textOf(child).empty()) {
        shown.texts.push_back(textOf(child));
    }
    return TRUE;
}

// Waits on another thread for a dialog with the caption, reads it, and then answers it.
class DialogAnswerer {
  public:
    enum class Action { PressButtonById, Close };

    DialogAnswerer(std::wstring caption, Action action, int buttonId = 0)
        : thread_(
              [this, caption = std::move(caption), action, buttonId] { run(caption, action, buttonId); }) {}
    ~DialogAnswerer() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    const ShownDialog& shown() {
        thread_.join();
        return shown_;
    }

  private:
    void run(const std::wstring& caption, Action action, int buttonId) {
        HWND dialog = nullptr;
        for (DWORD waited = 0; waited < kFindTimeoutMs && dialog == nullptr; waited += kPollMs) {
            dialog = FindWindowW(L"#32770", caption.c_str());
            if (dialog == nullptr || !IsWindowVisible(dialog)) {
                dialog = nullptr;
                Sleep(kPollMs);
            }
        }
        if (dialog == nullptr) {
            return;
        }
        // Answered once the dialog waits in its message loop, its controls made and placed.
        SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kFindTimeoutMs, nullptr);
        shown_.caption = textOf(dialog);
        EnumChildWindows(dialog, collectChild, reinterpret_cast<LPARAM>(&shown_));
        // ZENPORO_DIALOG_HOLD_MS keeps the dialog up for a while, to look at it or take a screenshot.
        if (const char* hold = std::getenv("ZENPORO_DIALOG_HOLD_MS")) {
            Sleep(static_cast<DWORD>(std::atoi(hold)));
        }
        if (action == Action::Close) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
            return;
        }
        const HWND button = GetDlgItem(dialog, buttonId);
        if (button != nullptr) {
            PostMessageW(button, BM_CLICK, 0, 0);
        }
    }

    ShownDialog shown_;
    std::thread thread_;
};

class Win32DialogsTest : public ::testing::Test {
  protected:
    std::string sjis(std::u16string_view text) { return codec.encode(text).bytes; }
    Win32TextCodec codec;
    Win32Dialogs dialogs{codec};
};

// The toolbar's notice: caption "情報", the information icon and the single button "はい(&Y)", which no
// message box offers.
TEST_F(Win32DialogsTest, ShowsTheNoticeWithItsOwnSingleButton) {
    const DialogRequest notice{
        sjis(u"ユーザーファイルが読み込まれていません。"), sjis(u"情報"),     DialogIcon::Information,
        {{DialogAnswer::Yes, sjis(u"はい(&Y)")}},          DialogAnswer::Yes, DialogAnswer::Yes};
    DialogAnswerer answerer(L"情報", DialogAnswerer::Action::PressButtonById, IDYES);
    EXPECT_EQ(dialogs.ask(notice), DialogAnswer::Yes);
    const ShownDialog& shown = answerer.shown();
    EXPECT_EQ(shown.caption, L"情報");
    EXPECT_EQ(shown.buttons, std::vector<std::wstring>{L"はい(&Y)"});
    EXPECT_NE(std::find(shown.texts.begin(), shown.texts.end(), L"ユーザーファイルが読み込まれていません。"),
              shown.texts.end());
    EXPECT_TRUE(shown.hasIcon);
}

struct QuestionCase {
    const char* name;
    DialogAnswerer::Action action;
    int buttonId;
    DialogAnswer expected;
};

// A question with Windows' own Yes and No: each button gives its answer, and the close box gives the
// request's answer for Escape.
TEST_F(Win32DialogsTest, AnswersAQuestionByTheButtonPressedOrTheCloseBox) {
    const QuestionCase cases[] = {
        {"yes", DialogAnswerer::Action::PressButtonById, IDYES, DialogAnswer::Yes},
        {"no", DialogAnswerer::Action::PressButtonById, IDNO, DialogAnswer::No},
        {"close box", DialogAnswerer::Action::Close, 0, DialogAnswer::No},
    };
    for (const QuestionCase& c : cases) {
        const DialogRequest question{sjis(u"年齢を訂正しますか？"),
                                     sjis(u"確認"),
                                     DialogIcon::Exclamation,
                                     {{DialogAnswer::Yes, {}}, {DialogAnswer::No, {}}},
                                     DialogAnswer::Yes,
                                     DialogAnswer::No};
        DialogAnswerer answerer(L"確認", c.action, c.buttonId);
        EXPECT_EQ(dialogs.ask(question), c.expected) << c.name;
        EXPECT_EQ(answerer.shown().buttons.size(), 2u) << c.name;
    }
}

}  // namespace
