#include "dialogs/settings_rules.h"

#include <gtest/gtest.h>

namespace {

using settings_rules::kPosixPathSeparators;
using settings_rules::kWindowsPathSeparators;
using settings_rules::StartFolderOf;

TEST(SettingsRules, FileDialogStartsInTheFolderPartOfThePathBox) {
    struct Case {
        std::u16string_view path;
        std::u16string_view separators;
        std::u16string_view folder;
    };
    const Case cases[] = {
        {u"/home/u/pic/a.bmp", kPosixPathSeparators, u"/home/u/pic/"},
        {u"/home/u/pic/", kPosixPathSeparators, u"/home/u/pic/"},
        {u"a.bmp", kPosixPathSeparators, u""},
        {u"", kPosixPathSeparators, u""},
        // A backslash or colon is part of a Linux name.
        {u"/home/u/a:b\\c.bmp", kPosixPathSeparators, u"/home/u/"},
        {u"C:\\pic\\a.bmp", kWindowsPathSeparators, u"C:\\pic\\"},
        {u"C:a.bmp", kWindowsPathSeparators, u"C:"},
        {u"C:\\pic/sub/a.bmp", kWindowsPathSeparators, u"C:\\pic/sub/"},
        {u"a.bmp", kWindowsPathSeparators, u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartFolderOf(c.path, c.separators), c.folder);
    }
}

TEST(SettingsRules, ControlsStandForTheFourSettingsAndOnlyTabIsAfterKeyZero) {
    ToolbarSettings settings;
    settings.PasteOK = false;
    settings.PasteAfter = true;
    settings.AfterKey = 7;  // any value but 0 is ENTER
    settings.NextKey = false;
    settings.FrmStyle = false;
    const settings_rules::PasteControls controls = settings_rules::ControlsFromSettings(settings);
    EXPECT_FALSE(controls.pasteChecked);
    EXPECT_TRUE(controls.afterKeyChecked);
    EXPECT_FALSE(controls.afterKeyTab);
    EXPECT_FALSE(controls.nextKeyTab);

    ToolbarSettings stored;
    settings_rules::StoreControls(controls, stored);
    EXPECT_EQ(stored.AfterKey, 1);
    EXPECT_EQ(stored.PasteOK, settings.PasteOK);
    EXPECT_EQ(stored.PasteAfter, settings.PasteAfter);
    EXPECT_EQ(stored.NextKey, settings.NextKey);
    EXPECT_TRUE(stored.FrmStyle) << "the dialog leaves the arrangement alone";
    settings_rules::StoreControls({true, false, true, true}, stored);
    EXPECT_EQ(stored.AfterKey, 0);
}

}  // namespace
