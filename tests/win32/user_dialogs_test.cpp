// The Win32 user file dialogs as a user meets them: a helper thread finds the dialog by its caption, types
// with real key input where the behaviour depends on typing, and clicks; results are read from the files.
#include "data/sjis.h"
#include "data/user_file.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_text_codec.h"
#include "support/recording_current_user.h"
#include "support/temporary_folder.h"
#include "win32/dialogs/control_ids.h"
#include "win32/dialogs/settings_dialog.h"
#include "win32/dialogs/user_file_list_dialog.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

namespace ids = control_ids;

constexpr DWORD kWaitMs = 10000;
constexpr DWORD kPollMs = 20;

bool WaitFor(const std::function<bool()>& condition) {
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        if (condition()) {
            return true;
        }
        Sleep(kPollMs);
    }
    return condition();
}

std::wstring Utf8(const char* text) {
    return toWide(sjis::toUnicode(sjis::fromUtf8(text)));
}

std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

HWND Focused(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

void Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void Press(WORD key, WORD modifier = 0) {
    if (modifier != 0) {
        Key(modifier, false);
    }
    Key(key, false);
    Key(key, true);
    if (modifier != 0) {
        Key(modifier, true);
    }
}

void Type(const std::wstring& text) {
    for (const wchar_t unit : text) {
        for (const DWORD flags : {KEYEVENTF_UNICODE, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wScan = unit;
            input.ki.dwFlags = flags;
            SendInput(1, &input, sizeof input);
        }
    }
}

void SetClipboard(const std::wstring& text) {
    ASSERT_TRUE(WaitFor([] { return OpenClipboard(nullptr) != FALSE; }));
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// The dialog with the caption once it shows, its controls made.
HWND ShownDialog(const std::wstring& caption) {
    HWND dialog = nullptr;
    WaitFor([&] {
        dialog = FindWindowW(L"#32770", caption.c_str());
        return dialog != nullptr && IsWindowVisible(dialog) != FALSE;
    });
    return dialog;
}

// Runs steps against the dialog with the caption on a helper thread while the test thread shows it; the
// dialog is closed afterwards if the steps left it open.
class DialogDriver {
  public:
    DialogDriver(const char* caption, std::function<void(HWND)> steps)
        : thread_([caption = Utf8(caption), steps = std::move(steps)] {
              const HWND dialog = ShownDialog(caption);
              ASSERT_NE(dialog, nullptr);
              SetForegroundWindow(dialog);
              steps(dialog);
              if (IsWindow(dialog)) {
                  PostMessageW(dialog, WM_CLOSE, 0, 0);
              }
          }) {}
    ~DialogDriver() { thread_.join(); }

  private:
    std::thread thread_;
};

class UserDialogs : public ::testing::Test {
  protected:
    Win32TextCodec codec;
    TemporaryFolder folder;
    RecordingCurrentUser user;
    std::unique_ptr<Clipboard> clipboard = makeWin32Clipboard(codec);
    std::string title = sjis::fromUtf8("Zenporo！");
    UserDialogContext context{user,
                              user.dialogs,
                              *clipboard,
                              codec,
                              title,
                              folder.text(),
                              [] { return CalendarDate{2026, 12, 7}; }};
};

// Typed into each box in tab order from Edit1, then ENTER: what the box keeps and where the focus goes.
struct Typed {
    int box;
    const char* typed;
    const char* kept;
    int next;  // the box ENTER moves to; 0 for the OK button
};

TEST_F(UserDialogs, TheEditorKeepsWhatFitsMovesOnWithEnterAndWritesTheFile) {
    const Typed typed[] = {
        {1, "123-45678", "123-4567", 2},  // 8 bytes
        {8, "女性", "女", 29},            // 3 bytes: a kanji takes two
        {29, "19900", "1990", 30},        // 4 bytes
        {30, "4", "4", 31},
        {31, "15", "15", 9},                                           // leaving the day fills the age
        {10, "会社員会社員会社員会社員", "会社員会社員会社員会", 11},  // 20 bytes
        {22, "①髙", "①髙", 32},                                        // NEC and IBM codes
        {32, "山田", "山田", 0},
    };
    DialogDriver driver("ユーザーファイル作成", [&](HWND dialog) {
        for (const Typed& step : typed) {
            SendMessageW(dialog, WM_NEXTDLGCTL,
                         reinterpret_cast<WPARAM>(GetDlgItem(dialog, ids::Edit(step.box))), TRUE);
            Type(Utf8(step.typed));
            Press(VK_RETURN);
            const HWND next = GetDlgItem(dialog, step.next == 0 ? ids::BitBtn(1) : ids::Edit(step.next));
            EXPECT_TRUE(WaitFor([&] { return Focused(dialog) == next; })) << step.typed;
            EXPECT_EQ(TextOf(GetDlgItem(dialog, ids::Edit(step.box))), Utf8(step.kept));
        }
        EXPECT_EQ(TextOf(GetDlgItem(dialog, ids::Edit(9))), L"36");
        // The shortcuts paste only the first line, and only what fits.
        SetClipboard(Utf8("東京都\r\n千代田区"));
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, ids::Edit(2))), TRUE);
        Press('V', VK_CONTROL);
        EXPECT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(dialog, ids::Edit(2))) == Utf8("東京都"); }));
        SetClipboard(Utf8("男性"));
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, ids::Edit(8))), TRUE);
        Press(VK_DELETE);  // the whole text was selected on entry
        Press(VK_INSERT, VK_SHIFT);
        EXPECT_TRUE(WaitFor([&] { return TextOf(GetDlgItem(dialog, ids::Edit(8))) == Utf8("男"); }));
        // Escape does nothing; ENTER on the focused OK button presses it.
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, ids::BitBtn(1))),
                     TRUE);
        Press(VK_ESCAPE);
        Press(VK_RETURN);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    });
    OpenUserFileEditor(nullptr, context, "");
    UserRecord expected = emptyUserRecord();
    const std::pair<int, const char*> fields[] = {{PostalCode, "123-4567"},
                                                  {Prefecture, "東京都"},
                                                  {Sex, "男"},
                                                  {Age, "36"},
                                                  {Occupation, "会社員会社員会社員会"},
                                                  {Memo4, "①髙"},
                                                  {BirthYear, "1990"},
                                                  {BirthMonth, "4"},
                                                  {BirthDay, "15"}};
    std::string bytes;
    for (const auto& [field, text] : fields) {
        expected[static_cast<std::size_t>(field)] = sjis::fromUtf8(text);
    }
    for (const std::string& line : expected) {
        bytes += line + "\r\n";
    }
    EXPECT_EQ(FileBytes(UserFilePath(folder.text(), sjis::fromUtf8("山田"))), bytes);
    EXPECT_EQ(user.title, sjis::fromUtf8("山田 - Zenporo！"));
}

std::vector<std::wstring> Rows(HWND list) {
    std::vector<std::wstring> rows;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        wchar_t text[256] = {};
        ListView_GetItemText(list, row, 0, text, 256);
        rows.emplace_back(text);
    }
    return rows;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

TEST_F(UserDialogs, TheListShowsTheFilesSortedDeletesOneAndEditsAnother) {
    for (const char* name : {"b", "A", "a.b"}) {
        WriteUserFile(UserFilePath(folder.text(), name), {"100-0001"});
    }
    user.dialogs.answerNext(DialogAnswer::Yes);  // delete b
    user.dialogs.answerNext(DialogAnswer::Yes);  // save A under its own name
    DialogDriver driver("ユーザーファイルリスト", [&](HWND dialog) {
        const HWND list = GetDlgItem(dialog, ids::kListView1);
        EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"A", L"a.b", L"b"}));
        EXPECT_FALSE(Enabled(dialog, ids::BitBtn(5)));
        ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        EXPECT_TRUE(Enabled(dialog, ids::BitBtn(5)));
        SendMessageW(GetDlgItem(dialog, ids::BitBtn(5)), BM_CLICK, 0, 0);
        EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"A", L"a.b"}));
        EXPECT_FALSE(Enabled(dialog, ids::BitBtn(1)));
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        PostMessageW(GetDlgItem(dialog, ids::BitBtn(3)), BM_CLICK, 0, 0);
        const HWND editor = ShownDialog(Utf8("ユーザーファイル作成"));
        ASSERT_NE(editor, nullptr);
        const HWND postalCode = GetDlgItem(editor, ids::Edit(1));
        EXPECT_EQ(TextOf(postalCode), L"100-0001");
        SetForegroundWindow(editor);
        SendMessageW(editor, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(postalCode), TRUE);
        Type(L"9");
        ASSERT_TRUE(WaitFor([&] { return TextOf(postalCode) == L"9"; }));
        PostMessageW(GetDlgItem(editor, ids::BitBtn(1)), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(dialog); }));
    });
    OpenUserFileList(nullptr, context);
    EXPECT_FALSE(std::filesystem::exists(FileSystemPath(UserFilePath(folder.text(), "b"))));
    EXPECT_EQ(ReadUserFile(UserFilePath(folder.text(), "A")).front(), "9");
    EXPECT_EQ(user.dialogs.asked.size(), 2u);
}

TEST_F(UserDialogs, TheSettingsDialogStoresWhatItsControlsShow) {
    ToolbarSettings settings;
    settings.PasteAfter = true;
    settings.AfterKey = 2;
    std::vector<std::string> paths(16);
    bool rebuilt = false;
    const SettingsDialogContext settingsContext{settings,
                                                paths,
                                                [](int) { return Pixels(); },
                                                [](int) { return Pixels(); },
                                                [&] { rebuilt = true; },
                                                user.dialogs,
                                                codec,
                                                nullptr};
    DialogDriver driver("設定", [&](HWND dialog) {
        EXPECT_EQ(SendMessageW(GetDlgItem(dialog, ids::RadioButton(2)), BM_GETCHECK, 0, 0), BST_CHECKED);
        EXPECT_TRUE(Enabled(dialog, ids::RadioButton(2)));
        SendMessageW(GetDlgItem(dialog, ids::CheckBox(1)), BM_CLICK, 0, 0);
        EXPECT_FALSE(Enabled(dialog, ids::CheckBox(2)));
        EXPECT_FALSE(Enabled(dialog, ids::RadioButton(2)));
        SendMessageW(GetDlgItem(dialog, ids::RadioButton(4)), BM_CLICK, 0, 0);
        SetWindowTextW(GetDlgItem(dialog, ids::Edit(15)), L"C:\\faces\\female.bmp");
        SendMessageW(GetDlgItem(dialog, ids::BitBtn(1)), BM_CLICK, 0, 0);
    });
    OpenSettingsDialog(nullptr, settingsContext);
    EXPECT_FALSE(settings.PasteOK);
    EXPECT_TRUE(settings.PasteAfter);
    EXPECT_EQ(settings.AfterKey, 1);
    EXPECT_FALSE(settings.NextKey);
    EXPECT_EQ(paths[15], "C:\\faces\\female.bmp");
    EXPECT_TRUE(rebuilt);
}

}  // namespace
