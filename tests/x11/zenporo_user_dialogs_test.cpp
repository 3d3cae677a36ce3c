// The real program's start-up dialogs: with no user file the editor comes first and creates one from real
// key presses; with several the list comes first and its OK loads the chosen one.

#include "dialogs/user_file_editor_layout.h"
#include "zenporo_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

namespace {

using x11test::settlesAt;
using x11test::userFileBytes;
using x11test::waitUntil;
using x11test::ZenporoProcess;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const QString kEditorTitle = u("ユーザーファイル作成");
const QString kListTitle = u("ユーザーファイルリスト");

class ZenporoUserDialogs : public x11test::ZenporoTest {
  protected:
    // A point given in the window's client coordinates, on the screen.
    QPoint at(unsigned long window, QPoint client) { return desktop().clientRect(window).topLeft() + client; }

    // The middle of the editor's box Edit<number>.
    QPoint editorBox(unsigned long editor, int number) {
        const auto& boxes = EditorBoxesInTabOrder();
        const auto place = std::find_if(boxes.begin(), boxes.end(),
                                        [number](const EditorBoxPlace& box) { return box.box == number; });
        return at(editor, QPoint(place->left + place->width / 2, place->top + kEditorBoxHeight / 2));
    }

    // Types the text into the focused box, then presses ENTER, which moves the focus to the next box.
    void typeAndEnter(const QString& text) {
        ASSERT_TRUE(desktop().typeText(text));
        desktop().tapKey("Return");
    }

    bool windowGone(qint64 pid, unsigned long window) {
        return waitUntil([&] {
            const auto windows = desktop().windowsOf(pid);
            return std::find(windows.begin(), windows.end(), window) == windows.end();
        });
    }
};

TEST_F(ZenporoUserDialogs, EmptyFolderOpensTheEditorFirstAndItsOkCreatesTheUserFile) {
    ASSERT_TRUE(QFile::remove(folder().filePath(u("山田花子.zpd"))));
    ZenporoProcess run(folder());
    const unsigned long editor = desktop().waitForWindow(run.pid(), kEditorTitle);
    ASSERT_NE(editor, 0u) << "no editor";
    EXPECT_EQ(desktop().windowsOf(run.pid()).size(), 1u) << "the toolbar shows only after the editor";
    ASSERT_TRUE(settlesAt(clientSizeOf(editor), QSize(632, 374)));
    // The whole frame stands in the middle of the screen (1280x800, no panels), not the client area alone.
    const auto frameCentre = [&] {
        const QMargins frame = desktop().frameExtents(editor).value_or(QMargins());
        const QPoint corner = frameTopLeftOf(editor)();
        const QSize size = QSize(632, 374).grownBy(frame);
        return corner + QPoint(size.width() / 2, size.height() / 2);
    };
    EXPECT_TRUE(waitUntil([&] { return (frameCentre() - QPoint(640, 400)).manhattanLength() <= 2; }))
        << "frame centred at " << frameCentre().x() << "," << frameCentre().y();
    ASSERT_TRUE(desktop().activate(editor));

    // The postal code box has the focus first; ENTER leads on to the prefecture.
    typeAndEnter("123-4567");
    typeAndEnter(u("東京都"));
    // From the family name on, ENTER runs along the tab order: given name, sex, year, month, day; leaving
    // the day box fills in the age.
    ASSERT_TRUE(desktop().clickThrough(editorBox(editor, 6)));
    typeAndEnter(u("山田"));
    typeAndEnter(u("太郎"));
    typeAndEnter(u("男"));
    typeAndEnter("1985");
    typeAndEnter("07");
    typeAndEnter("15");
    ASSERT_TRUE(desktop().clickThrough(editorBox(editor, kFileNameBox)));
    // ENTER in the file name box moves on to OK, and ENTER on OK presses it.
    typeAndEnter(u("山田太郎"));
    desktop().tapKey("Return");

    const unsigned long toolbar = desktop().waitForWindow(run.pid(), u("山田太郎 - Zenporo！"));
    ASSERT_NE(toolbar, 0u) << "no toolbar captioned with the new file's name";
    EXPECT_TRUE(windowGone(run.pid(), editor));

    QStringList fields(31);  // every other field stays an empty line
    fields[0] = "123-4567";
    fields[1] = u("東京都");
    fields[5] = u("山田");
    fields[6] = u("太郎");
    fields[7] = u("男");
    fields[8] = QString::number(x11test::ageToday(QDate(1985, 7, 15)));
    fields[28] = "1985";
    fields[29] = "07";
    fields[30] = "15";
    const QString path = folder().filePath(u("山田太郎.zpd"));
    EXPECT_EQ(folder().readFile(u("山田太郎.zpd")).toStdString(), userFileBytes(fields).toStdString());
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    desktop().requestClose(toolbar);
    EXPECT_TRUE(run.waitForCleanExit());
}

TEST_F(ZenporoUserDialogs, SeveralUserFilesOpenTheListFirstAndItsOkLoadsTheChosenOne) {
    QStringList aoki = x11test::hanako();
    aoki[5] = "Aoki";
    aoki[6] = "Taro";
    ASSERT_TRUE(folder().writeFile("Aoki.zpd", userFileBytes(aoki)));
    ZenporoProcess run(folder());
    const unsigned long list = desktop().waitForWindow(run.pid(), kListTitle);
    ASSERT_NE(list, 0u) << "no list";
    EXPECT_EQ(desktop().windowsOf(run.pid()).size(), 1u) << "the toolbar shows only after the list";
    ASSERT_TRUE(desktop().activate(list));

    // Latin sorts before kanji in every collation: Aoki is the first entry, 山田花子 the second. A click on
    // the first row, then the down arrow, selects the second.
    ASSERT_TRUE(desktop().clickThrough(at(list, QPoint(8 + 60, 24 + 8))));
    desktop().tapKey("Down");
    desktop().click(at(list, QPoint(216 + 37, 24 + 12)));  // OK

    const unsigned long toolbar = desktop().waitForWindow(run.pid(), toolbarTitle);
    ASSERT_NE(toolbar, 0u) << "no toolbar captioned with the chosen file's name";
    EXPECT_TRUE(windowGone(run.pid(), list));
    EXPECT_EQ(desktop().windowsOf(run.pid()).size(), 1u);

    desktop().requestClose(toolbar);
    EXPECT_TRUE(run.waitForCleanExit());
}

}  // namespace
