// The real program started from a folder of its own: the first run, the settings file kept between runs and
// the refusal of a second instance, watched through the X server under a real window manager.

#include "zenporo_fixture.h"

#include "data/sjis.h"
#include "platform/error_report.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_sjis.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using x11test::ZenporoFolder;
using x11test::ZenporoProcess;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

using ZenporoStartup = x11test::ZenporoTest;
using x11test::settlesAt;

TEST_F(ZenporoStartup, FirstRunShowsAClosedHorizontalToolbarAndWritesEveryKey) {
    ZenporoProcess run(folder());
    const unsigned long window = desktop().waitForWindow(run.pid(), toolbarTitle);
    ASSERT_NE(window, 0u) << "no window titled with the user file's name";
    EXPECT_TRUE(desktop().windowClass(window).contains("zenporo"))
        << desktop().windowClass(window).join(',').toStdString();
    EXPECT_TRUE(settlesAt(clientSizeOf(window), QSize(77, 22)));
    EXPECT_TRUE(settlesAt(frameTopLeftOf(window), QPoint(0, 0))) << "no stored position: the corner";
    const std::optional<QPoint> frame = desktop().frameTopLeft(window);
    ASSERT_TRUE(frame);
    EXPECT_FALSE(folder().exists("Zenpad.ini")) << "the settings are written only at the end of the run";

    desktop().requestClose(window);
    ASSERT_TRUE(run.waitForCleanExit());

    QByteArray expected =
        "[Set]\r\nPasteOK=1\r\nPasteAfter=0\r\nFrmStyle=1\r\nBtnDown=0\r\nNextKey=1\r\nAfterKey=0\r\n"
        "[Window]\r\nLeft=" +
        QByteArray::number(frame->x()) + "\r\nTop=" + QByteArray::number(frame->y()) + "\r\n[Button]\r\n";
    for (int i = 0; i < 16; ++i) {
        expected += "Image" + QByteArray::number(i) + "=\r\n";
    }
    EXPECT_EQ(folder().readFile("Zenpad.ini").toStdString(), expected.toStdString());
}

TEST_F(ZenporoStartup, StoredSettingsShapeTheWindowAndSurviveRepeatedRuns) {
    const QByteArray settings =
        "; kept by hand\r\n[Set]\r\nPasteOK=1\r\nFrmStyle=0\r\nBtnDown=1\r\nColour=blue\r\n"
        "[Window]\r\nLeft=200\r\nTop=100\r\n[Extra]\r\nFoo=bar\r\n";
    ASSERT_TRUE(folder().writeFile("Zenpad.ini", settings));

    QByteArray afterFirstRun;
    for (int runNumber = 1; runNumber <= 2; ++runNumber) {
        SCOPED_TRACE(runNumber);
        ZenporoProcess run(folder());
        const unsigned long window = desktop().waitForWindow(run.pid(), toolbarTitle);
        ASSERT_NE(window, 0u);
        EXPECT_TRUE(settlesAt(clientSizeOf(window), QSize(27, 404))) << "vertical and open";
        EXPECT_TRUE(settlesAt(frameTopLeftOf(window), QPoint(200, 100)));

        desktop().requestClose(window);
        ASSERT_TRUE(run.waitForCleanExit());

        const QByteArray written = folder().readFile("Zenpad.ini");
        for (const char* line : {"; kept by hand\r\n", "Colour=blue\r\n", "[Extra]\r\nFoo=bar\r\n",
                                 "FrmStyle=0\r\n", "BtnDown=1\r\n", "Left=200\r\n", "Top=100\r\n"}) {
            EXPECT_TRUE(written.contains(line)) << line << " missing from:\n" << written.toStdString();
        }
        if (runNumber == 1) {
            afterFirstRun = written;
        } else {
            EXPECT_EQ(written.toStdString(), afterFirstRun.toStdString())
                << "an unchanged run changes nothing";
        }
    }
}

TEST_F(ZenporoStartup, ShapeChosenByClicksIsWrittenAtTheEnd) {
    ZenporoProcess run(folder());
    const unsigned long window = desktop().waitForWindow(run.pid(), toolbarTitle);
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(settlesAt(clientSizeOf(window), QSize(77, 22)));

    // The open button is the third of the control group, after the 8 pixels of the change bar.
    desktop().click(desktop().clientRect(window).topLeft() + QPoint(8 + 2 * 23 + 11, 11));
    EXPECT_TRUE(settlesAt(clientSizeOf(window), QSize(422, 22))) << "opened";
    desktop().click(desktop().clientRect(window).topLeft() + QPoint(4, 11));
    EXPECT_TRUE(settlesAt(clientSizeOf(window), QSize(27, 404))) << "turned vertical";

    desktop().requestClose(window);
    ASSERT_TRUE(run.waitForCleanExit());
    const QByteArray written = folder().readFile("Zenpad.ini");
    EXPECT_TRUE(written.contains("FrmStyle=0\r\nBtnDown=1\r\n")) << written.toStdString();
}

TEST_F(ZenporoStartup, MovedWindowIsStoredWhereItsFrameStands) {
    ASSERT_TRUE(folder().writeFile("Zenpad.ini", "[Window]\r\nLeft=200\r\nTop=100\r\n"));
    const QPoint moved(350, 250);
    {
        ZenporoProcess run(folder());
        const unsigned long window = desktop().waitForWindow(run.pid(), toolbarTitle);
        ASSERT_NE(window, 0u);
        desktop().moveFrame(window, moved);
        ASSERT_TRUE(settlesAt(frameTopLeftOf(window), moved));
        desktop().requestClose(window);
        ASSERT_TRUE(run.waitForCleanExit());
    }
    EXPECT_TRUE(folder().readFile("Zenpad.ini").contains("Left=350\r\nTop=250\r\n"))
        << folder().readFile("Zenpad.ini").toStdString();

    ZenporoProcess run(folder());
    const unsigned long window = desktop().waitForWindow(run.pid(), toolbarTitle);
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(settlesAt(frameTopLeftOf(window), moved));
    desktop().requestClose(window);
    ASSERT_TRUE(run.waitForCleanExit());
}

// The text of a general error report as this process shows it, with the program's own dialog code, toolkit
// and fonts: where it lies in the box and its pixels.
std::pair<QRect, QImage> reportTextShownHere(const QString& message) {
    std::pair<QRect, QImage> shown;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        const QWidget* label = box->findChild<QLabel*>("qt_msgbox_label");
        shown.first = QRect(label->mapTo(box, QPoint(0, 0)), label->size());
        shown.second = box->grab(shown.first).toImage().convertToFormat(QImage::Format_RGB32);
        box->close();
    });
    QtDialogs dialogs;
    ShowErrorReport(dialogs, SjisFromQString(message), sjis::fromUtf8("Zenporo！"));
    return shown;
}

TEST_F(ZenporoStartup, SettingsFileThatCannotBeReadOrWrittenIsReportedAtTheEnd) {
    // A folder in the settings file's place: reading it fails, and so does replacing it.
    ASSERT_TRUE(QDir().mkdir(folder().filePath("Zenpad.ini")));
    const auto [textArea, text] =
        reportTextShownHere(folder().filePath("Zenpad.ini") + u(" に書き込めません"));
    ZenporoProcess run(folder());
    // The failed read ends the start-up steps before a user file is chosen: the title stays plain.
    const unsigned long toolbar = desktop().waitForWindow(run.pid(), u("Zenporo！"));
    ASSERT_NE(toolbar, 0u);
    EXPECT_TRUE(settlesAt(clientSizeOf(toolbar), QSize(77, 22)));

    desktop().closeThroughWindowManager(toolbar);
    unsigned long report = 0;
    ASSERT_TRUE(x11test::waitUntil([&] {
        for (const unsigned long window : desktop().windowsOf(run.pid())) {
            if (window != toolbar && desktop().title(window) == u("Zenporo！")) {
                report = window;
                return true;
            }
        }
        return false;
    })) << "no error report captioned with the application title";
    ASSERT_TRUE(desktop().activate(report));
    EXPECT_TRUE(x11test::waitUntil([&] { return desktop().windowPixels(report).copy(textArea) == text; }))
        << "the report does not show that the settings file cannot be written";
    desktop().tapKey("Return");
    EXPECT_TRUE(run.waitForCleanExit());
    EXPECT_TRUE(QFileInfo(folder().filePath("Zenpad.ini")).isDir());
}

TEST_F(ZenporoStartup, SecondStartIsRefusedWithoutTouchingTheSettings) {
    ASSERT_TRUE(folder().writeFile("Zenpad.ini", "[Window]\r\nLeft=150\r\nTop=120\r\n"));
    ZenporoProcess first(folder());
    const unsigned long toolbar = desktop().waitForWindow(first.pid(), toolbarTitle);
    ASSERT_NE(toolbar, 0u);
    const QByteArray before = folder().readFile("Zenpad.ini");

    ZenporoProcess second(folder());
    const unsigned long notice = desktop().waitForWindow(second.pid(), u("情報"));
    ASSERT_NE(notice, 0u) << "no refusal notice";
    EXPECT_EQ(desktop().windowsOf(second.pid()).size(), 1u) << "the second start shows no toolbar";
    ASSERT_TRUE(desktop().activate(notice));
    desktop().tapKey("Return");
    ASSERT_TRUE(second.waitForCleanExit());
    EXPECT_EQ(folder().readFile("Zenpad.ini"), before);

    EXPECT_TRUE(first.isRunning());
    EXPECT_EQ(desktop().title(toolbar), toolbarTitle);
    desktop().requestClose(toolbar);
    ASSERT_TRUE(first.waitForCleanExit());
    EXPECT_TRUE(folder().readFile("Zenpad.ini").contains("Left=150\r\nTop=120\r\n"));
}

TEST_F(ZenporoStartup, TerminationSignalEndsTheRunInOrderAndKeepsTheSettings) {
    ASSERT_TRUE(folder().writeFile("Zenpad.ini", "[Set]\r\nBtnDown=1\r\n"));
    ZenporoProcess run(folder());
    ASSERT_NE(desktop().waitForWindow(run.pid(), toolbarTitle), 0u);
    run.terminate();
    ASSERT_TRUE(run.waitForCleanExit()) << "SIGTERM ends the run like the close box";
    const QByteArray written = folder().readFile("Zenpad.ini");
    EXPECT_TRUE(written.contains("BtnDown=1\r\n")) << written.toStdString();
    EXPECT_TRUE(written.contains("Image15=\r\n")) << "every key is written";
}

TEST_F(ZenporoStartup, TerminationSignalWhileTheFirstEditorIsOpenStillEndsInOrder) {
    ASSERT_TRUE(QFile::remove(folder().filePath(u("山田花子.zpd"))));
    ZenporoProcess run(folder());
    ASSERT_NE(desktop().waitForWindow(run.pid(), u("ユーザーファイル作成")), 0u);
    run.terminate();
    ASSERT_TRUE(run.waitForCleanExit()) << "the modal editor does not keep the program alive";
    EXPECT_TRUE(folder().readFile("Zenpad.ini").contains("[Button]")) << "the settings are written";
}

}  // namespace
