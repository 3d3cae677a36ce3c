#include "data/user_file.h"
#include "data/app_error.h"
#include "data/atomic_write.h"
#include "data/sjis.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include <filesystem>
#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::set<std::string> entriesOf(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(ProgramPath(entry.path().filename()));
    }
    return names;
}

class RecordingLog : public Log {
  public:
    void write(LogCategory category, std::string_view utf8Message) override {
        EXPECT_EQ(category, LogCategory::Files);
        lines.emplace_back(utf8Message);
    }
    std::vector<std::string> lines;
};

class UserFileTest : public ::testing::Test {
  protected:
    TemporaryFolder dir_;
    fs::path folder() const { return dir_.path(); }
    // The folder as the program names it, with a trailing separator.
    std::string folderPath() const { return dir_.text(); }
    // An entry of the folder, its name in the program's form.
    fs::path entry(const std::string& name) const { return FileSystemPath(folderPath() + name); }
};

TEST(UserFileBytes, SplitsAtEveryKindOfLineEnd) {
    const UserRecord abc{"a", "b", "c"};
    struct Case {
        const char* label;
        std::string bytes;
        UserRecord lines;
    };
    const Case cases[] = {
        {"CR LF", "a\r\nb\r\nc\r\n", abc},
        {"LF only", "a\nb\nc\n", abc},
        {"CR only", "a\rb\rc\r", abc},
        {"no final break", "a\r\nb\r\nc", abc},
        {"empty file", "", {}},
        {"one break", "\r\n", {""}},
        {"empty lines kept", "\r\n\n\r", {"", "", ""}},
        {"CR CR LF is two breaks", "a\r\r\nb", {"a", "", "b"}},
        {"no trimming", " a \t\r\n", {" a \t"}},
        {"NUL ends the content", std::string("a\r\nb\r\nc\0d\r\ne\r\n", 15), {"a", "b", "c"}},
        {"NUL right after a break", std::string("a\r\n\0b", 5), {"a"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseUserFileBytes(c.bytes), c.lines) << c.label;
    }
}

TEST(UserFileBytes, EveryLineEndsWithCrLfAndRoundTrips) {
    UserRecord record = emptyUserRecord();
    record[FamilyName] = sjis::fromUtf8("山田");
    record[Email] = "taro@example.jp";
    const std::string bytes = UserFileBytes(record);
    EXPECT_EQ(bytes.size(), std::string("taro@example.jp").size() + 4 + 62);
    EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");  // last field empty
    EXPECT_EQ(ParseUserFileBytes(bytes), record);

    // A NUL or line break in a field would cut the file short or move the later fields: only it is left out.
    record[Address1] = std::string("1-2\0-3\r\n4", 9);
    const UserRecord back = ParseUserFileBytes(UserFileBytes(record));
    ASSERT_EQ(back.size(), 31u);
    EXPECT_EQ(back[Address1], "1-2-34");
    EXPECT_EQ(back[Email], "taro@example.jp");
}

TEST(UserFileNames, PathAndDisplayName) {
    EXPECT_EQ(UserFilePath("/opt/z/", "taro"), "/opt/z/taro.zpd");
    EXPECT_EQ(UserFilePath("/opt/z/", "taro.zpd"), "/opt/z/taro.zpd.zpd");
    EXPECT_EQ(DisplayName("/opt/z/taro.zpd"), "taro");
    EXPECT_EQ(DisplayName("/opt/z.d/a.b.zpd"), "a.b");
    EXPECT_EQ(DisplayName("/opt/z.d/noext"), "noext");
    EXPECT_EQ(UserFilePath("/opt/Zoë/", sjis::fromUtf8("表示")), "/opt/Zoë/表示.zpd");
    EXPECT_EQ(DisplayName("/opt/Zoë/表示.zpd"), sjis::fromUtf8("表示"));
    EXPECT_EQ(DisplayName("/opt/z/Zoë.zpd"), "Zo?");
}

TEST(UserFileFolderRule, BesideAWritableProgramElseInTheHomeFolder) {
    const struct {
        const char* programFolder;
        bool writable;
        const char* home;
        const char* expected;
    } cases[] = {
        {"/home/u/Zenporo/", true, "/home/u/", "/home/u/Zenporo/"},  // scripts/install's copy
        {"/home/u/src/zenporo/portable/", true, "/home/u/", "/home/u/src/zenporo/portable/"},
        {"/media/u/USB/zenporo/", false, "/home/u/", "/home/u/Zenporo/"},
        {"/usr/bin/", false, "/home/u/", "/home/u/Zenporo/"},
        {"/usr/bin/", true, "/root/", "/root/Zenporo/"},  // root can write /usr/bin
        {"/usr/local/bin/", true, "/root/", "/root/Zenporo/"},
        {"/opt/zenporo/", true, "/root/", "/root/Zenporo/"},
        {"/usrdata/zenporo/", true, "/home/u/", "/usrdata/zenporo/"},
        {"/usr/bin/", false, "", "/usr/bin/"},  // no home: the error shows at the first save
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UserFileFolderFor(c.programFolder, c.writable, c.home), c.expected)
            << c.programFolder << " writable " << c.writable << " home " << c.home;
    }
}

TEST_F(UserFileTest, WriteThenReadRoundTripsWithOwnerOnlyMode) {
    UserRecord record = emptyUserRecord();
    record[Prefecture] = sjis::fromUtf8("東京都");
    record[Memo4] = sjis::fromUtf8("ソ表能");  // second bytes that look like "\"
    const std::string path = UserFilePath(folderPath(), sjis::fromUtf8("山田太郎"));
    WriteUserFile(path, record);

    const fs::path onDisk = entry("山田太郎.zpd");
    ASSERT_TRUE(fs::exists(onDisk));
    EXPECT_EQ(readBytes(onDisk), UserFileBytes(record));
#ifndef _WIN32
    EXPECT_EQ(fs::status(onDisk).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
#endif
    EXPECT_EQ(ReadUserFile(path), record);
}

TEST_F(UserFileTest, WriteReplacesALongerFileWholeAndLeavesNoTemporaryFile) {
    const std::string path = folderPath() + "a.zpd";
    WriteUserFile(path, UserRecord(40, std::string(100, 'x')));
    WriteUserFile(path, {"short"});
    EXPECT_EQ(readBytes(folder() / "a.zpd"), "short\r\n");
    EXPECT_EQ(entriesOf(folder()), std::set<std::string>{"a.zpd"});
}

TEST_F(UserFileTest, ReadOfAMissingFileOrAFolderFailsWithCannotOpen) {
    fs::create_directory(folder() / "dir.zpd");
    for (const std::string name : {"missing.zpd", "dir.zpd"}) {
        const std::string path = folderPath() + name;
        try {
            ReadUserFile(path);
            ADD_FAILURE() << name << " was read";
        } catch (const AppError& error) {
            EXPECT_EQ(error.message(), cannotOpenFile(path).message());
        }
    }
}

TEST_F(UserFileTest, WriteThatCannotCreateTheFileFailsAndLeavesNoTemporaryFile) {
    writeBytes(folder() / "plain", "keep");
    fs::create_directory(folder() / "dir.zpd");
    // A folder path that is a file, and a target that is a folder (the rename fails).
    for (const std::string name : {"plain/a.zpd", "dir.zpd"}) {
        const std::string path = folderPath() + name;
        try {
            WriteUserFile(path, {"x"});
            ADD_FAILURE() << name << " was written";
        } catch (const AppError& error) {
            EXPECT_EQ(error.message(), cannotCreateFile(path).message());
        }
    }
    EXPECT_EQ(entriesOf(folder()), (std::set<std::string>{"plain", "dir.zpd"}));
    EXPECT_EQ(readBytes(folder() / "plain"), "keep");
}

#ifndef _WIN32
// A file size limit exists only on Linux; the Windows lane checks a failed replacement with its own test.
TEST_F(UserFileTest, WriteFailingHalfwayKeepsTheOldFile) {
    const std::string path = folderPath() + "a.zpd";
    WriteUserFile(path, {"old"});
    // A file size limit makes the write of the new content fail after the temporary file exists, as a
    // full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    try {
        WriteUserFile(path, UserRecord(31, std::string(50, 'n')));
    } catch (const AppError&) {
        threw = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(readBytes(folder() / "a.zpd"), "old\r\n");
    EXPECT_EQ(entriesOf(folder()), std::set<std::string>{"a.zpd"});
}

#endif

TEST_F(UserFileTest, FindUserFilesCountsEveryEntryEndingInZpd) {
    EXPECT_EQ(FindUserFiles(folderPath() + "missing/").count, 0);
    EXPECT_EQ(FindUserFiles(folderPath()).firstPath, "");
    writeBytes(folder() / "a.zpd", "");
    writeBytes(folder() / ".hidden.zpd", "");
    fs::create_directory(folder() / "folder.zpd");
    writeBytes(folder() / "X.ZPD", "x\r\n");
    writeBytes(folder() / "b.zpdx", "");
    writeBytes(folder() / "zpd", "");
    writeBytes(folder() / "c.txt", "");

    const UserFileSearch found = FindUserFiles(folderPath());
    std::set<std::string> matches{folderPath() + "a.zpd", folderPath() + ".hidden.zpd",
                                  folderPath() + "folder.zpd"};
    // Where letter case is ignored (Windows) X.ZPD counts, and the path rebuilt as X.zpd opens it.
    if (FileNameLetterCase() == LetterCase::Ignored) {
        matches.insert(folderPath() + "X.zpd");
        EXPECT_EQ(ReadUserFile(folderPath() + "X.zpd"), UserRecord{"x"});
    }
    EXPECT_EQ(found.count, static_cast<int>(matches.size()));
    EXPECT_TRUE(matches.count(found.firstPath)) << found.firstPath;
}

TEST(UserFileEntry, TheFileSystemsLetterCaseRuleDecidesTheExtension) {
    const struct {
        const char* name;
        bool withCase, withoutCase;  // Linux, Windows
    } cases[] = {
        {"taro.zpd", true, true}, {"TARO.ZPD", false, true}, {"山田.Zpd", false, true}, {".zpd", true, true},
        {"zpd", false, false},    {"a.ZPDX", false, false},  {"a_zpd", false, false},   {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsUserFileEntry(c.name, LetterCase::Significant), c.withCase) << c.name;
        EXPECT_EQ(IsUserFileEntry(c.name, LetterCase::Ignored), c.withoutCase) << c.name;
    }
}

TEST_F(UserFileTest, AFolderShiftJisCannotHoldKeepsItsNameAndNamesItCannotHoldAreSkipped) {
    const std::string folderPath = this->folderPath() + "Zoë-Müller/";
    const fs::path folder = FileSystemPath(folderPath);
    fs::create_directory(folder);
    // 〜 (U+301C) is stored as ～ (U+FF5E), whose file would be another one.
    for (const std::string name : {"山田.zpd", "Zoë.zpd", "\u301C.zpd"}) {
        writeBytes(FileSystemPath(folderPath + name), "a\r\n");
    }
#ifndef _WIN32
    // Bytes that are no UTF-8 at all, which only Linux names can hold.
    writeBytes(folder / "\xff.zpd", "a\r\n");
#endif
    const UserFileSearch found = FindUserFiles(folderPath);
    EXPECT_EQ(found.count, 1);
    EXPECT_EQ(found.firstPath, folderPath + "山田.zpd");
    RecordingLog log;
    EXPECT_EQ(UserFileNamesIn(folderPath, &log), std::vector<std::string>{sjis::fromUtf8("山田")});
    // Each name left out can be looked up later.
    const std::size_t leftOut = fs::exists(folder / "\xff.zpd") ? 3 : 2;
    EXPECT_EQ(log.lines.size(), leftOut);
    EXPECT_EQ(ReadUserFile(found.firstPath), UserRecord{"a"});
    WriteUserFile(found.firstPath, {"b"});
    EXPECT_EQ(readBytes(FileSystemPath(folderPath + "山田.zpd")), "b\r\n");
    try {
        WriteUserFile(folderPath + "missing/x.zpd", {"x"});
        ADD_FAILURE() << "written";
    } catch (const AppError& error) {
        // The message shows the path in Shift-JIS, with "?" where it cannot.
        EXPECT_EQ(error.message(), sjis::fromUtf8("ファイル ") + dir_.text() + "Zo?-M?ller/missing/x.zpd" +
                                       sjis::fromUtf8(" を作成できません"));
    }
}

#ifndef _WIN32
TEST_F(UserFileTest, LeftoverTemporariesOfAKilledSaveAreRemovedAndNothingElse) {
    writeBytes(folder() / "Zenpad.ini", "old");
    // A save killed half-way, as a kill during a slow write would leave it.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit small{16, 16};
        setrlimit(RLIMIT_FSIZE, &small);
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        WriteUserFile((folder() / "Zenpad.ini").native(), UserRecord(31, std::string(50, 'n')));
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
    const std::set<std::string> users{"Zenpad.ini",     "Zenpad.ini.backup",     "Zenpad.ini.Ab12Cd",
                                      ".zenporo-save-", ".zenporo-save-Ab12Cd7", "a.zpd"};
    for (const std::string& name : users) {
        if (name != "Zenpad.ini") {
            writeBytes(folder() / name, "mine");
        }
    }
    EXPECT_EQ(entriesOf(folder()).size(), users.size() + 1);

    RecordingLog log;
    EXPECT_EQ(RemoveLeftoverTemporaries(folderPath(), &log), 1);
    EXPECT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(entriesOf(folder()), users);
    EXPECT_EQ(readBytes(folder() / "Zenpad.ini"), "old");
}
#endif

}  // namespace
