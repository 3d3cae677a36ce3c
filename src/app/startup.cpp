#include "app/startup.h"

#include "app/termination_signals.h"
#include "data/app_error.h"
#include "data/atomic_write.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "dialogs/help_manual.h"
#include "platform/error_report.h"
#include "platform/platform_services.h"
#include "qt/about_box.h"
#include "qt/button_images.h"
#include "qt/main_window.h"
#include "qt/settings_dialog.h"
#include "qt/user_file_editor.h"
#include "qt/user_file_list.h"
#include "toolbar/delivery.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
#include <QTranslator>

void InstallJapaneseTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(translator);
    }
}

int RunToolbar(QApplication& app, PlatformServices& platform) {
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ApplicationIconPicture())));

    Dialogs& dialogs = *platform.dialogs;
    TForm1* toolbar = nullptr;

    ToolbarServices services;
    services.dialogs = &dialogs;
    services.log = platform.log.get();
    services.clipboard = platform.clipboard.get();
    services.userFileFolder = UserFileFolder();
    // Only one instance gets here, so a temporary file of a save is one that a killed run left behind.
    RemoveLeftoverTemporaries(services.userFileFolder, platform.log.get());
    services.openUserFileList = [](TForm1& form, QWidget* parent) {
        OpenUserFileList(form.currentUser(), form.dialogs(), form.applicationTitle(), parent);
    };
    services.openUserFileEditor = [](TForm1& form, QWidget* parent, const std::string& path) {
        OpenUserFileEditor(form.currentUser(), form.dialogs(), form.applicationTitle(), parent, path);
    };
    services.openSettings = [](TForm1& form, QWidget* parent) {
        OpenSettingsDialog(form, form.dialogs(), parent);
    };
    Shell& shell = *platform.shell;
    services.openHelp = [&shell](QWidget*) {
        OpenHelpManual(shell, QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    };
    services.openVersionBox = [&shell](QWidget* parent) { ShowAboutBox(shell, parent); };
    if (platform.windowOrder && platform.keyInput) {
        const DeliveryPorts ports{*platform.windowOrder, *platform.keyInput, *platform.sleeper,
                                  platform.log.get()};
        services.pasteIntoWindowBelow = [ports, &toolbar](const ToolbarSettings& settings) {
            return PasteIntoWindowBelow(settings, toolbar->winId(), ports);
        };
        services.pressNextKey = [ports, &toolbar](const ToolbarSettings& settings) {
            return PressNextKeyInWindowBelow(settings, toolbar->winId(), ports);
        };
    }

    TerminationSignals terminationSignals;
    TForm1 form(services);
    toolbar = &form;
    platform.setToolbarWindow(&form);
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
        platform.setToolbarWindow(nullptr);
        ShowErrorReport(dialogs, error.message(), form.applicationTitle());
    }
    return result;
}
