// The real program pasting into a real second application: pointer clicks on the toolbar's buttons, the
// real clipboard and the keys the program types into the window below.

#include "zenporo_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using x11test::TargetApp;
using x11test::waitUntil;
using x11test::ZenporoProcess;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Field row positions of the buttons used here (the row is not in the order of the buttons' names).
constexpr int kPostalCode = 0;  // SpeedButton4
constexpr int kName = 2;        // SpeedButton6
constexpr int kNext = 12;       // SpeedButton18

class ZenporoPaste : public x11test::ZenporoTest {
  protected:
    // Starts the program, horizontal and open, with the given [Set] lines, and waits for its toolbar.
    void startToolbar(const QByteArray& setLines) {
        ASSERT_TRUE(folder().writeFile("Zenpad.ini", "[Set]\r\nFrmStyle=1\r\nBtnDown=1\r\n" + setLines +
                                                         "[Window]\r\nLeft=300\r\nTop=300\r\n"));
        run = std::make_unique<ZenporoProcess>(folder());
        toolbar = desktop().waitForWindow(run->pid(), toolbarTitle);
        ASSERT_NE(toolbar, 0u);
        ASSERT_TRUE(x11test::settlesAt(clientSizeOf(toolbar), QSize(422, 22))) << "horizontal and open";
        ASSERT_TRUE(x11test::settlesAt(frameTopLeftOf(toolbar), QPoint(300, 300)));
    }

    // The middle of a field button: the row starts after the control group, 77 pixels in, at 23 by 22 each.
    QPoint fieldButton(int position) {
        return desktop().clientRect(toolbar).topLeft() + QPoint(77 + position * 23 + 11, 11);
    }

    void TearDown() override {
        if (run && run->isRunning() && toolbar != 0) {
            desktop().requestClose(toolbar);
            EXPECT_TRUE(run->waitForCleanExit());
        }
    }

    std::unique_ptr<ZenporoProcess> run;
    unsigned long toolbar = 0;
};

TEST_F(ZenporoPaste, ClicksPasteFieldsAndMoveOnInTheApplicationBelow) {
    TargetApp target(u("応募フォーム"));
    ASSERT_TRUE(target.waitReady());
    startToolbar("PasteOK=1\r\nPasteAfter=1\r\nAfterKey=0\r\nNextKey=1\r\n");

    desktop().click(fieldButton(kPostalCode));
    EXPECT_TRUE(waitUntil([&] {
        return target.state("first") == "123-4567" && target.state("focus") == "1";
    })) << "first: "
        << target.state("first").toStdString() << ", focus: " << target.state("focus").toStdString();

    desktop().click(fieldButton(kName));
    EXPECT_TRUE(waitUntil([&] {
        return target.state("second") == u("山田花子") && target.state("focus") == "0";
    })) << "second: "
        << target.state("second").toStdString() << ", focus: " << target.state("focus").toStdString();

    desktop().click(fieldButton(kNext));
    EXPECT_TRUE(waitUntil([&] { return target.state("focus") == "1"; }));
    EXPECT_EQ(target.state("enters"), "0");
    EXPECT_EQ(target.state("first"), "123-4567");
    EXPECT_EQ(target.state("second"), u("山田花子"));
}

TEST_F(ZenporoPaste, RightPressOpensTheMenuAtThePointerAndItsEntryPastesThePart) {
    TargetApp target(u("応募フォーム"));
    ASSERT_TRUE(target.waitReady());
    startToolbar("PasteOK=1\r\nPasteAfter=0\r\n");

    const QPoint press = fieldButton(kPostalCode);
    desktop().movePointer(press);
    desktop().pressButton(3);
    // The menu opens on the press, while the button is still held, with its corner at the pointer. A tooltip
    // of the button, the only other popup, stands well below the pointer.
    unsigned long menu = 0;
    const bool opened = waitUntil([&] {
        for (const unsigned long popup : desktop().popupsOf(run->pid())) {
            if ((desktop().clientRect(popup).topLeft() - press).manhattanLength() <= 2) {
                menu = popup;
                return true;
            }
        }
        return false;
    });
    desktop().releaseButton(3);
    ASSERT_TRUE(opened) << "no menu at the pointer";

    // 郵便番号（一括）, 前　３桁のみ, 後　４桁のみ, ハイフンなし: the separators are skipped.
    for (int i = 0; i < 4; ++i) {
        desktop().tapKey("Down");
    }
    desktop().tapKey("Return");
    EXPECT_TRUE(waitUntil([&] { return target.state("first") == "1234567"; }))
        << target.state("first").toStdString();
    EXPECT_TRUE(waitUntil([&] {
        const std::vector<unsigned long> open = desktop().popupsOf(run->pid());
        return std::ranges::find(open, menu) == open.end();
    })) << "the menu closes";
}

}  // namespace
