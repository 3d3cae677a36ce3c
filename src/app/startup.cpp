#include "app/startup.h"

#include "app/error_report.h"
#include "data/app_error.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "platform/qt/qt_dialogs.h"
#include "toolbar/button_images.h"
#include "toolbar/main_window.h"

#include <QApplication>
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

int RunToolbar(QApplication& app, QtDialogs& dialogs) {
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(ApplicationIconPicture())));

    ToolbarServices services;
    services.dialogs = &dialogs;
    services.userFileFolder = UserFileFolder();

    TForm1 form(services);
    dialogs.setParent(&form);
    form.FormCreate();
    form.show();
    const int result = app.exec();
    try {
        form.FormDestroy();
    } catch (const AppError& error) {
        dialogs.setParent(nullptr);
        ShowErrorReport(dialogs, error, form.applicationTitle());
    }
    return result;
}
