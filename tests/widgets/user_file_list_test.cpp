#include "qt/user_file_list.h"

#include "data/sjis.h"
#include "data/user_file.h"
#include "dialogs/user_file_list_logic.h"
#include "platform/qt/qt_text_collator.h"
#include "support/qt_app.h"
#include "support/recording_current_user.h"
#include "support/scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

std::string j(const char* utf8) {
    return sjis::fromUtf8(utf8);
}

TEST(UserFileList, SortsInTheCollatorsOrderWithLetterCaseSignificant) {
    const auto sorted = [](std::vector<std::string> names, const QLocale& locale) {
        SortUserFileNames(names, QtTextCollator(locale));
        return names;
    };
    const std::vector<std::string> names{"b", "B", "a", "A"};
    // The user's language interleaves the cases; the C locale compares code points.
    EXPECT_EQ(sorted(names, QLocale(QLocale::English, QLocale::UnitedStates)),
              (std::vector<std::string>{"a", "A", "b", "B"}));
    EXPECT_EQ(sorted(names, QLocale::c()), (std::vector<std::string>{"A", "B", "a", "b"}));
    const std::string kana = sjis::fromUtf8("あ");
    const std::string kanji = sjis::fromUtf8("山");
    EXPECT_EQ(sorted({kanji, kana, "z"}, QLocale(QLocale::Japanese, QLocale::Japan)),
              (std::vector<std::string>{"z", kana, kanji}));
}

class UserFileListTest : public ::testing::Test {
  protected:
    UserFileListTest() {
        TestApplication();
        QDir(dir.path()).mkdir(base());
    }

    // The program's folder, named with characters Shift-JIS cannot hold.
    QString base() const { return dir.path() + QString::fromUtf8("/Zoë-Müller"); }
    std::string folder() const { return base().toStdString() + "/"; }
    // The path of the user file with the Shift-JIS name.
    std::string pathOf(const std::string& name) const { return UserFilePath(folder(), name); }
    void addUser(const std::string& name, const std::string& familyName = "x") {
        UserRecord record = emptyUserRecord();
        record[FamilyName] = familyName;
        WriteUserFile(pathOf(name), record);
    }

    TForm2& open() {
        form = std::make_unique<TForm2>(user, dialogs, user.title, folder());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return *form;
    }
    bool threeEnabled() const {
        return form->button(1)->isEnabled() && form->button(3)->isEnabled() && form->button(5)->isEnabled();
    }
    bool threeDisabled() const {
        return !form->button(1)->isEnabled() && !form->button(3)->isEnabled() &&
               !form->button(5)->isEnabled();
    }
    QStringList selected() const {
        QStringList texts;
        for (const QTreeWidgetItem* item : form->list()->selectedItems()) {
            texts.append(item->text(0));
        }
        return texts;
    }

    QTemporaryDir dir;
    RecordingCurrentUser user;
    ScriptedDialogs& dialogs = user.dialogs;
    std::unique_ptr<TForm2> form;
};

TEST_F(UserFileListTest, ListsEveryUserFileEntrySortedWithoutItsExtension) {
    addUser("b");
    addUser("A");
    addUser("a.b");
    addUser(".hidden");
    QDir(base()).mkdir(QStringLiteral("folder.zpd"));
    QFile(base() + "/upper.ZPD").open(QIODevice::WriteOnly);
    QFile(base() + "/note.txt").open(QIODevice::WriteOnly);
    QFile(base() + QString::fromUtf8("/Zoë.zpd")).open(QIODevice::WriteOnly);  // Shift-JIS cannot hold it
    open();
    EXPECT_EQ(form->entries(), (QStringList{".hidden", "A", "a.b", "b", "folder"}));
    EXPECT_TRUE(selected().isEmpty());
    EXPECT_TRUE(threeDisabled());
    EXPECT_TRUE(form->button(2)->isEnabled() && form->button(4)->isEnabled());
}

TEST_F(UserFileListTest, PreselectsTheCurrentFileAndEnablesItsButtons) {
    struct Case {
        const char* name;
        std::string current;
        QStringList selection;
    };
    const Case cases[] = {
        {"current file", pathOf("b"), {"b"}},
        {"other letter case", pathOf("B"), {"b"}},
        {"no current file", "", {}},
        {"current file deleted", pathOf("gone"), {}},
    };
    addUser("c");
    addUser("b");
    for (const Case& c : cases) {
        user.preset(c.current, {});
        open();
        EXPECT_EQ(selected(), c.selection) << c.name;
        EXPECT_EQ(threeEnabled(), !c.selection.isEmpty()) << c.name;
        EXPECT_EQ(threeDisabled(), c.selection.isEmpty()) << c.name;
        // Without a pre-selection the focus starts on the first enabled button, Cancel.
        EXPECT_EQ(form->list()->hasFocus(), !c.selection.isEmpty()) << c.name;
        EXPECT_EQ(form->button(2)->hasFocus(), c.selection.isEmpty()) << c.name;
    }
}

TEST_F(UserFileListTest, TheColumnLeavesRoomForAScrollBarOnlyWhenEntriesOverflow) {
    addUser("one");
    open();
    EXPECT_EQ(form->list()->columnWidth(0), 189);
    for (int i = 0; i < 40; ++i) {
        addUser("user" + std::to_string(i));
    }
    open();
    EXPECT_EQ(form->list()->columnWidth(0), 173);
}

TEST_F(UserFileListTest, OkMakesTheSelectedFileCurrentAndCloses) {
    addUser("a.b", j("山田"));
    addUser("c");
    open();
    form->list()->setCurrentItem(form->list()->topLevelItem(0));
    QTest::mouseClick(form->button(1), Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    const std::string path = pathOf("a.b");
    EXPECT_EQ(user.calls, (std::vector<std::string>{"make current " + path, "caption " + j("a.b - Zenporo！"),
                                                    "hints", "caption " + j("a.b - Zenporo！"), "face"}));
    EXPECT_EQ(user.record().at(FamilyName), j("山田"));
}

TEST_F(UserFileListTest, ADeclinedSwitchClosesTheListAndChangesNothing) {
    addUser("a");
    addUser("b");
    user.preset(pathOf("a"), {"kept"});
    open();
    form->list()->setCurrentItem(form->list()->topLevelItem(1));
    dialogs.answerNext(DialogAnswer::No);
    form->BitBtn1Click();
    EXPECT_FALSE(form->isVisible());
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, j("このユーザーファイルに切替えますか？"));
    EXPECT_EQ(user.calls, std::vector<std::string>{"make current " + pathOf("b")});
    EXPECT_EQ(user.path(), pathOf("a"));
    EXPECT_EQ(user.record(), UserRecord{"kept"});
}

TEST_F(UserFileListTest, DeletingTheCurrentFileEmptiesTheRecordAndKeepsTheListOpen) {
    addUser(j("山田"));
    addUser("z");
    user.preset(pathOf(j("山田")), {"record"});
    open();
    dialogs.answerNext(DialogAnswer::Yes);
    QTest::mouseClick(form->button(5), Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text, j("山田 を削除します。\r よろしいですか？"));
    EXPECT_EQ(dialogs.asked[0].caption, j("警告"));
    EXPECT_EQ(dialogs.asked[0].buttons.size(), 2u);
    EXPECT_FALSE(QFile::exists(base() + QString::fromUtf8("/山田.zpd")));
    EXPECT_EQ(user.calls, (std::vector<std::string>{"clear", "caption " + j("Zenporo！")}));
    EXPECT_TRUE(user.record().empty());
    EXPECT_EQ(user.path(), pathOf(j("山田")));
    EXPECT_EQ(form->entries(), QStringList{"z"});
    EXPECT_TRUE(threeDisabled());
    EXPECT_TRUE(form->isVisible());
}

TEST_F(UserFileListTest, DeletingLeavesTheToolbarAloneUnlessTheFileIsCurrent) {
    struct Case {
        const char* name;
        DialogAnswer answer;
        bool makeFolder;
        bool fileGone;
        std::size_t questions;
    };
    const Case cases[] = {
        {"another file, Yes", DialogAnswer::Yes, false, true, 1},
        {"another file, No", DialogAnswer::No, false, false, 1},
        {"a folder named like a user file", DialogAnswer::Yes, true, false, 0},
    };
    for (const Case& c : cases) {
        dialogs.asked.clear();
        addUser("current");
        if (c.makeFolder) {
            QDir(base()).mkdir(QStringLiteral("victim.zpd"));
        } else {
            addUser("victim");
        }
        user.preset(pathOf("current"), {"record"});
        open();
        form->list()->setCurrentItem(form->list()->topLevelItem(1));
        ASSERT_EQ(form->list()->currentItem()->text(0), QStringLiteral("victim")) << c.name;
        dialogs.answerNext(c.answer);
        form->BitBtn5Click();
        EXPECT_EQ(dialogs.asked.size(), c.questions) << c.name;
        EXPECT_EQ(!QFileInfo::exists(base() + "/victim.zpd"), c.fileGone) << c.name;
        EXPECT_EQ(form->entries().size(), c.fileGone ? 1 : 2) << c.name;
        EXPECT_EQ(user.record(), UserRecord{"record"}) << c.name;
        EXPECT_TRUE(form->isVisible()) << c.name;
        QDir(base() + "/victim.zpd").removeRecursively();
        QFile::remove(base() + "/victim.zpd");
    }
}

TEST_F(UserFileListTest, EditOnAnEntryThatCannotBeReadReportsItAndKeepsTheListOpen) {
    QDir(base()).mkdir(QStringLiteral("folder.zpd"));
    open();
    form->list()->setCurrentItem(form->list()->topLevelItem(0));
    QTest::mouseClick(form->button(3), Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text,
              j("ファイル ") + dir.path().toStdString() + "/Zo?-M?ller/folder.zpd" + j(" は開けません."));
    EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Error);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(user.calls.empty());
}

}  // namespace
