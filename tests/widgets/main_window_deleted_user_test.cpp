#include "qt/main_window.h"

#include "data/sjis.h"
#include "data/user_file.h"
#include "dialogs/user_file_list_logic.h"
#include "support/qt_app.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(MainWindowDeletedUser, ClearingTheRecordShowsTheProgramNameUntilTheFileIsChosenAgain) {
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
    CurrentUser& user = form.behaviour().currentUser();
    user.makeCurrent(path);
    ASSERT_EQ(form.windowTitle(), QString::fromUtf8("taro - Zenporo！"));

    user.clearRecord();
    EXPECT_TRUE(user.record().empty());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Zenporo！"));
    EXPECT_EQ(form.behaviour().applicationTitle(), sjis::fromUtf8("Zenporo！"));
    EXPECT_EQ(user.path(), path);

    // The file is made again and chosen in the list: the same path, so no switch question, yet the
    // caption must name the user again.
    WriteUserFile(path, emptyUserRecord());
    ChooseUserFile(user, services.userFileFolder, "taro");
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("taro - Zenporo！"));
    EXPECT_EQ(form.behaviour().applicationTitle(), sjis::fromUtf8("taro - Zenporo！"));
}

}  // namespace
