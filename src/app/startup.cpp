#include "app/startup.h"

#include "platform/error_report.h"
#include "app/termination_signals.h"
#include "data/app_error.h"
#include "data/atomic_write.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "qt/about_box.h"
#include "dialogs/help_manual.h"
#include "qt/settings_dialog.h"
#include "qt/user_file_editor.h"
#include "qt/user_file_list.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_log.h"
#include "platform/qt/qt_shell.h"
#include "platform/thread_sleeper.h"
#include "platform/x11/x11_platform.h"
#include "qt/button_images.h"
#include "toolbar/delivery.h"
#include "qt/main_window.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
#include <QSocketNotifier>
#include <QTranslator>

void InstallJapaneseTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

int RunToolbar(QApplication& app, QtDialogs& dialogs) {
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ApplicationIconPicture())));

    QtClipboard clipboard;
    QtShell shell;
    ThreadSleeper sleeper;
    QtLog log;
    std::optional<X11Delivery> delivery = openX11Delivery();
    // Events of our X connection (the active window changing) are taken as they come, while the toolbar
    // waits.
    std::unique_ptr<QSocketNotifier> x11Events;
    if (delivery) {
        x11Events =
            std::make_unique<QSocketNotifier>(delivery->display->fileDescriptor(), QSocketNotifier::Read);
        QObject::connect(x11Events.get(), &QSocketNotifier::activated,
                         [&delivery] { delivery->display->takePendingEvents(); });
    }
    TForm1* toolbar = nullptr;

    ToolbarServices services;
    services.dialogs = &dialogs;
    services.clipboard = &clipboard;
    services.userFileFolder = UserFileFolder();
    // Only one instance gets here, so a temporary file of a save is one that a killed run left behind.
    RemoveLeftoverTemporaries(services.userFileFolder, &log);
    services.openUserFileList = [](ToolbarHost& host, QWidget* parent) { OpenUserFileList(host, parent); };
    services.openUserFileEditor = [](ToolbarHost& host, QWidget* parent, const std::string& path) {
        OpenUserFileEditor(host, parent, path);
    };
    services.openSettings = [](ToolbarHost& host, QWidget* parent) { OpenSettingsDialog(host, parent); };
    services.openHelp = [&shell](QWidget*) {
        OpenHelpManual(shell, QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    };
    services.openVersionBox = [&shell](QWidget* parent) { ShowAboutBox(shell, parent); };
    if (delivery) {
        services.pasteIntoWindowBelow = [&](const ToolbarSettings& settings) {
            return PasteIntoWindowBelow(settings, toolbar->winId(),
                                        DeliveryPorts{*delivery->windows, *delivery->keys, sleeper, &log});
        };
        services.pressNextKey = [&](const ToolbarSettings& settings) {
            return PressNextKeyInWindowBelow(settings, toolbar->winId(),
                                             DeliveryPorts{*delivery->windows, *delivery->keys, sleeper, &log});
        };
    }

    TerminationSignals terminationSignals;
    TForm1 form(services);
    toolbar = &form;
    dialogs.setParent(&form);
    // The desktop session is ending: keep the settings now, the process may not get to its own end.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] {
        try {
            form.FormDestroy();
        } catch (const AppError&) {
            // Reported at the end of the run, if it comes.
        }
    });
    form.FormCreate();
    int result = 0;
    // A signal during a dialog of the start leaves that dialog; the toolbar then is not shown at all.
    if (!terminationSignals.received()) {
        form.show();
        result = app.exec();
    }
    try {
        form.FormDestroy();
    } catch (const AppError& error) {
        dialogs.setParent(nullptr);
        ShowErrorReport(dialogs, error.message(), form.applicationTitle());
    }
    return result;
}
