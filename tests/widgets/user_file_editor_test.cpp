#include "qt/user_file_editor.h"

#include "data/app_error.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "support/qt_app.h"
#include "support/recording_current_user.h"
#include "support/scripted_dialogs.h"

#include <QClipboard>
#include <QFile>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string j(const char* utf8) {
    return sjis::fromUtf8(utf8);
}
QString q(const char* utf8) {
    return QString::fromUtf8(utf8);
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class UserFileEditorTest : public ::testing::Test {
  protected:
    UserFileEditorTest() { TestApplication(); }

    std::string folder() const { return dir.path().toStdString() + "/"; }
    // The path of the user file with the Shift-JIS name.
    std::string pathOf(const std::string& name) const { return UserFilePath(folder(), name); }

    // Opens the editor as OpenUserFileEditor would, but shown without blocking.
    TForm3& open(const std::string& path = {}) { return openIn(folder(), path); }
    TForm3& openIn(const std::string& userFolder, const std::string& path) {
        form = std::make_unique<TForm3>(user, dialogs, user.title, userFolder);
        form->setToday([] { return CalendarDate{2026, 12, 7}; });
        form->LoadUserFileIntoBoxes(path);
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }

    // Types text into a box: ASCII as key presses, everything else one character at a time as the input
    // method commits it.
    void type(int box, const QString& text) {
        EditorBox* edit = form->box(box);
        edit->setFocus(Qt::TabFocusReason);
        for (const char32_t codePoint : text.toUcs4()) {
            const QString character = QString::fromUcs4(&codePoint, 1);
            if (codePoint < 0x80) {
                QTest::keyClicks(edit, character);
                continue;
            }
            QInputMethodEvent commit;
            commit.setCommitString(character);
            QApplication::sendEvent(edit, &commit);
        }
    }
    void clickOk() { QTest::mouseClick(form->okButton(), Qt::LeftButton); }
    bool closedWith(QDialog::DialogCode code) const { return !form->isVisible() && form->result() == code; }

    QTemporaryDir dir;
    RecordingCurrentUser user;
    ScriptedDialogs& dialogs = user.dialogs;
    std::unique_ptr<TForm3> form;
};

TEST_F(UserFileEditorTest, BoxesFollowTheTabOrderFromPostalCodeToCancel) {
    open();
    const int order[] = {1,  2, 3,  4,  5,  23, 24, 25, 26, 27, 28, 6,  7,  8,  29, 30,
                         31, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 32};
    QWidget* widget = form->box(1);
    for (const int number : order) {
        EXPECT_EQ(widget, form->box(number)) << "expected Edit" << number;
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus) {
            widget = widget->nextInFocusChain();
        }
    }
    EXPECT_EQ(widget, form->okButton());
    EXPECT_EQ(form->size(), QSize(632, 374));
    EXPECT_EQ(form->box(10)->geometry(), QRect(200, 344, 110, 20));
}

TEST_F(UserFileEditorTest, BoxesRefuseTextPastTheirShiftJisByteLimit) {
    UserRecord record = emptyUserRecord();
    record[Sex] = j("男性です");  // longer than the box takes, from a file made elsewhere
    WriteUserFile(pathOf("long"), record);
    open(pathOf("long"));
    type(1, q("123-45678"));
    EXPECT_EQ(form->box(1)->text(), q("123-4567"));
    type(29, q("１９0"));
    EXPECT_EQ(form->box(29)->text(), q("１９"));
    form->box(8)->end(false);
    QTest::keyClicks(form->box(8), QStringLiteral("x"));
    EXPECT_EQ(form->box(8)->text(), q("男性です"));
    QTest::keyClick(form->box(8), Qt::Key_Backspace);
    EXPECT_EQ(form->box(8)->text(), q("男性で"));
}

TEST_F(UserFileEditorTest, EnterMovesTheFocusOnAndNeverPressesOk) {
    open();
    form->box(22)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->box(22), Qt::Key_Return);
    EXPECT_TRUE(form->box(32)->hasFocus());
    type(32, q("name"));
    QTest::keyClick(form->box(32), Qt::Key_Enter);
    EXPECT_TRUE(form->okButton()->hasFocus());
    QTest::keyClick(form->okButton(), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pathOf("name"))));
    // ENTER on the focused OK button presses it.
    QTest::keyClick(form->okButton(), Qt::Key_Return);
    EXPECT_TRUE(closedWith(QDialog::Accepted));
}

TEST_F(UserFileEditorTest, LeavingTheBirthDateFillsTheAgeWithoutCountingAsAChange) {
    struct Case {
        const char* year;
        const char* month;
        const char* day;
        const char* age;  // what the age box holds afterwards; it starts as "99"
    };
    const Case cases[] = {
        {"1990", "12", "7", "36"},    {"1990", "12", "8", "35"}, {"2027", "1", "1", "99"},  // a future date
        {"1990", "4", "31", "99"},                                                          // no such day
        {"１９９０", "1", "1", "99"},  // full-width digits
        {"1990", "1", "", "99"},       // a box left empty
    };
    for (const Case& c : cases) {
        UserRecord record = emptyUserRecord();
        record[Age] = "99";
        WriteUserFile(pathOf("born"), record);
        open(pathOf("born"));
        type(29, q(c.year));
        type(30, q(c.month));
        type(31, q(c.day));
        QTest::keyClick(form->box(31), Qt::Key_Return);
        EXPECT_EQ(form->box(9)->text(), q(c.age)) << c.year << "/" << c.month << "/" << c.day;
        EXPECT_TRUE(form->box(9)->hasFocus());
        EXPECT_FALSE(form->box(9)->isModified());
    }
}

TEST_F(UserFileEditorTest, ARefreshedAgeAloneClosesWithoutWriting) {
    UserRecord record = emptyUserRecord();
    record[Age] = "20";
    record[BirthYear] = "1990";
    record[BirthMonth] = "1";
    record[BirthDay] = "1";
    WriteUserFile(pathOf("same"), record);
    const std::string before = fileBytes(pathOf("same"));
    open(pathOf("same"));
    form->box(31)->setFocus(Qt::TabFocusReason);
    form->box(1)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(form->box(9)->text(), q("36"));
    clickOk();
    EXPECT_TRUE(closedWith(QDialog::Accepted));
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(fileBytes(pathOf("same")), before);
    EXPECT_TRUE(user.calls.empty());
}

TEST_F(UserFileEditorTest, OkOnANewFileWritesItWithTheAgeOfTheBirthDateAndMakesItCurrent) {
    open();
    type(6, q("山田"));
    type(32, q("山田太郎"));
    type(29, q("2000"));
    type(30, q("1"));
    type(31, q("2"));
    clickOk();  // straight from the day box: leaving it fills the age first
    EXPECT_TRUE(closedWith(QDialog::Accepted));
    EXPECT_TRUE(dialogs.asked.empty());
    const std::string path = pathOf(j("山田太郎"));
    UserRecord expected = emptyUserRecord();
    expected[FamilyName] = j("山田");
    expected[Age] = "26";
    expected[BirthYear] = "2000";
    expected[BirthMonth] = "1";
    expected[BirthDay] = "2";
    EXPECT_EQ(fileBytes(path), UserFileBytes(expected));
    EXPECT_EQ(user.calls, (std::vector<std::string>{"make current " + path,
                                                    "caption " + j("山田太郎 - Zenporo！"), "hints"}));
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(UserFileEditorTest, OkAsksBeforeReplacingAFileAndWritesOnlyOnYes) {
    const std::string overwrite = j("同名のファイルが存在します。\n上書きしてよろしいですか？");
    const std::string save = j("変更を保存します。\nよろしいですか？");
    struct Case {
        const char* loaded;  // empty: a new file
        const char* name;
        std::string question;
    };
    const Case cases[] = {
        {"", "taro", overwrite},
        {"Taro", "Taro", save},
        {"Taro", "TARO", save},       // its own name in other letter case
        {"Taro", "taro", overwrite},  // another user's file that differs only in letter case
    };
    for (const Case& c : cases) {
        WriteUserFile(pathOf("taro"), {"old"});
        WriteUserFile(pathOf("Taro"), {"old"});
        dialogs.asked.clear();
        open(*c.loaded ? pathOf(c.loaded) : std::string());
        form->box(32)->clear();
        type(32, q(c.name));
        type(1, q("1"));
        dialogs.answerNext(DialogAnswer::No);
        clickOk();
        ASSERT_EQ(dialogs.asked.size(), 1u) << c.name;
        EXPECT_EQ(dialogs.asked[0].text, c.question) << c.name;
        EXPECT_EQ(dialogs.asked[0].caption, j("ファイルの保存")) << c.name;
        EXPECT_TRUE(form->isVisible()) << c.name;
        EXPECT_EQ(ReadUserFile(pathOf("taro")), UserRecord{"old"}) << c.name;

        dialogs.answerNext(DialogAnswer::Yes);
        clickOk();
        EXPECT_TRUE(closedWith(QDialog::Accepted)) << c.name;
        EXPECT_EQ(ReadUserFile(pathOf(c.name)).at(PostalCode), "1") << c.name;
    }
}

TEST_F(UserFileEditorTest, ADeclinedSwitchStillLeavesTheFileOnDisk) {
    WriteUserFile(pathOf("other"), emptyUserRecord());
    user.preset(pathOf("other"), {"kept"});
    open();
    type(32, q("new"));
    dialogs.answerNext(DialogAnswer::No);  // "このユーザーファイルに切替えますか？"
    clickOk();
    EXPECT_TRUE(closedWith(QDialog::Accepted));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(pathOf("new"))));
    EXPECT_EQ(user.path(), pathOf("other"));
    EXPECT_EQ(user.record(), UserRecord{"kept"});
}

TEST_F(UserFileEditorTest, FieldsTheUserDidNotTouchAreWrittenBackByteForByte) {
    // In a folder Shift-JIS cannot hold: a memo longer than the toolkit's own box limit, NEC-selected codes
    // (ED40 and 8790, whose characters the codec writes as FA5C and 81E0) and a pair with no character.
    const std::string userFolder = folder() + "Zoë-Müller/";
    std::filesystem::create_directory(userFolder);
    UserRecord record = emptyUserRecord();
    for (int i = 0; i < 50000; ++i) {
        record[Memo1] += j("あx");
    }
    record[Memo2] = "\xED\x40\x87\x90";
    record[Memo3] = "a\x85\x40z";
    record[FamilyName] = j("山田");
    WriteUserFile(UserFilePath(userFolder, j("山田")), record);
    const UserFileSearch found = FindUserFiles(userFolder);
    ASSERT_EQ(found.count, 1);

    openIn(userFolder, found.firstPath);
    EXPECT_EQ(form->box(19)->text().size(), 100000);
    type(1, q("1"));
    type(22, q("〜−"));                     // as Linux input methods write them
    dialogs.answerNext(DialogAnswer::Yes);  // "変更を保存します。"
    clickOk();
    ASSERT_TRUE(closedWith(QDialog::Accepted)) << (dialogs.asked.empty() ? "" : dialogs.asked.back().text);
    record[PostalCode] = "1";
    record[Memo4] = "\x81\x60\x81\x7C";
    EXPECT_EQ(fileBytes(found.firstPath), UserFileBytes(record));
    EXPECT_EQ(user.path(), found.firstPath);
}

TEST_F(UserFileEditorTest, OkRefusesWhatCannotBeStoredAndKeepsTheDialogOpen) {
    struct Case {
        const char* name;
        int box;
        const char* text;
        const char* fileName;
        std::string message;  // the start of the text shown
        DialogIcon icon;
        int focusBox;
    };
    const Case cases[] = {
        {"empty name", 3, "x", "", j("ファイル名を入力して下さい。"), DialogIcon::Information, 32},
        {"emoji", 19, "🎁当選", "memo", j("保存できない文字 U+1F381 が入力されています。"),
         DialogIcon::Information, 19},
        {"rare kanji", 32, "", "𠮷野", j("保存できない文字 U+20BB7 が入力されています。"),
         DialogIcon::Information, 32},
        {"name Shift-JIS cannot hold", 3, "x", "Zoë", j("保存できない文字 U+00EB が入力されています。"),
         DialogIcon::Information, 32},
        {"slash", 3, "x", "a/b", j("ファイル ") + folder() + "a/b.zpd" + j(" を作成できません."),
         DialogIcon::Error, 32},
    };
    for (const Case& c : cases) {
        dialogs.asked.clear();
        open();
        type(c.box, q(c.text));
        type(32, q(c.fileName));
        form->box(1)->setFocus(Qt::TabFocusReason);
        clickOk();
        ASSERT_EQ(dialogs.asked.size(), 1u) << c.name;
        EXPECT_EQ(dialogs.asked[0].text, c.message) << c.name;
        EXPECT_EQ(dialogs.asked[0].icon, c.icon) << c.name;
        EXPECT_EQ(dialogs.asked[0].caption, c.icon == DialogIcon::Error ? j("Zenporo！") : j("入力"))
            << c.name;
        EXPECT_TRUE(form->isVisible()) << c.name;
        EXPECT_TRUE(form->box(c.focusBox)->hasFocus()) << c.name;
        EXPECT_TRUE(user.calls.empty()) << c.name;
        EXPECT_TRUE(std::filesystem::is_empty(folder())) << c.name;
    }
}

TEST_F(UserFileEditorTest, AFileThatCannotBeWrittenIsReportedAndNothingChanges) {
    form = std::make_unique<TForm3>(user, dialogs, user.title, folder() + "missing/");
    form->box(32)->setText(q("x"));
    form->box(32)->setModified(true);
    form->show();
    form->BitBtn1Click();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, j("ファイル ") + folder() + "missing/x.zpd" + j(" を作成できません."));
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(user.calls.empty());
}

TEST_F(UserFileEditorTest, ShortFilesAreFilledUpAndLongOnesCutToThirtyOneFields) {
    std::ofstream(pathOf("short"), std::ios::binary) << "100-0001\r\n";
    UserRecord longRecord(33, "x");
    WriteUserFile(pathOf("long"), longRecord);

    open(pathOf("short"));
    EXPECT_EQ(form->box(1)->text(), q("100-0001"));
    EXPECT_EQ(form->box(31)->text(), QString());
    EXPECT_EQ(form->box(32)->text(), q("short"));
    EXPECT_FALSE(form->AnyBoxModified());

    open(pathOf("long"));
    form->box(32)->setFocus(Qt::MouseFocusReason);
    form->box(32)->end(false);
    QTest::keyClicks(form->box(32), q("2"));
    clickOk();
    EXPECT_TRUE(closedWith(QDialog::Accepted));
    EXPECT_EQ(ReadUserFile(pathOf("long2")), UserRecord(31, "x"));
}

TEST_F(UserFileEditorTest, AMissingFileIsReportedToTheCallerAndTheEditorNotShown) {
    EXPECT_THROW(OpenUserFileEditorInFolder(user, dialogs, user.title, nullptr, pathOf("gone"), folder()),
                 AppError);
    EXPECT_TRUE(user.calls.empty());
}

TEST_F(UserFileEditorTest, EditShortcutsActOnlyWhenTheirItemIsEnabled) {
    open();
    type(2, q("東京都"));
    form->box(2)->setModified(false);
    form->box(2)->setCursorPosition(0);
    QTest::keyClick(form->box(2), Qt::Key_Delete);  // nothing selected: nothing deleted
    EXPECT_EQ(form->box(2)->text(), q("東京都"));
    EXPECT_FALSE(form->AnyBoxModified());

    QGuiApplication::clipboard()->setText(q("千代田区\r\n丸の内"));
    form->box(2)->end(false);
    QTest::keyClick(form->box(2), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->box(2)->text(), q("東京都千代田区"));
    EXPECT_TRUE(form->box(2)->isModified());

    QGuiApplication::clipboard()->setText(q("\nsecond"));
    QTest::keyClick(form->box(2), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->box(2)->text(), q("東京都千代田区"));

    form->box(2)->setSelection(0, 3);
    QTest::keyClick(form->box(2), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(form->box(2)->text(), q("千代田区"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), q("東京都"));

    QGuiApplication::clipboard()->clear();
    QTest::keyClick(form->box(2), Qt::Key_C, Qt::ControlModifier);  // nothing selected: clipboard untouched
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());

    QGuiApplication::clipboard()->setText(q("女性です"));  // longer than the box takes: what fits goes in
    form->box(8)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->box(8), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(form->box(8)->text(), q("女"));
}

TEST_F(UserFileEditorTest, ANulPastedWithCtrlVNeverReachesTheFile) {
    // The reader stops at a NUL: saved, it would lose the memo's rest and every field after it.
    open();
    type(32, q("nul"));
    QGuiApplication::clipboard()->setText(q("当選") + QChar(u'\0') + q("メモ"));
    ASSERT_TRUE(QGuiApplication::clipboard()->text().contains(QChar(u'\0')));
    form->box(19)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(form->box(19), Qt::Key_V, Qt::ControlModifier);
    type(22, q("last memo"));
    clickOk();
    ASSERT_TRUE(closedWith(QDialog::Accepted));
    UserRecord expected = emptyUserRecord();
    expected[Memo1] = j("当選");
    expected[Memo4] = "last memo";
    const std::string bytes = fileBytes(pathOf("nul"));
    EXPECT_EQ(bytes.find('\0'), std::string::npos);
    EXPECT_EQ(bytes, UserFileBytes(expected));
    EXPECT_EQ(ReadUserFile(pathOf("nul")), expected);
}

}  // namespace
