#include "toolbar/main_window.h"

#include "data/sjis.h"
#include "data/user_file.h"
#include "support/qt_app.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(MainWindowDeletedUser, ClearingTheRecordShowsTheProgramNameButKeepsTheCurrentPath) {
    TestApplication();
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    ToolbarServices services;
    services.dialogs = &dialogs;
    services.today = [] { return CalendarDate{2026, 4, 9}; };
    services.userFileFolder = folder.path().toStdString() + "/";
    TForm1 form(services);
    const std::string path = services.userFileFolder + "taro.zpd";
    WriteUserFile(path, emptyUserRecord());
    MakeUserFileCurrent(form, path);
    ASSERT_EQ(form.windowTitle(), QString::fromUtf8("taro - Zenporo！"));

    form.clearUserRecord();
    EXPECT_TRUE(form.userRecord().empty());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Zenporo！"));
    EXPECT_EQ(form.applicationTitle(), sjis::fromUtf8("Zenporo！"));
    EXPECT_EQ(form.currentUserFile(), path);
}

}  // namespace
