#include "app/startup.h"

#include "app/termination_signals.h"
#include "data/atomic_write.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "dialogs/help_manual.h"
#include "platform/platform_services.h"
#include "qt/about_box.h"
#include "qt/button_images.h"
#include "qt/main_window.h"
#include "qt/settings_dialog.h"
#include "qt/user_file_editor.h"
#include "qt/user_file_list.h"

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

namespace {

ToolbarDialogOpeners MakeDialogOpeners(Shell& shell) {
    ToolbarDialogOpeners openers;
    openers.openUserFileList = [](TForm1& form, QWidget* parent) {
        ToolbarBehaviour& behaviour = form.behaviour();
        OpenUserFileList(behaviour.currentUser(), behaviour.dialogs(), behaviour.applicationTitle(), parent);
    };
    openers.openUserFileEditor = [](TForm1& form, QWidget* parent) {
        ToolbarBehaviour& behaviour = form.behaviour();
        OpenUserFileEditor(behaviour.currentUser(), behaviour.dialogs(), behaviour.applicationTitle(), parent,
                           std::string());
    };
    openers.openSettings = [](TForm1& form, QWidget* parent) {
        OpenSettingsDialog(form, form.behaviour().dialogs(), parent);
    };
    openers.openHelp = [&shell](QWidget*) {
        OpenHelpManual(shell, QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    };
    openers.openVersionBox = [&shell](QWidget* parent) { ShowAboutBox(shell, parent); };
    return openers;
}

}  // namespace

int RunToolbar(QApplication& app, PlatformServices& platform) {
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ApplicationIconPicture())));
    // Only one instance gets here, so a temporary file of a save is one that a killed run left behind.
    RemoveLeftoverTemporaries(UserFileFolder(), platform.log.get());

    TForm1* toolbar = nullptr;
    TerminationSignals terminationSignals;
    TForm1 form(MakeToolbarServices(platform, [&toolbar] { return WindowHandle{toolbar->winId()}; }),
                MakeDialogOpeners(*platform.shell));
    toolbar = &form;
    platform.setToolbarWindow(&form);
    ToolbarBehaviour& behaviour = form.behaviour();
    // The desktop session is ending: keep the settings now, the process may not get to its own end.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&behaviour] { behaviour.keepSettings(); });
    behaviour.FormCreate();
    int result = 0;
    // A signal during a dialog of the start leaves that dialog; the toolbar then is not shown at all.
    if (!terminationSignals.received()) {
        form.show();
        result = app.exec();
    }
    // Closing the toolbar has written the settings already; a signal, or a start cut short, has not.
    platform.setToolbarWindow(nullptr);
    behaviour.FormDestroy();
    return result;
}
