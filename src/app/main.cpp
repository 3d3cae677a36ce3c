#include "app/startup.h"
#include "data/sjis.h"
#include "platform/platform_services.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The toolbar finds the window below and types into it through X11, so it must be an X11 window itself,
    // also in a Wayland session (through Xwayland): a QT_QPA_PLATFORM of the session is not followed.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(true);
    InstallJapaneseTranslation(app);

    PlatformServices platform = makePlatformServices();
    if (!platform.instanceLock->acquire()) {
        platform.dialogs->ask(plainNotice(sjis::fromUtf8("Zenporo!は既に起動されています。"),
                                          sjis::fromUtf8("情報"), DialogIcon::Information));
        return 0;
    }
    return RunToolbar(app, platform);
}
