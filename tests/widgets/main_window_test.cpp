#include "qt/main_window.h"

#include "data/sjis.h"
#include "data/user_file.h"
#include "qt/flat_button.h"
#include "qt/settings_dialog.h"
#include "settings_test_support.h"
#include "support/qt_app.h"
#include "support/scripted_dialogs.h"

#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::string j(const char* utf8) {
    return sjis::fromUtf8(utf8);
}

class MainWindowTest : public ::testing::Test {
  protected:
    MainWindowTest() {
        TestApplication();
        ToolbarServices services;
        services.dialogs = &dialogs;
        services.today = [] { return CalendarDate{2026, 4, 9}; };
        services.userFileFolder = folder.path().toStdString() + "/";
        form = std::make_unique<TForm1>(services);
    }

    std::string writeUser(const char* name, UserRecord record) {
        const std::string path = folder.path().toStdString() + "/" + name + ".zpd";
        WriteUserFile(path, record);
        return path;
    }

    CurrentUser& user() { return form->behaviour().currentUser(); }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;
};

UserRecord personBornIn1970(const char* sex, const char* age) {
    UserRecord record = emptyUserRecord();
    record[Sex] = j(sex);
    record[Age] = age;
    record[BirthYear] = "1970";
    record[BirthMonth] = "4";
    record[BirthDay] = "10";
    return record;
}

TEST_F(MainWindowTest, ShowingNumbersTheFieldRowByName) {
    form->show();
    for (int number = 4; number <= 18; ++number) {
        EXPECT_EQ(form->speedButton(number)->tag(), number - 4) << "SpeedButton" << number;
    }
}

TEST_F(MainWindowTest, ArrangementsKeepTheTopLeftCorner) {
    form->move(40, 30);
    form->show();
    const QPoint corner = form->pos();
    EXPECT_EQ(form->size(), QSize(77, 22));
    form->setOpen(true);
    form->behaviour().ArrangeButtons();
    EXPECT_EQ(form->size(), QSize(422, 22));
    const QImage horizontalStrip = form->speedButton(3)->picture();
    form->changeButton()->click();
    EXPECT_FALSE(form->settings().FrmStyle);
    EXPECT_EQ(form->size(), QSize(27, 404));
    EXPECT_NE(form->speedButton(3)->picture(), horizontalStrip);
    form->setOpen(false);
    form->behaviour().ArrangeButtons();
    EXPECT_EQ(form->size(), QSize(27, 74));
    EXPECT_EQ(form->pos(), corner);
}

TEST_F(MainWindowTest, OpenButtonHintFollowsItsClicks) {
    form->show();
    EXPECT_EQ(form->speedButton(3)->toolTip(), QString::fromUtf8("開く"));
    form->speedButton(3)->click();
    EXPECT_EQ(form->speedButton(3)->toolTip(), QString::fromUtf8("ボタンを閉じる"));
    EXPECT_EQ(form->size(), QSize(422, 22));
    form->speedButton(3)->click();
    EXPECT_EQ(form->speedButton(3)->toolTip(), QString::fromUtf8("ボタンを開く"));
}

TEST_F(MainWindowTest, FirstFileIsTakenWithoutAQuestionLaterOnesAsk) {
    const std::string first = writeUser("Hanako", personBornIn1970("女", "55"));
    const std::string second = writeUser("hanako", personBornIn1970("男", "55"));
    user().makeCurrent(first);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Hanako - Zenporo！"));
    EXPECT_EQ(form->behaviour().applicationTitle(), j("Hanako - Zenporo！"));
    EXPECT_EQ(user().path(), first);

    EXPECT_TRUE(user().makeCurrent(first));
    EXPECT_TRUE(dialogs.asked.empty());

    dialogs.answerNext(DialogAnswer::No);
    user().makeCurrent(second);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, j("このユーザーファイルに切替えますか？"));
    EXPECT_EQ(dialogs.asked[0].caption, j("ユーザー変更"));
    EXPECT_EQ(user().path(), first);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Hanako - Zenporo！"));

    dialogs.answerNext(DialogAnswer::Yes);
    user().makeCurrent(second);
    EXPECT_EQ(user().path(), second);
    EXPECT_EQ(user().record()[Sex], j("男"));
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("hanako - Zenporo！"));
}

TEST_F(MainWindowTest, LoadAsksToCorrectAWrongStoredAgeAndRewritesOnYes) {
    const std::string path = writeUser("Taro", personBornIn1970("男", "54"));
    dialogs.answerNext(DialogAnswer::Yes);
    user().makeCurrent(path);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].caption, j("情報"));
    EXPECT_EQ(user().record()[Age], "55");
    EXPECT_EQ(ReadUserFile(path)[Age], "55");
    EXPECT_EQ(form->speedButton(8)->toolTip(), QStringLiteral("55"));
}

TEST_F(MainWindowTest, UnreadableFileLeavesTheRecordAsItWas) {
    const std::string good = writeUser("Good", personBornIn1970("男", "55"));
    user().makeCurrent(good);
    const std::string missing = folder.path().toStdString() + "/missing.zpd";
    dialogs.answerNext(DialogAnswer::Yes);  // "このユーザーファイルに切替えますか？"
    EXPECT_TRUE(user().makeCurrent(missing));
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[1].text, j("ファイルを読み込めません。"));
    EXPECT_EQ(user().record()[Sex], j("男"));
    EXPECT_EQ(user().path(), missing) << "the switch was accepted before the read failed";
}

TEST_F(MainWindowTest, NameFaceFollowsTheLoadedUser) {
    user().makeCurrent(writeUser("Hanako", personBornIn1970("女性", "55")));
    form->behaviour().UpdateNameFace();
    EXPECT_EQ(form->speedButton(6)->picture(), FaceWithTransparency(form->faces()[15]));
    // The menu is built after the user was loaded, then follows the next user.
    auto* kanji = form->popupMenu(2)->findChild<QAction*>(QStringLiteral("Kanji1"));
    ASSERT_NE(kanji, nullptr);
    EXPECT_EQ(kanji->property("ImageIndex").toInt(), 15);
    dialogs.answerNext(DialogAnswer::Yes);
    user().makeCurrent(writeUser("Taro", personBornIn1970("男", "55")));
    form->behaviour().UpdateNameFace();
    EXPECT_EQ(kanji->property("ImageIndex").toInt(), 2);
    form->behaviour().ApplyButtonFaces();
    EXPECT_EQ(form->speedButton(6)->picture(), FaceWithTransparency(form->faces()[2]));
}

TEST_F(MainWindowTest, MemoItemsShowTheLoadedMemosWhetherBuiltBeforeOrAfterTheLoad) {
    UserRecord record = personBornIn1970("男", "55");
    record[Memo2] = j("二つ目のメモ");
    user().makeCurrent(writeUser("Taro", record));
    QMenu* memos = form->popupMenu(5);
    EXPECT_EQ(memos->findChild<QAction*>(QStringLiteral("Memo1"))->text(), QString::fromUtf8("メモ１"));
    EXPECT_EQ(memos->findChild<QAction*>(QStringLiteral("Memo2"))->text(), QString::fromUtf8("二つ目のメモ"));
    record[Memo1] = j("一つ目");
    dialogs.answerNext(DialogAnswer::Yes);
    user().makeCurrent(writeUser("Jiro", record));
    EXPECT_EQ(memos->findChild<QAction*>(QStringLiteral("Memo1"))->text(), QString::fromUtf8("一つ目"));
}

TEST_F(MainWindowTest, SettingsOkPutsTheDefaultNameFaceBackEvenForAFemaleUser) {
    user().makeCurrent(writeUser("Hanako", personBornIn1970("女", "55")));
    form->behaviour().UpdateNameFace();
    ASSERT_EQ(form->speedButton(6)->picture(), FaceWithTransparency(form->faces()[15]));
    settings_tests::WhenModal<TForm4>([](TForm4& dialog) {
        auto* ok = dialog.findChild<QAbstractButton*>(QStringLiteral("BitBtn1"));
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
    OpenSettingsDialog(*form, dialogs, nullptr, nullptr);
    EXPECT_EQ(form->speedButton(6)->picture(), FaceWithTransparency(form->faces()[2]));
}

}  // namespace
