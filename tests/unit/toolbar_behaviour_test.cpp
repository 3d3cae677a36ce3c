#include "toolbar/toolbar_behaviour.h"

#include "data/sjis.h"
#include "data/user_file.h"
#include "platform/clipboard.h"
#include "support/scripted_dialogs.h"
#include "support/temporary_folder.h"
#include "toolbar/toolbar_view.h"

#include <gtest/gtest.h>

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

// A toolbar on a fresh user file folder, with every service faked.
struct Toolbar {
    ToolbarServices services() {
        ToolbarServices s;
        s.dialogs = &dialogs;
        s.clipboard = &clipboard;
        s.today = [] { return CalendarDate{2026, 4, 9}; };
        s.userFileFolder = folder.text();
        s.pasteIntoWindowBelow = [this](const ToolbarSettings&) {
            ++pastes;
            return delivered;
        };
        return s;
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
