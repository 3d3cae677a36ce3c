#include "platform/error_report.h"
#include "app/startup.h"
#include "data/app_error.h"
#include "data/sjis.h"
#include "platform/posix/file_instance_lock.h"
#include "platform/qt/qt_dialogs.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The toolbar finds the window below and types into it through X11, so it must be an X11 window itself,
    // also in a Wayland session (through Xwayland): a QT_QPA_PLATFORM of the session is not followed.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(true);
    InstallJapaneseTranslation(app);

    QtDialogs dialogs;
    FileInstanceLock lock(DefaultInstanceLockPath("Zenpad_Ruvek_Application"));
    if (!lock.acquire()) {
        dialogs.ask(plainNotice(sjis::fromUtf8("Zenporo!は既に起動されています。"), sjis::fromUtf8("情報"),
                                DialogIcon::Information));
        return 0;
    }
    return RunToolbar(app, dialogs);
}
