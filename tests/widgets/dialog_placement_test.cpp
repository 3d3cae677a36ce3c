#include "data/sjis.h"
#include "platform/qt/qt_dialogs.h"
#include "support/qt_app.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Asks once and gives back where the box stood, frame and all, and which window owned it.
struct Shown {
    QRect frame;
    QWidget* owner = nullptr;
};

std::optional<Shown> AskAndMeasure(QtDialogs& dialogs) {
    std::optional<Shown> shown;
    QTimer::singleShot(0, [&shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        shown = Shown{box->frameGeometry(), box->parentWidget()};
        box->reject();
    });
    dialogs.ask(plainNotice(sjis::fromUtf8("ファイルを読み込めません。"), "Zenporo", DialogIcon::Error));
    return shown;
}

// A question is shown over the window that asks, centred on it; the toolbar's own questions go to the
// middle of the screen instead of onto the toolbar's corner.
TEST(DialogPlacement, QuestionsAreCentredOnTheAskingWindowOrOnTheScreenForTheToolbar) {
    TestApplication();
    QWidget toolbar(nullptr, Qt::Window);
    toolbar.setGeometry(0, 0, 77, 22);
    toolbar.show();
    QWidget editor(&toolbar, Qt::Dialog);
    editor.setGeometry(60, 80, 520, 400);
    editor.show();
    QtDialogs dialogs(&toolbar);

    const QPoint screenCentre = toolbar.screen()->availableGeometry().center();
    const std::optional<Shown> fromToolbar = AskAndMeasure(dialogs);
    ASSERT_TRUE(fromToolbar.has_value());
    EXPECT_LE((fromToolbar->frame.center() - screenCentre).manhattanLength(), 4);
    EXPECT_EQ(fromToolbar->owner, &toolbar);

    {
        const AskingWindowScope asking(dialogs, &editor);
        const std::optional<Shown> fromEditor = AskAndMeasure(dialogs);
        ASSERT_TRUE(fromEditor.has_value());
        EXPECT_LE((fromEditor->frame.center() - editor.frameGeometry().center()).manhattanLength(), 4);
        EXPECT_EQ(fromEditor->owner, &editor);
    }
    EXPECT_EQ(dialogs.askingWindow(), nullptr);
}

}  // namespace
