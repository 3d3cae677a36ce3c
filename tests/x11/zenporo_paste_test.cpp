// The real program pasting into a real second application: pointer clicks on the toolbar's buttons, the
// real clipboard and the keys the program types into the window below.

#include "form_page.h"
#include "zenporo_fixture.h"

#include <QClipboard>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

using x11test::TargetApp;
using x11test::waitUntil;
using x11test::ZenporoProcess;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Field row positions of the buttons used here (the row is not in the order of the buttons' names).
constexpr int kPostalCode = 0;  // SpeedButton4
constexpr int kAddress = 1;     // SpeedButton5
constexpr int kName = 2;        // SpeedButton6
constexpr int kMail = 9;        // SpeedButton12
constexpr int kBirthDate = 4;   // SpeedButton17
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

    // Opens the button's menu with a right press, as a user does; the menu opens on the press, with its
    // corner at the pointer. A tooltip of the button, the only other popup, stands well below the pointer. 0
    // when no menu opened.
    unsigned long openMenu(int position) {
        const QPoint press = fieldButton(position);
        const auto menuAtPointer = [&] {
            for (const unsigned long popup : desktop().popupsOf(run->pid())) {
                if ((desktop().clientRect(popup).topLeft() - press).manhattanLength() <= 2) {
                    return popup;
                }
            }
            return 0ul;
        };
        // A menu chosen from a moment ago may not have gone yet while the program types its item.
        waitUntil([&] { return menuAtPointer() == 0; });
        desktop().movePointer(press);
        desktop().pressButton(3);
        unsigned long menu = 0;
        waitUntil([&] { return (menu = menuAtPointer()) != 0; });
        desktop().releaseButton(3);
        return menu;
    }

    // Keys of a user choosing a menu item, the last (Return) with Shift held when typed.
    void chooseWithKeys(const std::vector<const char*>& keys, bool typed) {
        for (const char* key : keys) {
            if (typed && std::string_view(key) == "Return") {
                desktop().holdKey("Shift_L", true);
            }
            desktop().tapKey(key);
        }
        desktop().holdKey("Shift_L", false);
    }

    void shiftClick(int position) {
        desktop().holdKey("Shift_L", true);
        desktop().click(fieldButton(position));
        desktop().holdKey("Shift_L", false);
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

// Clicks made while a paste runs: a double-click pastes once, a click on the next button right after it is
// kept and pastes next.
TEST_F(ZenporoPaste, ADoubleClickPastesOnceAndAQuickClickOnAnotherButtonIsKept) {
    TargetApp target(u("応募フォーム"));
    ASSERT_TRUE(target.waitReady());
    startToolbar("PasteOK=1\r\nPasteAfter=0\r\n");
    for (const int button : {kPostalCode, kPostalCode, kName}) {
        ASSERT_TRUE(desktop().clickThrough(fieldButton(button)));
    }
    EXPECT_TRUE(waitUntil([&] { return target.state("first") == u("123-4567山田花子"); }))
        << target.state("first").toStdString();
}

TEST_F(ZenporoPaste, RightPressOpensTheMenuAtThePointerAndItsEntryPastesThePart) {
    TargetApp target(u("応募フォーム"));
    ASSERT_TRUE(target.waitReady());
    startToolbar("PasteOK=1\r\nPasteAfter=0\r\n");

    const unsigned long menu = openMenu(kPostalCode);
    ASSERT_NE(menu, 0u) << "no menu at the pointer";

    // 郵便番号（一括）, 前　３桁のみ, 後　４桁のみ, ハイフンなし: the separators are skipped.
    chooseWithKeys({"Down", "Down", "Down", "Down", "Return"}, false);
    EXPECT_TRUE(waitUntil([&] { return target.state("first") == "1234567"; }))
        << target.state("first").toStdString();
    EXPECT_TRUE(waitUntil([&] {
        const std::vector<unsigned long> open = desktop().popupsOf(run->pid());
        return std::ranges::find(open, menu) == open.end();
    })) << "the menu closes";
}

// A form's postal-code look-up filled the address box with the cursor at its end: a Ctrl+click replaces what
// the box holds instead of adding to it.
TEST_F(ZenporoPaste, ACtrlClickReplacesWhatTheBoxHolds) {
    TargetApp target(u("応募フォーム"), {"--first-text=" + u("東京都千代田区")});
    ASSERT_TRUE(target.waitReady());
    startToolbar("PasteOK=1\r\nPasteAfter=0\r\n");
    desktop().holdKey("Control_L", true);
    desktop().click(fieldButton(kAddress));
    desktop().holdKey("Control_L", false);
    EXPECT_TRUE(waitUntil([&] {
        return target.state("first") == u("東京都千代田区千代田１－１ゼンポロビル３階");
    })) << target.state("first").toStdString();
}

// A click with Shift held types the text as keys, for what a paste cannot fill; Caps Lock left on by the
// user changes none of the letters.
TEST_F(ZenporoPaste, AShiftClickTypesTheTextAsKeysWhateverTheLocks) {
    TargetApp target(u("応募フォーム"));
    ASSERT_TRUE(target.waitReady());
    startToolbar("PasteOK=1\r\nPasteAfter=1\r\nAfterKey=0\r\n");
    const int spareKeycodes = desktop().spareKeycodes();
    desktop().tapKey("Caps_Lock");
    shiftClick(kName);
    EXPECT_TRUE(waitUntil([&] {
        return target.state("first") == u("山田花子") && target.state("focus") == "1";
    })) << target.state("first").toStdString();
    // Typed or pasted, the detail is on the clipboard as well.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u("山田花子"));
    shiftClick(kMail);
    EXPECT_TRUE(waitUntil([&] { return target.state("second") == "hanako@example.jp"; }))
        << target.state("second").toStdString();
    desktop().tapKey("Caps_Lock");
    // The keycodes lent for typing are given back a little after the last key.
    EXPECT_TRUE(waitUntil([&] { return desktop().spareKeycodes() == spareKeycodes; }));

    // With three spare keycodes, a text of more distinct characters goes in parts, each mapped before its
    // keys.
    desktop().occupySpareKeycodes(3);
    const QString address = u("東京都千代田区千代田１－１ゼンポロビル３階");
    shiftClick(kAddress);
    EXPECT_TRUE(waitUntil([&] { return target.state("first") == address; }, 15000))
        << target.state("first").toStdString();
}

// A browser's form as competition sites have them: drop-down lists, which a paste cannot fill, take the typed
// prefecture and birth date through their type-to-select, a confirmation box that refuses a paste takes
// the typed e-mail, Caps Lock on, and a date box the birth date's keys. The site's server reads what it
// received.
TEST_F(ZenporoPaste, ShiftClicksFillABrowsersDropDownListsAndABoxThatRefusesAPaste) {
    FormPage site;
    ASSERT_FALSE(site.url().isEmpty());
    x11test::Browser browser(site.url());
    ASSERT_NE(desktop().waitForWindow(browser.pid(), u("応募ページ")), 0u) << "no browser window";
    startToolbar("PasteOK=1\r\nPasteAfter=1\r\nAfterKey=0\r\n");

    // 都道府県 in the address menu, then the year, month and day of the birth date menu's 西暦 submenu.
    ASSERT_NE(openMenu(kAddress), 0u);
    chooseWithKeys({"Down", "Down", "Down", "Down", "Return"}, true);
    ASSERT_TRUE(waitUntil([&] { return site.submitted().value("pref") == u("東京都"); })) << "prefecture";
    // 1990-04-01: 年（4桁）, 月（0なし）, 日（0なし）, which lists of plain numbers need.
    for (const int downs : {1, 5, 6}) {
        ASSERT_NE(openMenu(kBirthDate), 0u);
        std::vector<const char*> keys{"Down", "Right"};
        keys.insert(keys.end(), downs, "Down");
        keys.push_back("Return");
        chooseWithKeys(keys, true);
    }
    ASSERT_TRUE(waitUntil([&] { return site.submitted().value("day") == "1"; })) << "birth date";
    desktop().tapKey("Caps_Lock");
    shiftClick(kMail);
    // TAB after the e-mail went on to the date box: 日付の入力欄, the last of the 西暦 submenu.
    ASSERT_TRUE(waitUntil([&] { return site.submitted().value("mail") == "hanako@example.jp"; })) << "e-mail";
    ASSERT_NE(openMenu(kBirthDate), 0u);
    chooseWithKeys({"Down", "Right", "Down", "Down", "Down", "Down", "Down", "Down", "Down", "Return"}, true);
    const QMap<QString, QString> expected{
        {"pref", u("東京都")}, {"year", u("1990年")},         {"month", "4"},
        {"day", "1"},          {"mail", "hanako@example.jp"}, {"born", "1990-04-01"}};
    EXPECT_TRUE(waitUntil([&] { return site.submitted() == expected; }))
        << QStringList(site.submitted().values()).join(" / ").toStdString();
    desktop().tapKey("Caps_Lock");
}

}  // namespace
