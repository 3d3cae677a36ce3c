#pragma once

#include "session_input.h"
#include "x11_test_support.h"
#include "zenporo_run.h"

#include <QPoint>
#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

// The real program in a Wayland session, on Xwayland as users run it: Hanako's user file, the field row
// open, paste and TAB after it on, its toolbar clicked through the compositor's pointer.
class ToolbarRun {
  public:
    // Starts the program with these settings lines after "[Set]\r\n" and waits for the toolbar.
    void start(const char* settings =
                   "FrmStyle=1\r\nBtnDown=1\r\nPasteOK=1\r\nPasteAfter=1\r\nAfterKey=0\r\n"
                   "[Window]\r\nLeft=600\r\nTop=500\r\n") {
        ASSERT_TRUE(
            folder.writeFile(QString::fromUtf8("山田花子.zpd"), x11test::userFileBytes(x11test::hanako())));
        ASSERT_TRUE(folder.writeFile("Zenpad.ini", QByteArray("[Set]\r\n") + settings));
        qputenv("QT_LOGGING_RULES", "zenporo.delivery=true");
        run = std::make_unique<x11test::ZenporoProcess>(folder, programOutput);
        toolbar = desktop.waitForWindow(run->pid(), QString::fromUtf8("山田花子 - Zenporo！"));
        ASSERT_NE(toolbar, 0u);
    }

    // Closes the toolbar as its frame's button does; the program must end cleanly.
    void stop() {
        if (run && toolbar != 0) {
            desktop.requestClose(toolbar);
            EXPECT_TRUE(run->waitForCleanExit());
        }
    }

    // A field button clicked through the compositor, once the compositor shows the toolbar under the pointer
    // (Xwayland learns where the pointer is only over its own windows).
    void clickField(SessionInput& input, int position, QPoint from = QPoint(0, -40), bool onToolbar = false) {
        const QPoint button = pointAtField(input, position, from, onToolbar);
        ASSERT_NE(button, QPoint(-1, -1));
        ASSERT_TRUE(input.click(button));
    }
    // Brings the pointer onto a field button and returns where it is; (-1, -1) when it never got there.
    // The pointer comes from `from` off the button: a pointer left on that spot by an earlier test would pass
    // for one that the compositor already shows over this toolbar. Where the compositor's focus follows the
    // mouse, it comes from elsewhere on the toolbar, as a user's would, not over another window.
    // With onToolbar, also until the X server finds the toolbar itself under the pointer.
    QPoint pointAtField(SessionInput& input, int position, QPoint from = QPoint(0, -40),
                        bool onToolbar = false) {
        // Each try looks where the toolbar is now (a compositor may still be placing it) and comes anew.
        QPoint button;
        const bool there = x11test::waitUntil([&] {
            button = desktop.clientRect(toolbar).topLeft() + QPoint(77 + position * 23 + 11, 11);
            return input.moveTo(button + from) && input.moveTo(button) && desktop.pointer() == button &&
                   (!onToolbar || desktop.windowUnderPointer() == toolbar);
        });
        EXPECT_TRUE(there) << "the pointer never reached field button " << position;
        return there ? button : QPoint(-1, -1);
    }

    // Waits for the program's notice with this text.
    bool noticeShows(const char* utf8) {
        QStringList seen;
        const bool shown = noticeAppears(utf8, 15000, &seen);
        EXPECT_TRUE(shown) << "notices seen: " << seen.join(" / ").toStdString();
        return shown;
    }
    // The same, without a verdict: whether it appeared within the time, and every popup title seen.
    bool noticeAppears(const char* utf8, int timeoutMs, QStringList* seen = nullptr) {
        const bool shown = x11test::waitUntil(
            [&] {
                const std::vector<unsigned long> popups = desktop.popupsOf(run->pid());
                return std::any_of(popups.begin(), popups.end(), [&](unsigned long popup) {
                    if (seen != nullptr) {
                        *seen << desktop.title(popup);
                    }
                    return desktop.title(popup) == QString::fromUtf8(utf8);
                });
            },
            timeoutMs);
        if (seen != nullptr) {
            seen->removeDuplicates();
        }
        return shown;
    }

    // Two field clicks, each a paste with TAB after it, into the window the user is in and not into the
    // other: the postal code into its first box, the name into its second.
    template <typename ClickField>
    void expectTwoPastesWithTab(ClickField clickField, x11test::TargetApp& window,
                                x11test::TargetApp& other) {
        clickField(0);
        EXPECT_TRUE(x11test::waitUntil([&] {
            return window.state("first") == "123-4567" && window.state("focus") == "1";
        })) << window.state("first").toStdString()
            << " " << window.state("focus").toStdString();
        clickField(2);
        EXPECT_TRUE(x11test::waitUntil([&] {
            return window.state("second") == QString::fromUtf8("山田花子") && window.state("focus") == "0";
        })) << window.state("second").toStdString();
        EXPECT_EQ(other.state("first"), "");
        EXPECT_EQ(other.state("second"), "");
    }

    // The click only copied: its notice shows, and the window got nothing.
    void expectOnlyCopied(const char* notice, x11test::TargetApp& window) {
        EXPECT_TRUE(noticeShows(notice));
        QTest::qWait(300);
        EXPECT_EQ(window.state("first"), "");
    }

    x11test::Desktop desktop;
    x11test::ZenporoFolder folder;
    std::unique_ptr<x11test::ZenporoProcess> run;
    unsigned long toolbar = 0;
    QString programOutput;  // the program's output file; its output joins the test's when empty
};
