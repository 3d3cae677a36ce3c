#include "settings/settings_file.h"

#include "data/app_error.h"
#include "data/sjis.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <fstream>
#include <utility>

namespace {

SettingsFileContents firstRun() {
    SettingsFileContents contents;
    contents.ButtonImagePaths.assign(kImageKeyCount, "");
    return contents;
}

std::string emptyImageKeys(int except = -1) {
    std::string keys;
    for (int i = 0; i < kImageKeyCount; ++i) {
        keys += i == except ? "" : "Image" + std::to_string(i) + "=\r\n";
    }
    return keys;
}

class SettingsFileTest : public testing::Test {
  protected:
    TemporaryFolder folder_;
    std::string path_ = folder_.text() + "Zenpad.ini";
};

TEST_F(SettingsFileTest, FirstRunWritesEveryKeyInOrder) {
    // The folder's own bytes reach the file system unchanged, also where Shift-JIS cannot hold them.
    ASSERT_TRUE(std::filesystem::create_directory(FileSystemPath(folder_.text() + "設定-Zoë")));
    const std::string written = folder_.text() + "設定-Zoë/Zenpad.ini";
    WriteSettingsFile(written, firstRun());

    EXPECT_EQ(FileBytes(written),
              "[Set]\r\nPasteOK=1\r\nPasteAfter=0\r\nFrmStyle=1\r\nBtnDown=0\r\nNextKey=1\r\nAfterKey=0\r\n"
              "[Window]\r\nLeft=0\r\nTop=0\r\n[Button]\r\n" +
                  emptyImageKeys());
#ifndef _WIN32
    struct stat info {};
    ASSERT_EQ(::stat(written.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
#endif
}

TEST_F(SettingsFileTest, ValuesReadAsTheirKindAndWriteBackNormalised) {
    std::ofstream(FileSystemPath(path_), std::ios::binary)
        << "[set]\r\nPasteOK=2\r\nFrmStyle=yes\r\nAfterKey=0x1\r\n"
           "[Window]\r\nLeft=-40\r\n"
           "[Button]\r\nImage3=C:\\a.bmp\r\nImage16=kept\r\n[Other]\r\nZ=kept\r\n";
    SettingsFileContents contents;
    ASSERT_TRUE(ReadSettingsFile(path_, contents));
    EXPECT_TRUE(contents.settings.PasteOK && contents.settings.FrmStyle && contents.settings.NextKey);
    EXPECT_EQ(contents.settings.AfterKey, 1);
    EXPECT_EQ(contents.Left, -40);
    std::vector<std::string> images(kImageKeyCount);
    images[3] = "C:\\a.bmp";
    EXPECT_EQ(contents.ButtonImagePaths, images);

    WriteSettingsFile(path_, contents);
    EXPECT_EQ(FileBytes(path_),
              "[set]\r\nPasteOK=1\r\nFrmStyle=1\r\nAfterKey=1\r\nPasteAfter=0\r\nBtnDown=0\r\nNextKey=1\r\n"
              "[Window]\r\nLeft=-40\r\nTop=0\r\n[Button]\r\nImage3=C:\\a.bmp\r\nImage16=kept\r\n" +
                  emptyImageKeys(3) + "[Other]\r\nZ=kept\r\n");
}

// The file below, failing once a given number of keys have been read.
class FailingSource : public ProfileSource {
  public:
    explicit FailingSource(int reads) : reads_(reads) {}
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def) const override {
        if (reads_-- == 0) {
            throw IniReadError("read error");
        }
        keys += std::string(key) + " ";
        return file_.readString(section, key, def);
    }
    mutable std::string keys;

  private:
    mutable int reads_;
    IniFile file_{
        "[Set]\nPasteOK=0\nPasteAfter=1\nFrmStyle=0\nBtnDown=1\nAfterKey=1\nNextKey=0\n"
        "[Window]\nLeft=5\nTop=6\n[Button]\nImage0=a\nImage1=b\nImage2=c\n"};
};

TEST(SettingsRead, AWindowPositionBeyondAnyDesktopIsReadAsTheFarthestKept) {
    const std::pair<std::string, int> cases[] = {{"-32768", -32768},
                                                 {"2147483637", kFarthestWindowPosition},
                                                 {"-2147483648", -kFarthestWindowPosition}};
    for (const auto& [stored, read] : cases) {
        SettingsFileContents contents;
        ASSERT_TRUE(ReadSettings(IniFile("[Window]\nLeft=" + stored + "\nTop=" + stored + "\n"), contents));
        EXPECT_EQ(contents.Left, read) << stored;
        EXPECT_EQ(contents.Top, read) << stored;
    }
}

TEST(SettingsRead, ReadsInCreationOrderAndStopsSilentlyAtAReadError) {
    const FailingSource whole(100);
    int leftSeenWithTop = -1;
    SettingsFileContents contents;
    EXPECT_TRUE(ReadSettings(whole, contents, [&](SettingsKey key, const SettingsFileContents& soFar) {
        if (key == SettingsKey::Left) {
            leftSeenWithTop = soFar.Top;  // Left is applied before Top is read
        }
    }));
    EXPECT_EQ(leftSeenWithTop, 0);
    const std::string order = "PasteOK PasteAfter FrmStyle BtnDown AfterKey NextKey Left Top Image0 Image1 ";
    EXPECT_EQ(whole.keys.substr(0, order.size()), order);
    EXPECT_TRUE(whole.keys.ends_with("Image14 Image15 ")) << whole.keys;
    EXPECT_EQ(contents.ButtonImagePaths.size(), static_cast<std::size_t>(kImageKeyCount));

    SettingsFileContents partial;  // fails at NextKey: the keys before it as read, the rest their defaults
    EXPECT_FALSE(ReadSettings(FailingSource(5), partial));
    EXPECT_EQ(partial.settings.AfterKey, 1);
    EXPECT_TRUE(partial.settings.NextKey);
    EXPECT_EQ(partial.Left, 0);
    EXPECT_TRUE(partial.ButtonImagePaths.empty());

    SettingsFileContents images;  // fails at Image2: only the entries read so far
    EXPECT_FALSE(ReadSettings(FailingSource(10), images));
    EXPECT_EQ(images.ButtonImagePaths, (std::vector<std::string>{"a", "b"}));
}

TEST_F(SettingsFileTest, AnUnreadableFileReadsNothingAndIsNotWrittenOver) {
    ASSERT_TRUE(std::filesystem::create_directory(FileSystemPath(path_)));
    SettingsFileContents contents;
    EXPECT_FALSE(ReadSettingsFile(path_, contents));
    EXPECT_TRUE(contents.ButtonImagePaths.empty());
    try {
        WriteSettingsFile(path_, firstRun());
        ADD_FAILURE() << "no error for a folder named like the settings file";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), path_ + sjis::fromUtf8(" に書き込めません"));
    }
}

#ifndef _WIN32
TEST_F(SettingsFileTest, AFailedWriteLeavesTheOldFileWhole) {
    const std::string old = "[Set]\r\nPasteOK=0\r\n; mine\r\n";
    std::ofstream(FileSystemPath(path_), std::ios::binary) << old;
    // A child process whose files may not grow past 16 bytes cannot write the new contents.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, 16};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteSettingsFile(path_, firstRun());
        } catch (const AppError&) {
            ::_exit(3);
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << "the failure was not reported";
    EXPECT_EQ(FileBytes(path_), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.path()),
                            std::filesystem::directory_iterator()),
              1);
}
#endif

}  // namespace
