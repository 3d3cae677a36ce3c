#include "app/settings_file.h"

#include "data/app_error.h"
#include "data/sjis.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

SettingsFileContents firstRun() {
    SettingsFileContents contents;
    contents.ButtonImagePaths.assign(kImageKeyCount, "");
    return contents;
}

class SettingsFileTest : public testing::Test {
  protected:
    QTemporaryDir folder_;
    std::string path_ = folder_.filePath("Zenpad.ini").toStdString();
};

TEST_F(SettingsFileTest, FirstRunWritesEveryKeyInOrder) {
    // A folder with a Japanese name: the Shift-JIS path must reach the file system as its real name.
    ASSERT_TRUE(QDir(folder_.path()).mkdir(QString::fromUtf8("設定")));
    const std::string sjisPath = folder_.path().toStdString() + "/" + sjis::fromUtf8("設定") + "/Zenpad.ini";
    WriteSettingsFile(sjisPath, firstRun());

    const std::string realPath = folder_.filePath(QString::fromUtf8("設定/Zenpad.ini")).toStdString();
    std::string expected =
        "[Set]\r\nPasteOK=1\r\nPasteAfter=0\r\nFrmStyle=1\r\nBtnDown=0\r\nNextKey=1\r\nAfterKey=0\r\n"
        "[Window]\r\nLeft=0\r\nTop=0\r\n[Button]\r\n";
    for (int i = 0; i < kImageKeyCount; ++i) {
        expected += "Image" + std::to_string(i) + "=\r\n";
    }
    EXPECT_EQ(readBytes(realPath), expected);
    struct stat info {};
    ASSERT_EQ(::stat(realPath.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(QDir(folder_.filePath(QString::fromUtf8("設定"))).entryList(QDir::Files).size(), 1);
}

TEST_F(SettingsFileTest, ValuesReadAsTheirKindAndWriteBackNormalised) {
    writeBytes(path_,
               "[set]\r\nPasteOK=2\r\nFrmStyle=yes\r\nAfterKey=0x1\r\n"
               "[Window]\r\nLeft=-40\r\nTop=$10\r\n"
               "[Button]\r\nImage3=C:\\pics\\a.bmp\r\nImage16=kept\r\n"
               "[Other]\r\nZ=kept too\r\n");
    SettingsFileContents contents;
    ASSERT_TRUE(ReadSettingsFile(path_, contents));
    EXPECT_TRUE(contents.settings.PasteOK);
    EXPECT_TRUE(contents.settings.FrmStyle);
    EXPECT_EQ(contents.settings.AfterKey, 1);
    EXPECT_EQ(contents.Left, -40);
    EXPECT_EQ(contents.Top, 16);
    std::vector<std::string> images(kImageKeyCount);
    images[3] = "C:\\pics\\a.bmp";
    EXPECT_EQ(contents.ButtonImagePaths, images);

    WriteSettingsFile(path_, contents);
    std::string expected =
        "[set]\r\nPasteOK=1\r\nFrmStyle=1\r\nAfterKey=1\r\nPasteAfter=0\r\nBtnDown=0\r\nNextKey=1\r\n"
        "[Window]\r\nLeft=-40\r\nTop=16\r\n"
        "[Button]\r\nImage3=C:\\pics\\a.bmp\r\nImage16=kept\r\n";
    for (int i = 0; i < kImageKeyCount; ++i) {
        expected += i == 3 ? "" : "Image" + std::to_string(i) + "=\r\n";
    }
    expected += "[Other]\r\nZ=kept too\r\n";
    EXPECT_EQ(readBytes(path_), expected);
}

// Reads like the real file, but fails once a given number of keys have been read.
class FailingSource : public ProfileSource {
  public:
    explicit FailingSource(int readsBeforeFailure) : left_(readsBeforeFailure) {}
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const override {
        if (left_-- == 0) {
            throw IniReadError("read error");
        }
        keys_ += std::string(section) + "." + std::string(key) + " ";
        return file_.readString(section, key, defaultValue);
    }
    mutable std::string keys_;

  private:
    mutable int left_;
    IniFile file_{
        "[Set]\nPasteOK=0\nPasteAfter=1\nFrmStyle=0\nBtnDown=1\nAfterKey=1\nNextKey=0\n"
        "[Window]\nLeft=5\nTop=6\n[Button]\nImage0=a\nImage1=b\nImage2=c\n"};
};

TEST(SettingsRead, ReadsInCreationOrderAndStopsSilentlyAtAReadError) {
    const FailingSource whole(1000);
    std::vector<SettingsKey> applied;
    SettingsFileContents contents;
    EXPECT_TRUE(ReadSettings(whole, contents, [&](SettingsKey key, const SettingsFileContents& soFar) {
        applied.push_back(key);
        if (key == SettingsKey::Left) {
            EXPECT_EQ(soFar.Left, 5);
            EXPECT_EQ(soFar.Top, 0);  // applied before the next key is read
        }
    }));
    std::string expectedKeys =
        "Set.PasteOK Set.PasteAfter Set.FrmStyle Set.BtnDown Set.AfterKey Set.NextKey Window.Left "
        "Window.Top ";
    for (int i = 0; i < kImageKeyCount; ++i) {
        expectedKeys += "Button.Image" + std::to_string(i) + " ";
    }
    EXPECT_EQ(whole.keys_, expectedKeys);
    ASSERT_EQ(applied.size(), 8u + kImageKeyCount);
    EXPECT_EQ(applied[4], SettingsKey::AfterKey);
    EXPECT_EQ(applied[8], SettingsKey::Image);

    // Failing at NextKey: the keys before it hold the file's values, the rest their defaults.
    SettingsFileContents partial;
    EXPECT_FALSE(ReadSettings(FailingSource(5), partial));
    EXPECT_FALSE(partial.settings.PasteOK);
    EXPECT_EQ(partial.settings.AfterKey, 1);
    EXPECT_TRUE(partial.settings.NextKey);
    EXPECT_EQ(partial.Left, 0);
    EXPECT_TRUE(partial.ButtonImagePaths.empty());

    // Failing at Image2: only the entries read so far.
    SettingsFileContents images;
    EXPECT_FALSE(ReadSettings(FailingSource(10), images));
    EXPECT_EQ(images.Top, 6);
    EXPECT_EQ(images.ButtonImagePaths, (std::vector<std::string>{"a", "b"}));
}

TEST_F(SettingsFileTest, AnUnreadableFileReadsNothingAndIsNotWrittenOver) {
    ASSERT_TRUE(QDir(folder_.path()).mkdir("Zenpad.ini"));
    SettingsFileContents contents;
    EXPECT_FALSE(ReadSettingsFile(path_, contents));
    EXPECT_TRUE(contents.ButtonImagePaths.empty());
    EXPECT_TRUE(contents.settings.PasteOK);
    try {
        WriteSettingsFile(path_, firstRun());
        FAIL() << "no error for a folder named like the settings file";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), path_ + sjis::fromUtf8(" に書き込めません"));
    }
}

TEST_F(SettingsFileTest, MissingFileReadsAllDefaults) {
    SettingsFileContents contents;
    ASSERT_TRUE(ReadSettingsFile(path_, contents));
    EXPECT_TRUE(contents.settings.PasteOK && contents.settings.FrmStyle && contents.settings.NextKey);
    EXPECT_FALSE(contents.settings.PasteAfter || contents.BtnDown);
    EXPECT_EQ(contents.ButtonImagePaths, std::vector<std::string>(kImageKeyCount));
}

TEST_F(SettingsFileTest, AFailedWriteLeavesTheOldFileWhole) {
    const std::string old = "[Set]\r\nPasteOK=0\r\n; mine\r\n";
    writeBytes(path_, old);
    // A child process whose files may not grow past 16 bytes: the new contents cannot be written.
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
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3) << "the write did not report its failure";
    EXPECT_EQ(readBytes(path_), old);
    EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files), QStringList{"Zenpad.ini"});
}

}  // namespace
