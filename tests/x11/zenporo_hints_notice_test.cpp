// What the user sees of the toolbar besides the paste itself: the hints over its buttons, shown by a real
// pointer on a toolbar that never takes the focus, and the short notice when a paste did not happen.

#include "zenporo_fixture.h"

#include <QApplication>
#include <QImage>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

// Xlib's macros clash with Qt's and GoogleTest's names, so it comes last.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using x11test::waitUntil;
using x11test::ZenporoProcess;

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

constexpr int kPostalCode = 0;  // SpeedButton4, with a menu on the right button
constexpr int kAddress = 1;     // field row position of the address button (SpeedButton5)
constexpr int kSex = 3;         // SpeedButton7
constexpr int kNext = 12;       // SpeedButton18

using DisplayPtr = std::unique_ptr<Display, int (*)(Display*)>;

DisplayPtr openDisplay() {
    return DisplayPtr(XOpenDisplay(nullptr), XCloseDisplay);
}

// The window that holds the keyboard focus; 0 for none, 1 for PointerRoot.
unsigned long inputFocus(Display* display) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

class ZenporoHintsAndNotices : public x11test::ZenporoTest {
  protected:
    void SetUp() override {
        x11test::ZenporoTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        display_ = openDisplay();
        ASSERT_NE(display_, nullptr);
    }

    // Starts the program, horizontal and open, and waits for its toolbar.
    void startToolbar(const QByteArray& setLines = "PasteOK=1\r\n") {
        ASSERT_TRUE(folder().writeFile("Zenpad.ini", "[Set]\r\nFrmStyle=1\r\nBtnDown=1\r\n" + setLines +
                                                         "[Window]\r\nLeft=300\r\nTop=300\r\n"));
        run = std::make_unique<ZenporoProcess>(folder());
        toolbar = desktop().waitForWindow(run->pid(), toolbarTitle);
        ASSERT_NE(toolbar, 0u);
        ASSERT_TRUE(x11test::settlesAt(clientSizeOf(toolbar), QSize(422, 22)));
        ASSERT_TRUE(x11test::settlesAt(frameTopLeftOf(toolbar), QPoint(300, 300)));
    }

    QPoint fieldButton(int position) {
        return desktop().clientRect(toolbar).topLeft() + QPoint(77 + position * 23 + 11, 11);
    }

    // The program's one mapped window outside the window manager's care (a tooltip or a notice); 0 until
    // exactly one is there.
    unsigned long waitForOnePopup() {
        unsigned long found = 0;
        waitUntil([&] {
            const std::vector<unsigned long> popups = desktop().popupsOf(run->pid());
            found = popups.size() == 1 ? popups.front() : 0;
            return found != 0;
        });
        return found;
    }

    // A tooltip with the text, shown by this test process with the same toolkit and fonts: the program's
    // hint window must look exactly like it.
    QImage expectedHint(const QString& text) {
        QToolTip::showText(QPoint(20, 600), text);
        unsigned long own = 0;
        waitUntil([&] {
            const std::vector<unsigned long> popups = desktop().popupsOf(QCoreApplication::applicationPid());
            own = popups.empty() ? 0 : popups.front();
            return own != 0;
        });
        QApplication::processEvents();
        XSync(display_.get(), False);
        const QImage pixels = own != 0 ? desktop().windowPixels(own) : QImage();
        QToolTip::hideText();
        return pixels;
    }

    void TearDown() override {
        if (run && run->isRunning() && toolbar != 0) {
            desktop().requestClose(toolbar);
            EXPECT_TRUE(run->waitForCleanExit());
        }
    }

    DisplayPtr display_{nullptr, XCloseDisplay};
    std::unique_ptr<ZenporoProcess> run;
    unsigned long toolbar = 0;
};

TEST_F(ZenporoHintsAndNotices, RestingThePointerOnAFieldButtonShowsItsHint) {
    startToolbar();
    ASSERT_TRUE(desktop().popupsOf(run->pid()).empty());

    struct Case {
        int position;
        const char* hint;
    };
    const Case cases[] = {{kAddress, "東京都千代田区千代田１－１ゼンポロビル３階"}, {kSex, "女"}};
    for (const Case& c : cases) {
        desktop().movePointer(QPoint(10, 700));
        ASSERT_TRUE(waitUntil([&] { return desktop().popupsOf(run->pid()).empty(); }));
        const QImage expected = expectedHint(u(c.hint));
        ASSERT_FALSE(expected.isNull());

        desktop().movePointer(fieldButton(c.position));
        desktop().movePointer(fieldButton(c.position) + QPoint(1, 1));  // tooltips follow pointer motion
        const unsigned long hint = waitForOnePopup();
        ASSERT_NE(hint, 0u) << "no hint window over " << c.hint;
        QImage shown;
        EXPECT_TRUE(waitUntil(
            [&] {
                XSync(display_.get(), False);
                shown = desktop().windowPixels(hint);
                return shown == expected;
            },
            3000))
            << "the hint window does not show " << c.hint << ": " << shown.width() << "x" << shown.height()
            << " against " << expected.width() << "x" << expected.height();
        const QRect button(fieldButton(c.position) - QPoint(11, 11), QSize(23, 22));
        EXPECT_LT((desktop().clientRect(hint).topLeft() - button.bottomLeft()).manhattanLength(), 60)
            << "the hint shows by the button";
    }
}

TEST_F(ZenporoHintsAndNotices, AButtonsHoverBorderGoesWhenItsMenuClosesWithThePointerElsewhere) {
    startToolbar();
    const QPoint away(10, 700);
    desktop().movePointer(away);
    QImage plain;
    ASSERT_TRUE(waitUntil([&] {
        const QImage now = desktop().windowPixels(toolbar);
        const bool steady = !now.isNull() && now == plain;
        plain = now;
        return steady;
    }));

    desktop().movePointer(fieldButton(kPostalCode));
    ASSERT_TRUE(waitUntil([&] { return desktop().windowPixels(toolbar) != plain; }))
        << "no hover border to watch";
    desktop().pressButton(3);
    desktop().releaseButton(3);
    ASSERT_TRUE(waitUntil([&] { return !desktop().popupsOf(run->pid()).empty(); })) << "no menu";
    desktop().movePointer(away);
    desktop().tapKey("Escape");
    ASSERT_TRUE(waitUntil([&] { return desktop().popupsOf(run->pid()).empty(); })) << "the menu stays";
    EXPECT_TRUE(waitUntil([&] { return desktop().windowPixels(toolbar) == plain; }, 3000))
        << "the postal code button keeps its hover border";
}

TEST_F(ZenporoHintsAndNotices, AFailedPasteShowsANoticeThatLeavesTheFocusAndGoesAway) {
    x11test::TargetApp target(u("応募フォーム"));
    ASSERT_TRUE(target.waitReady());
    startToolbar("PasteOK=1\r\nNextKey=1\r\n");
    ASSERT_TRUE(desktop().activate(target.window()));
    const unsigned long focusBefore = inputFocus(display_.get());

    // A modifier held on the real keyboard (Ctrl: a click with Shift types): the text is copied, nothing is
    // typed into the form.
    Display* const d = display_.get();
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Control_L), True, CurrentTime);
    XSync(d, False);
    desktop().click(fieldButton(kAddress));
    const unsigned long notice = waitForOnePopup();
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Control_L), False, CurrentTime);
    XSync(d, False);
    ASSERT_NE(notice, 0u) << "no notice";
    EXPECT_EQ(desktop().title(notice),
              u("Shift や Ctrl などのキーが押されたままのため、貼り付けませんでした。"
                "クリップボードにコピーしました（Ctrl+V で貼り付けられます）。"));
    const QRect toolbarArea = desktop().clientRect(toolbar);
    const QRect noticeArea = desktop().clientRect(notice);
    EXPECT_GE(noticeArea.top(), toolbarArea.bottom()) << "below the toolbar";
    EXPECT_LT(noticeArea.top() - toolbarArea.bottom(), 40) << "next to the toolbar";
    EXPECT_EQ(inputFocus(d), focusBefore) << "the notice took the focus";
    EXPECT_EQ(target.state("first"), "");

    // The Next button replaces the notice with its own, which goes away by itself after a while.
    desktop().movePointer(QPoint(10, 700));
    ASSERT_TRUE(desktop().activate(target.window()));
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Shift_L), True, CurrentTime);
    XSync(d, False);
    desktop().click(fieldButton(kNext));
    const QString nextNotice =
        u("Shift や Ctrl などのキーが押されたままのため、「次へ」のキーを送りませんでした。");
    EXPECT_TRUE(waitUntil([&] {
        const std::vector<unsigned long> popups = desktop().popupsOf(run->pid());
        return popups.size() == 1 && desktop().title(popups.front()) == nextNotice;
    })) << "the Next button's notice replaces the paste's";
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, XK_Shift_L), False, CurrentTime);
    XSync(d, False);
    EXPECT_EQ(inputFocus(d), focusBefore);
    EXPECT_TRUE(waitUntil([&] { return desktop().popupsOf(run->pid()).empty(); }, 8000))
        << "the notice stays";
}

}  // namespace
