#include "toolbar/toolbar_behaviour.h"

#include "data/sjis.h"
#include "data/user_file.h"
#include "platform/clipboard.h"
#include "platform/log.h"
#include "support/scripted_dialogs.h"
#include "support/temporary_folder.h"
#include "toolbar/button_actions.h"
#include "toolbar/toolbar_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>

namespace {

std::string j(const char* utf8) {
    return sjis::fromUtf8(utf8);
}

// The window as the behaviour drives it: its state, and the calls that open, move or change a face.
class FakeView final : public ToolbarView {
  public:
    Point framePosition() const override { return position; }
    void moveFrame(Point topLeft) override { position = topLeft; }
    bool isOpen() const override { return open; }
    void setOpen(bool value) override { open = value; }
    void setOpenButtonHint(const std::string&) override {}
    void setCaptionAndTitle(const std::string&) override {}
    void arrangeButtons(bool) override {}
    void loadFaces(const std::vector<std::string>&) override { calls.push_back("load faces"); }
    void applyButtonFaces() override {}
    void showNameFace(int face) override { calls.push_back("name face " + std::to_string(face)); }
    void setFullNameMenuPicture(int) override {}
    void showHints(const ToolbarHints&) override {}
    void showDeliveryNotice(const std::string& text) override { notices.push_back(text); }
    void openUserFileEditor() override { calls.push_back("editor"); }
    void openUserFileList() override { calls.push_back("list"); }

    Point position;
    bool open = false;
    std::vector<std::string> calls;
    std::vector<std::string> notices;
};

// Keeps what the toolbar puts on the clipboard; refuses it when told to, as a clipboard held by another
// program would.
class FakeClipboard final : public Clipboard {
  public:
    bool setText(const std::string& sjisText) override {
        if (!refuse) {
            texts.push_back(sjisText);
        }
        return !refuse;
    }
    std::optional<std::string> text() override { return std::nullopt; }
    bool ownsText() override { return owned; }
    std::vector<std::string> texts;
    bool refuse = false;
    bool owned = true;  // false: another program took the clipboard at once
};

// A clock the test moves on: a delivery takes its time, and a click waits until the toolbar is free.
class FakeClock final : public SteadyClock {
  public:
    time_point now() override { return at; }
    time_point at;
};

class DeliveryLog final : public Log {
  public:
    void write(LogCategory category, std::string_view line) override {
        if (category == LogCategory::Delivery) {
            lines.emplace_back(line);
        }
    }
    std::vector<std::string> lines;
};

// A toolbar on a fresh user file folder, with every service faked.
struct Toolbar {
    ToolbarServices services() {
        ToolbarServices s;
        s.dialogs = &dialogs;
        s.clipboard = &clipboard;
        s.today = [] { return CalendarDate{2026, 4, 9}; };
        s.userFileFolder = folder.text();
        s.pasteIntoWindowBelow = [this](const ToolbarSettings&, bool) {
            ++pastes;
            return deliver(clipboard.texts.back());
        };
        s.pressNextKey = [this](const ToolbarSettings&) { return deliver("Next"); };
        s.log = &log;
        s.clock = &clock;
        s.doubleClickTime = std::chrono::milliseconds(500);
        return s;
    }
    DeliveryResult deliver(const std::string& what) {
        sent.push_back(what);
        clock.at += std::chrono::milliseconds(300);
        return delivered;
    }
    std::string writeUser(const char* name, const UserRecord& record) const {
        const std::string path = folder.text() + name + ".zpd";
        WriteUserFile(path, record);
        return path;
    }

    TemporaryFolder folder;
    ScriptedDialogs dialogs;
    FakeClipboard clipboard;
    FakeView view;
    int pastes = 0;
    DeliveryResult delivered = DeliveryResult::Sent;
    std::vector<std::string> sent;  // what reached the window below, in order
    FakeClock clock;
    DeliveryLog log;
    ToolbarBehaviour behaviour{services(), view};
};

UserRecord hanako() {
    UserRecord record = emptyUserRecord();
    record[PostalCode] = "100-0001";
    record[Sex] = j("女");
    record[Age] = "55";
    record[BirthYear] = "1970";
    record[BirthMonth] = "4";
    record[BirthDay] = "10";
    return record;
}

TEST(ToolbarStart, ChoosesTheFirstUserFileByTheirNumberUnlessTheSettingsCannotBeRead) {
    struct Case {
        int files;
        bool settingsReadable;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {0, true, {"editor"}}, {1, true, {"name face 15"}}, {2, true, {"list"}}, {1, false, {}}};
    for (const Case& c : cases) {
        Toolbar toolbar;
        for (int i = 0; i < c.files; ++i) {
            toolbar.writeUser(i == 0 ? "Hanako" : "Taro", hanako());
        }
        if (!c.settingsReadable) {
            std::filesystem::create_directory(FileSystemPath(toolbar.folder.text() + "Zenpad.ini"));
        }
        toolbar.behaviour.FormCreate();
        EXPECT_EQ(toolbar.view.calls, c.calls) << c.files << " files";
        EXPECT_TRUE(toolbar.dialogs.asked.empty());
    }
}

struct ClickCase {
    const char* name;
    std::optional<UserRecord> record = std::nullopt;  // none: no user file loaded
    int tag = 0;
    std::optional<MenuItemId> item = std::nullopt;
    bool pasteOK = true;
    bool clipboardRefuses = false;
    bool clipboardTaken = false;
    DeliveryResult delivered = DeliveryResult::Sent;
    std::vector<std::string> copied = {};
    int pastes = 0;
    const char* asked = "";  // UTF-8
    DialogIcon icon = DialogIcon::None;
};

UserRecord withField(int field, const char* value) {
    UserRecord record = hanako();
    record[static_cast<std::size_t>(field)] = value;
    return record;
}

TEST(ToolbarClick, ComposesThenNotifiesOrCopiesAndPastes) {
    // clang-format off
    const ClickCase cases[] = {
        {.name = "no user file", .asked = "ユーザーファイルが読まれておりません。\r切替ボタンを押してリストから選択するか\r"
                                          "新規作成して下さい。", .icon = DialogIcon::Information},
        {.name = "invalid birth date", .record = withField(BirthMonth, "13"), .tag = 13,
         .asked = "1970/13/10は有効な日付ではありません。", .icon = DialogIcon::Information},
        {.name = "birth fields missing", .record = UserRecord(30), .tag = 13},
        {.name = "empty occupation", .record = hanako(), .tag = 5},
        {.name = "pasted", .record = hanako(), .copied = {"100-0001"}, .pastes = 1},
        {.name = "PasteOK off", .record = hanako(), .item = MenuItemId::Post1, .pasteOK = false, .copied = {"100"}},
        {.name = "nothing below", .record = hanako(), .delivered = DeliveryResult::NoWindowBelow,
         .copied = {"100-0001"}, .pastes = 1},
        {.name = "clipboard held", .record = hanako(), .clipboardRefuses = true,
         .asked = "クリップボードを開くことができません.", .icon = DialogIcon::Error},
        // A notice, not the error report, and no paste of the other program's text.
        {.name = "clipboard taken at once", .record = hanako(), .clipboardTaken = true,
         .delivered = DeliveryResult::ClipboardNotOwned, .copied = {"100-0001"}},
        {.name = "record too short", .record = UserRecord(10, "x"), .tag = 8,
         .asked = "リストのインデックスが範囲を超えています (16)", .icon = DialogIcon::Error},
    };
    // clang-format on
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        Toolbar toolbar;
        if (c.record) {
            toolbar.behaviour.currentUser().makeCurrent(toolbar.writeUser("Hanako", *c.record));
        }
        toolbar.behaviour.settings().PasteOK = c.pasteOK;
        toolbar.clipboard.refuse = c.clipboardRefuses;
        toolbar.clipboard.owned = !c.clipboardTaken;
        toolbar.delivered = c.delivered;
        const ClickSender sender = c.item ? ClickSender::MenuItem : ClickSender::FieldButton;
        toolbar.behaviour.SpeedButton7Click(sender, c.tag, c.item);

        EXPECT_EQ(toolbar.clipboard.texts, c.copied);
        EXPECT_EQ(toolbar.pastes, c.pastes);
        const std::string notice = DeliveryNoticeText(c.delivered, DeliveryAction::Paste);
        EXPECT_EQ(toolbar.view.notices, notice.empty() ? std::vector<std::string>{} : std::vector{notice});
        if (*c.asked == '\0') {
            EXPECT_TRUE(toolbar.dialogs.asked.empty());
            continue;
        }
        ASSERT_EQ(toolbar.dialogs.asked.size(), 1u);
        EXPECT_EQ(toolbar.dialogs.asked[0].text, j(c.asked));
        EXPECT_EQ(toolbar.dialogs.asked[0].icon, c.icon);
        if (c.icon == DialogIcon::Error) {
            EXPECT_EQ(toolbar.dialogs.asked[0].caption, j("Hanako - Zenporo！"));
        }
    }
}

struct ClickRuleCase {
    const char* name;
    std::vector<std::pair<int, std::int64_t>> clicks;  // SpeedButton number, its input event's time in ms
    std::vector<std::string> sent;
};

// Each delivery takes 300 ms, the double-click time is 500 ms.
TEST(ToolbarClick, AClickMadeDuringADeliveryRunsAfterItUnlessItRepeatsTheButtonOrAnotherWaited) {
    const ClickRuleCase cases[] = {
        {"a double-click pastes once", {{4, 0}, {4, 150}}, {"100-0001"}},
        {"a quick click on another button pastes next", {{4, 0}, {7, 100}}, {"100-0001", j("女")}},
        {"the same button after the double-click time", {{4, 0}, {4, 600}}, {"100-0001", "100-0001"}},
        {"a double-click on Next presses it once", {{18, 0}, {18, 120}}, {"Next"}},
        {"one click made during each delivery runs",
         {{4, 0}, {7, 100}, {18, 200}, {8, 450}},
         {"100-0001", j("女"), "55"}},
        {"across the wrap of the input clock",
         {{4, 4294967200}, {4, 4294967350}, {7, 4294967400}},
         {"100-0001", j("女")}},
    };
    for (const ClickRuleCase& c : cases) {
        SCOPED_TRACE(c.name);
        Toolbar toolbar;
        toolbar.behaviour.currentUser().makeCurrent(toolbar.writeUser("Hanako", hanako()));
        const SteadyClock::time_point start = toolbar.clock.at;
        for (const auto& [number, madeAt] : c.clicks) {
            // Handled once it is made and the toolbar is free.
            toolbar.clock.at = std::max(toolbar.clock.at, start + std::chrono::milliseconds(madeAt));
            toolbar.behaviour.keyButtonClick(number, FieldButtonTag(number),
                                             static_cast<std::uint32_t>(madeAt));
        }
        EXPECT_EQ(toolbar.sent, c.sent);
        EXPECT_EQ(toolbar.log.lines.size(), c.clicks.size() - c.sent.size()) << "a click let go is logged";
    }
}

TEST(ToolbarEnd, WritesTheSettingsAndTheWindowsState) {
    Toolbar toolbar;
    toolbar.behaviour.FormCreate();
    toolbar.view.open = true;
    toolbar.view.position = {-40, 7};
    toolbar.behaviour.settings().NextKey = false;
    toolbar.behaviour.buttonImagePaths()[3] = "a.bmp";
    toolbar.behaviour.FormDestroy();
    const std::string written = FileBytes(toolbar.folder.text() + "Zenpad.ini");
    for (const char* line : {"BtnDown=1\r\nNextKey=0\r\n", "Left=-40\r\nTop=7\r\n", "Image3=a.bmp\r\n"}) {
        EXPECT_NE(written.find(line), std::string::npos) << line << " missing from:\n" << written;
    }
}

TEST(ToolbarEnd, AFailedWriteIsReportedBeforeTheEndAndOnlyThere) {
    Toolbar toolbar;
    toolbar.writeUser("Hanako", hanako());
    toolbar.behaviour.FormCreate();
    const std::string path = toolbar.folder.text() + "Zenpad.ini";
    std::filesystem::create_directory(FileSystemPath(path));
    toolbar.behaviour.keepSettings();
    EXPECT_TRUE(toolbar.dialogs.asked.empty()) << "the session's early save reports nothing";
    toolbar.behaviour.FormDestroy();
    toolbar.behaviour.FormDestroy();
    ASSERT_EQ(toolbar.dialogs.asked.size(), 1u);
    EXPECT_EQ(toolbar.dialogs.asked[0].text, path + j(" に書き込めません."));
    EXPECT_EQ(toolbar.dialogs.asked[0].icon, DialogIcon::Error);
    EXPECT_EQ(toolbar.dialogs.asked[0].caption, j("Hanako - Zenporo！"));
}

}  // namespace
