// The real zenporo.exe, started from a folder of its own with one user file, driven through the mouse, with
// paste_target below it reporting what its boxes received.
#include "data/birth_date.h"
#include "target_program.h"
#include "win32/gdi_handle.h"
#include "win32/resource_ids.h"
#include "zenporo_program.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kChangeBar = 0;
constexpr int kMinimize = 2;
constexpr int kPostalCode = 4;
constexpr int kName = 6;
constexpr int kSex = 7;
constexpr int kBirthDate = 17;
constexpr int kNext = 18;

// Hanako Yamada, born 1 April 1990, her age as of today so that no question opens at start.
std::string userFile() {
    const std::string age = AgeFromBirthFields("1990", "4", "1", TodayLocal());
    const std::vector<std::wstring> fields = {L"123-4567",
                                              L"東京都",
                                              L"千代田区",
                                              L"千代田1-1",
                                              L"髙橋荘101",
                                              L"山田",
                                              L"花子",
                                              L"女性",
                                              L"",
                                              L"会社員",
                                              L"03",
                                              L"1234",
                                              L"5678",
                                              L"03",
                                              L"1234",
                                              L"5679",
                                              L"hanako@example.jp",
                                              L"https://example.jp/",
                                              L"メモ①",
                                              L"",
                                              L"",
                                              L"",
                                              L"やまだ",
                                              L"はなこ",
                                              L"ヤマダ",
                                              L"ハナコ",
                                              L"Yamada",
                                              L"Hanako",
                                              L"1990",
                                              L"4",
                                              L"1"};
    std::string bytes;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        bytes += (i == 8 ? age : codePage932(fields[i])) + "\r\n";
    }
    return bytes;
}

// The user file, and settings that show the field buttons, with more keys of the section Set.
ZenporoProgram::Files filesWith(const std::string& setKeys) {
    return {{L"山田花子.zpd", userFile()}, {L"Zenpad.ini", "[Set]\r\nBtnDown=1\r\n" + setKeys}};
}

// One user action: a left click on a button (with Shift held when shift), or a right press on it followed by
// keys in its menu.
struct Step {
    int button;
    std::vector<WORD> menuKeys;
    bool shift = false;
    bool quick = false;  // the next step follows at once, while the paste may still run
};

struct PasteCase {
    const char* name;
    std::string settings;
    std::vector<Step> steps;
    std::vector<std::wstring> expected;  // what the target's two boxes hold
    TargetProgram::Placement target = TargetProgram::Placement::Ordinary;
};

TEST(Zenporo, ClicksPasteTheUsersDetailsIntoTheProgramBelow) {
    const PasteCase cases[] = {
        {"a field button", "", {{kName, {}}}, {L"山田花子", L""}},
        {"TAB after the paste, then the postal code without its hyphen from the menu's end",
         "PasteAfter=1\r\n",
         {{kName, {}}, {kPostalCode, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}}},
         {L"山田花子", L"1234567"}},
        {"the Next button", "", {{kPostalCode, {}}, {kNext, {}}, {kSex, {}}}, {L"123-4567", L"女性"}},
        {"a double-click pastes once, a quick click on another button pastes after it",
         "",
         {{kPostalCode, {}, false, true}, {kPostalCode, {}, false, true}, {kName, {}}},
         {L"123-4567山田花子", L""}},
        {"the birth date in the Japanese era from the menu",
         "",
         {{kBirthDate, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}}},
         {L"平成02年04月01日", L""}},
        {"boxes that refuse a paste: a click's paste is lost, a Shift+click types",
         "",
         {{kPostalCode, {}}, {kName, {}, true}},
         {L"山田花子", L""},
         TargetProgram::Placement::RefusingPaste},
    };
    for (const PasteCase& c : cases) {
        TargetProgram target(L"応募フォーム", c.target);
        ASSERT_NE(target.window(), nullptr) << c.name;
        ZenporoProgram zenporo(filesWith(c.settings));
        ASSERT_NE(zenporo.start(), nullptr) << c.name;
        ASSERT_NE(zenporo.waitForToolbar(), nullptr) << c.name;
        for (const Step& step : c.steps) {
            if (step.shift) {
                zenporo.shiftClick(step.button);
            } else if (step.menuKeys.empty()) {
                zenporo.click(step.button);
            } else {
                zenporo.rightPress(step.button);
                zenporo.waitForMenu();
                typeKeys(step.menuKeys);
            }
            if (!step.quick) {
                zenporo.waitForDelivery();
            }
        }
        target.waitForBoxes(c.expected);  // a close would jump ahead of keys still queued
        EXPECT_TRUE(zenporo.close()) << c.name;
        EXPECT_EQ(target.closeAndReadBoxes(), c.expected) << c.name;
    }
}

// Another program's always-on-top window between the toolbar and the form is passed over.
TEST(Zenporo, AStayOnTopWindowOfAnotherProgramGetsNothing) {
    TargetProgram target(L"応募フォーム");
    TargetProgram topmost(L"付箋", TargetProgram::Placement::TopmostInactive);
    ASSERT_NE(topmost.window(), nullptr);
    ZenporoProgram zenporo(filesWith(""));
    zenporo.start();
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    zenporo.click(kName);
    target.waitForBoxes({L"山田花子", L""});
    EXPECT_EQ(topmost.closeAndReadBoxes(), (std::vector<std::wstring>{L"", L""}));
    EXPECT_EQ(target.closeAndReadBoxes(), (std::vector<std::wstring>{L"山田花子", L""}));
}

// A click on the toolbar leaves the focus in the form, and the pointer resting on a button shows its hint,
// also after the buttons moved to the vertical arrangement.
TEST(Zenporo, AHintShowsWhileTheFormKeepsTheFocus) {
    TargetProgram target(L"応募フォーム");
    ZenporoProgram zenporo(filesWith(""));
    const HANDLE process = zenporo.start();
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    zenporo.click(kChangeBar);
    zenporo.waitForArrangement(true);
    zenporo.pointAt(kName);
    EXPECT_NE(waitForWindow(L"tooltips_class32", GetProcessId(process)), nullptr);
    EXPECT_EQ(GetForegroundWindow(), target.window());
}

// Restored from the task bar or with Alt+Tab, which activate it, the toolbar hands the keyboard back to the
// form. SwitchToThisWindow is the call the task switchers make.
TEST(Zenporo, ARestoredToolbarGivesTheKeyboardBackToTheForm) {
    TargetProgram target(L"応募フォーム");
    ZenporoProgram zenporo(filesWith(""));
    zenporo.start();
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    zenporo.click(kMinimize);
    waitUntil([&] { return IsIconic(zenporo.toolbar()) != FALSE; });
    SetForegroundWindow(target.window());
    SwitchToThisWindow(zenporo.toolbar(), TRUE);
    waitUntil([&] { return !IsIconic(zenporo.toolbar()) && GetForegroundWindow() == target.window(); });
    EXPECT_FALSE(IsIconic(zenporo.toolbar()));
    EXPECT_EQ(GetForegroundWindow(), target.window());
}

// A second start says so and ends; the settings file stays as the first left it until that one ends, and
// what the first writes then is byte for byte what the Linux program writes.
TEST(Zenporo, ASecondStartIsRefusedAndTheSettingsAreWrittenAtTheEnd) {
    const std::string before = "[Set]\r\nPasteOK=2\r\n";
    ZenporoProgram zenporo({{L"山田花子.zpd", userFile()}, {L"Zenpad.ini", before}});
    zenporo.start();
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    const HANDLE second = zenporo.start();
    ASSERT_NE(second, nullptr);
    const HWND refusal = waitForWindow(L"#32770", GetProcessId(second));
    ASSERT_NE(refusal, nullptr);
    wchar_t caption[32] = {};
    GetWindowTextW(refusal, caption, 32);
    EXPECT_EQ(std::wstring(caption), L"情報");
    PostMessageW(refusal, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(second, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(zenporo.fileBytes(L"Zenpad.ini"), before);

    zenporo.click(kChangeBar);
    zenporo.waitForArrangement(true);
    ASSERT_TRUE(zenporo.close());
    std::string images;
    for (int i = 0; i < 16; ++i) {
        images += "Image" + std::to_string(i) + "=\r\n";
    }
    EXPECT_EQ(zenporo.fileBytes(L"Zenpad.ini"),
              "[Set]\r\nPasteOK=1\r\nPasteAfter=0\r\nFrmStyle=0\r\nBtnDown=0\r\nNextKey=1\r\nAfterKey=0\r\n"
              "[Window]\r\nLeft=0\r\nTop=0\r\n[Button]\r\n" +
                  images);
}

// The close box with a settings file that cannot be written: the report comes before the program ends.
TEST(Zenporo, ASettingsFileThatCannotBeWrittenIsReportedAtTheClose) {
    ZenporoProgram zenporo({{L"山田花子.zpd", userFile()}});
    ASSERT_TRUE(CreateDirectoryW((zenporo.folder() + L"Zenpad.ini").c_str(), nullptr));
    const HANDLE process = zenporo.start();
    const HWND toolbar = zenporo.waitForToolbar();
    ASSERT_NE(toolbar, nullptr);
    PostMessageW(toolbar, WM_SYSCOMMAND, SC_CLOSE, 0);
    const HWND report = waitForWindow(L"#32770", GetProcessId(process));
    ASSERT_NE(report, nullptr) << "the program ended without a report";
    wchar_t caption[64] = {};
    GetWindowTextW(report, caption, 64);
    EXPECT_EQ(std::wstring(caption), L"Zenporo！");  // the unreadable file stopped the start before the user
    std::vector<std::wstring> texts;
    EnumChildWindows(
        report,
        [](HWND child, LPARAM found) {
            wchar_t text[512] = {};
            GetWindowTextW(child, text, 512);
            reinterpret_cast<std::vector<std::wstring>*>(found)->push_back(text);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&texts));
    const std::wstring expected = L"Zenpad.ini に書き込めません.";
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const std::wstring& text) {
        return text.size() >= expected.size() && text.ends_with(expected);
    }));
    PostMessageW(report, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process, 10000), WAIT_OBJECT_0);
}

// A position stored while a second monitor was there brings the toolbar onto the screen that is left.
TEST(Zenporo, AStoredPositionOffEveryMonitorComesBackOntoTheScreen) {
    ZenporoProgram zenporo(filesWith("[Window]\r\nLeft=5000\r\nTop=300\r\n"));
    zenporo.start();
    ASSERT_NE(zenporo.waitForToolbar(), nullptr);
    RECT frame{};
    GetWindowRect(zenporo.toolbar(), &frame);
    EXPECT_LE(frame.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_GE(frame.left, 0);
    EXPECT_EQ(frame.top, 300);
}

// The width of the image Windows picks from the program's icon for a wanted size, 0 when it does not decode.
int iconImageSize(HMODULE program, int wanted) {
    const HRSRC group = FindResourceW(program, MAKEINTRESOURCEW(ZENPORO_ICON), RT_GROUP_ICON);
    const int id = LookupIconIdFromDirectoryEx(static_cast<BYTE*>(LockResource(LoadResource(program, group))),
                                               TRUE, wanted, wanted, LR_DEFAULTCOLOR);
    const HRSRC image = FindResourceW(program, MAKEINTRESOURCEW(id), RT_ICON);
    const IconHandle icon(
        CreateIconFromResourceEx(static_cast<BYTE*>(LockResource(LoadResource(program, image))),
                                 SizeofResource(program, image), TRUE, 0x00030000, 0, 0, 0));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon.get(), &info)) {
        return 0;
    }
    const BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    return GetObjectW(colour.get(), sizeof bitmap, &bitmap) ? bitmap.bmWidth : 0;
}

// The icon has an image of its own for each size the task bar and Explorer ask for from 100 to 200 %, and a
// 256-pixel one (a PNG) for Explorer's large views.
TEST(Zenporo, TheIconHasAnImageForEverySizeWindowsAsksFor) {
    ZenporoProgram zenporo;
    const HMODULE program = LoadLibraryExW((zenporo.folder() + L"zenporo.exe").c_str(), nullptr,
                                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    for (const int size : {16, 20, 24, 32, 40, 48, 64, 256}) {
        EXPECT_EQ(iconImageSize(program, size), size);
    }
    FreeLibrary(program);
}

}  // namespace
