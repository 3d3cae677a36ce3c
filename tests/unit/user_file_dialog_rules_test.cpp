#include "dialogs/dialog_place.h"
#include "dialogs/user_file_editor_logic.h"
#include "dialogs/user_file_list_layout.h"
#include "dialogs/user_file_list_logic.h"

#include "data/sjis.h"
#include "data/user_file.h"
#include "support/recording_current_user.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(UserFileList, PreselectsTheCurrentFilesEntry) {
    const std::vector<std::string> names{"Ab", "ab", "b.c", sjis::fromUtf8("山田")};
    EXPECT_EQ(PreselectedRow(names, "/u/ab.zpd"), 1u);
    EXPECT_EQ(PreselectedRow(names, "/u/AB.zpd"), 0u);
    EXPECT_EQ(PreselectedRow(names, "/u/b.c.zpd"), 2u);
    EXPECT_EQ(PreselectedRow(names, "/Zoë/山田.zpd"), 3u);  // a path is the file system's bytes
    EXPECT_EQ(PreselectedRow(names, "/u/b.zpd"), std::nullopt);
    EXPECT_EQ(PreselectedRow(names, ""), std::nullopt);
    EXPECT_EQ(PreselectedRow({}, "/u/ab.zpd"), std::nullopt);
}

// A label grows to its text up to the next edge on its row; the list's 183-pixel label meets wider fonts.
TEST(DialogLabel, GrowsToItsTextUpToTheNextEdgeOnItsRow) {
    namespace list = user_file_list_layout;
    const std::vector<Rect> belowIt{list::kListView1, list::kButtons[0].place};
    const Rect label{8, 8, 100, 12};
    const struct {
        Rect place;
        int textWidth;
        std::vector<Rect> others;
        int width;
    } cases[] = {
        {list::kLabel1.place, 150, belowIt, 183},                  // fits: never narrower
        {list::kLabel1.place, 200, belowIt, 200},                  // the list's, in a wider font
        {list::kLabel1.place, 400, belowIt, 292},                  // up to the client's edge
        {label, 200, {{120, 6, 50, 20}, {40, 30, 300, 20}}, 112},  // up to a control on its row
        {label, 200, {{4, 4, 150, 40}}, 146},                      // up to its panel's edge
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GrownLabelWidth(c.place, c.textWidth, c.others, list::kClient.width), c.width) << c.width;
    }
}

// A user file named in kana: the list's Delete and the editor's check for a file of that name must find it
// (a narrow path on Windows would read each UTF-8 byte as one character and find nothing).
class KanaUserFileTest : public ::testing::Test {
  protected:
    KanaUserFileTest() { WriteUserFile(path, {"Yamada"}); }

    TemporaryFolder folder;
    const std::string name = sjis::fromUtf8("山田");
    const std::string path = UserFilePath(folder.text(), name);
    RecordingCurrentUser user;
};

TEST_F(KanaUserFileTest, DeleteAsksAndRemovesTheFile) {
    user.dialogs.answerNext(DialogAnswer::Yes);
    EXPECT_TRUE(DeleteUserFileEntry(user, user.dialogs, folder.text(), name));
    EXPECT_FALSE(std::filesystem::exists(FileSystemPath(path)));
}

TEST_F(KanaUserFileTest, ANewRecordUnderItsNameAsksBeforeOverwritingIt) {
    EditorOkRequest request;
    request.boxes[kFileNameBox - 1] = u"山田";
    request.anyModified = true;
    request.folder = folder.text();
    EXPECT_FALSE(EditorOk(request, user, user.dialogs).close);  // the question is answered No
    EXPECT_EQ(user.dialogs.asked.at(0).text,
              sjis::fromUtf8("同名のファイルが存在します。\n上書きしてよろしいですか？"));
    EXPECT_EQ(ReadUserFile(path), UserRecord{"Yamada"});
}

}  // namespace
