// The real zenporo.exe's dialogs as a user meets them: typed into with real key input where the behaviour
// depends on typing, clicked elsewhere; results read from the files the program wrote and from its toolbar.
#include "data/birth_date.h"
#include "target_program.h"
#include "win32/dialogs/control_ids.h"
#include "zenporo_program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace ids = control_ids;

constexpr DWORD kWaitMs = 10000;
constexpr DWORD kPollMs = 20;
constexpr int kSettingsButton = 15;

bool waitFor(const std::function<bool()>& condition) {
    for (DWORD waited = 0; waited < kWaitMs; waited += kPollMs) {
        if (condition()) {
            return true;
        }
        pumpMessagesFor(kPollMs);
    }
    return condition();
}

// The shown dialog of the process with the caption; nullptr when none shows in time.
HWND waitForDialog(const std::wstring& caption, HANDLE process) {
    HWND dialog = nullptr;
    waitFor([&] {
        dialog = FindWindowW(L"#32770", caption.c_str());
        DWORD owner = 0;
        GetWindowThreadProcessId(dialog, &owner);
        return dialog != nullptr && owner == GetProcessId(process) && IsWindowVisible(dialog) != FALSE;
    });
    return dialog;
}

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND focusOf(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

void focus(HWND dialog, int id) {
    SetForegroundWindow(dialog);
    SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

INPUT keyInput(WORD virtualKey, wchar_t unit, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = unit;
    input.ki.dwFlags = flags;
    return input;
}

// A key, with a modifier held down around it.
void key(WORD virtualKey, WORD modifier = 0) {
    std::vector<INPUT> inputs;
    if (modifier != 0) {
        inputs.push_back(keyInput(modifier, 0, 0));
    }
    inputs.push_back(keyInput(virtualKey, 0, 0));
    inputs.push_back(keyInput(virtualKey, 0, KEYEVENTF_KEYUP));
    if (modifier != 0) {
        inputs.push_back(keyInput(modifier, 0, KEYEVENTF_KEYUP));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Text as an input method hands it over, one character at a time.
void type(const std::wstring& text) {
    for (const wchar_t unit : text) {
        INPUT input[2] = {keyInput(0, unit, KEYEVENTF_UNICODE),
                          keyInput(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)};
        SendInput(2, input, sizeof(INPUT));
    }
}

void click(HWND dialog, int id) {
    PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void answerYes(const wchar_t* caption, HANDLE process) {
    const HWND question = waitForDialog(caption, process);
    ASSERT_NE(question, nullptr) << "no question";
    // A click that comes while the question still lays out its buttons is lost (seen under load), so the
    // test clicks again until the question has gone.
    for (DWORD waited = 0; IsWindow(question) != FALSE && waited < kWaitMs; waited += 500) {
        pumpMessagesFor(200);
        click(question, IDYES);
        pumpMessagesFor(300);
    }
    ASSERT_FALSE(IsWindow(question)) << "the question stayed";
}

void setClipboard(const std::wstring& text) {
    ASSERT_TRUE(waitFor([] { return OpenClipboard(nullptr) != FALSE; }));
    EmptyClipboard();
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// A user file of 31 lines with the postal code alone.
std::string postalCodeOnly(const char* postalCode) {
    std::string bytes = std::string(postalCode) + "\r\n";
    for (int line = 1; line < 31; ++line) {
        bytes += "\r\n";
    }
    return bytes;
}

// Typed into a box, then ENTER: what the box keeps and where the focus moves (0: the OK button).
struct Typed {
    int box;
    std::wstring typed;
    std::wstring kept;
    int next;
};

TEST(ZenporoDialogs, AFirstStartOpensTheEditorWhoseOkWritesTheUserFile) {
    ZenporoProgram zenporo;
    const HANDLE process = zenporo.start();
    const HWND editor = waitForDialog(L"ユーザーファイル作成", process);
    ASSERT_NE(editor, nullptr);
    const Typed steps[] = {
        {1, L"123-45678", L"123-4567", 2},  // 8 bytes
        {8, L"女性", L"女", 29},            // 3 bytes: a kanji takes two
        {29, L"19900", L"1990", 30},
        {30, L"4", L"4", 31},
        {31, L"15", L"15", 9},                                           // leaving the day fills the age
        {10, L"会社員会社員会社員会社員", L"会社員会社員会社員会", 11},  // 20 bytes
        {22, L"①髙", L"①髙", 32},                                        // NEC and IBM codes
        {32, L"山田", L"山田", 0},
    };
    for (const Typed& step : steps) {
        focus(editor, ids::Edit(step.box));
        type(step.typed);
        key(VK_RETURN);
        const HWND next = GetDlgItem(editor, step.next == 0 ? ids::BitBtn(1) : ids::Edit(step.next));
        EXPECT_TRUE(waitFor([&] { return focusOf(editor) == next; })) << step.box;
        EXPECT_EQ(textOf(GetDlgItem(editor, ids::Edit(step.box))), step.kept);
    }
    const std::string age = AgeFromBirthFields("1990", "4", "15", TodayLocal());
    EXPECT_EQ(codePage932(textOf(GetDlgItem(editor, ids::Edit(9)))), age);
    // The shortcuts paste the first line only, and only what fits.
    setClipboard(L"東京都\r\n千代田区");
    focus(editor, ids::Edit(2));
    key('V', VK_CONTROL);
    EXPECT_TRUE(waitFor([&] { return textOf(GetDlgItem(editor, ids::Edit(2))) == L"東京都"; }));
    setClipboard(L"男性");
    focus(editor, ids::Edit(8));
    key(VK_DELETE);  // the whole text was selected on entry
    key(VK_INSERT, VK_SHIFT);
    EXPECT_TRUE(waitFor([&] { return textOf(GetDlgItem(editor, ids::Edit(8))) == L"男"; }));
    // Escape does nothing; ENTER on the focused OK button presses it.
    focus(editor, ids::BitBtn(1));
    key(VK_ESCAPE);
    key(VK_RETURN);
    ASSERT_TRUE(waitFor([&] { return IsWindow(editor) == FALSE; }));

    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    EXPECT_EQ(textOf(zenporo.toolbar()), L"山田 - Zenporo！");
    std::vector<std::string> fields(31);
    fields[0] = "123-4567";
    fields[1] = codePage932(L"東京都");
    fields[7] = codePage932(L"男");
    fields[8] = age;
    fields[9] = codePage932(L"会社員会社員会社員会");
    fields[21] = codePage932(L"①髙");
    fields[28] = "1990";
    fields[29] = "4";
    fields[30] = "15";
    std::string bytes;
    for (const std::string& field : fields) {
        bytes += field + "\r\n";
    }
    EXPECT_EQ(zenporo.fileBytes(L"山田.zpd"), bytes);
    EXPECT_EQ(codePage932(L"①髙"), "\x87\x40\xFB\xFC");
}

// Whether the window lets Windows end the session now.
bool letsSessionEnd(HWND window) {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, kWaitMs, &answer);
    return answer != FALSE;
}

TEST(ZenporoDialogs, TheEditorOutlastsAClipboardHeldByAnotherProgramAndHoldsUpTheSessionEnd) {
    ZenporoProgram zenporo;
    const HANDLE process = zenporo.start();
    const HWND editor = waitForDialog(L"ユーザーファイル作成", process);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(letsSessionEnd(editor));
    focus(editor, ids::Edit(32));
    type(L"山田");
    ASSERT_TRUE(waitFor([&] { return textOf(GetDlgItem(editor, ids::Edit(32))) == L"山田"; }));
    EXPECT_FALSE(letsSessionEnd(editor));

    // Ctrl+C while this process holds the clipboard longer than the editor waits for it.
    SendMessageW(GetDlgItem(editor, ids::Edit(32)), EM_SETSEL, 0, -1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    key('C', VK_CONTROL);
    pumpMessagesFor(2000);
    CloseClipboard();
    const HWND report = waitForDialog(L"Zenporo！", process);
    ASSERT_NE(report, nullptr) << "no report";
    PostMessageW(report, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitFor([&] { return IsWindow(report) == FALSE; }));

    focus(editor, ids::Edit(1));
    type(L"100-0001");
    ASSERT_TRUE(waitFor([&] { return textOf(GetDlgItem(editor, ids::Edit(1))) == L"100-0001"; }));
    click(editor, ids::BitBtn(1));
    ASSERT_TRUE(waitFor([&] { return IsWindow(editor) == FALSE; }));
    EXPECT_EQ(zenporo.fileBytes(L"山田.zpd"), postalCodeOnly("100-0001"));
}

// A.ZPD, named as old 8.3 media name files, is listed and opened as A like any other user file.
TEST(ZenporoDialogs, TwoUserFilesOpenTheSortedListWhereDeleteAndEditWork) {
    ZenporoProgram zenporo({{L"b.zpd", postalCodeOnly("200-0002")}, {L"A.ZPD", postalCodeOnly("100-0001")}});
    const HANDLE process = zenporo.start();
    const HWND list = waitForDialog(L"ユーザーファイルリスト", process);
    ASSERT_NE(list, nullptr);
    const HWND view = GetDlgItem(list, ids::kListView1);
    EXPECT_EQ(ListView_GetItemCount(view), 2);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(list, ids::BitBtn(5))));
    // The second entry is b: A sorts first.
    focus(list, ids::kListView1);
    key(VK_HOME);
    key(VK_DOWN);
    ASSERT_TRUE(waitFor([&] { return ListView_GetNextItem(view, -1, LVNI_SELECTED) == 1; }));
    click(list, ids::BitBtn(5));
    answerYes(L"警告", process);
    EXPECT_TRUE(waitFor([&] { return zenporo.fileBytes(L"b.zpd").empty(); }));
    EXPECT_TRUE(waitFor([&] { return ListView_GetItemCount(view) == 1; }));

    focus(list, ids::kListView1);
    key(VK_HOME);
    key(VK_SPACE);
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(list, ids::BitBtn(3))) != FALSE; }));
    click(list, ids::BitBtn(3));
    const HWND editor = waitForDialog(L"ユーザーファイル作成", process);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(textOf(GetDlgItem(editor, ids::Edit(1))), L"100-0001");
    focus(editor, ids::Edit(1));
    type(L"9");
    ASSERT_TRUE(waitFor([&] { return textOf(GetDlgItem(editor, ids::Edit(1))) == L"9"; }));
    click(editor, ids::BitBtn(1));
    answerYes(L"ファイルの保存", process);
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(textOf(zenporo.toolbar()), L"A - Zenporo！");
    EXPECT_EQ(zenporo.fileBytes(L"A.zpd"), postalCodeOnly("9"));
}

TEST(ZenporoDialogs, TheSettingsDialogsOkReachesTheSettingsFileAtTheEnd) {
    // The field row open, where the settings button is.
    ZenporoProgram zenporo(
        {{L"A.zpd", postalCodeOnly("100-0001")}, {L"Zenpad.ini", "[Set]\r\nBtnDown=1\r\n"}});
    const HANDLE process = zenporo.start();
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    zenporo.click(kSettingsButton);
    const HWND settings = waitForDialog(L"設定", process);
    ASSERT_NE(settings, nullptr);
    click(settings, ids::CheckBox(1));
    ASSERT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(settings, ids::CheckBox(2))) == FALSE; }));
    click(settings, ids::RadioButton(4));
    SendMessageW(GetDlgItem(settings, ids::Edit(15)), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(L"C:\\faces\\female.bmp"));
    click(settings, ids::BitBtn(1));
    ASSERT_TRUE(waitFor([&] { return IsWindow(settings) == FALSE; }));
    ASSERT_TRUE(zenporo.close());
    std::string images;
    for (int i = 0; i < 16; ++i) {
        images += "Image" + std::to_string(i) + "=" + (i == 15 ? "C:\\faces\\female.bmp" : "") + "\r\n";
    }
    EXPECT_EQ(zenporo.fileBytes(L"Zenpad.ini"),
              "[Set]\r\nBtnDown=1\r\nPasteOK=0\r\nPasteAfter=0\r\nFrmStyle=1\r\nNextKey=0\r\nAfterKey=0\r\n"
              "[Window]\r\nLeft=0\r\nTop=0\r\n[Button]\r\n" +
                  images);
}

}  // namespace
