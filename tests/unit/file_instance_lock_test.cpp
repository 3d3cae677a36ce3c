#include "platform/posix/file_instance_lock.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another process that takes the lock, says whether it got it, and holds it until told to end.
class LockHolder {
  public:
    explicit LockHolder(const std::string& path) {
        int report[2];
        int quit[2];
        if (::pipe(report) != 0 || ::pipe(quit) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(report[0]);
            ::close(quit[1]);
            FileInstanceLock lock(path);
            const char acquired = lock.acquire() ? '1' : '0';
            (void)!::write(report[1], &acquired, 1);
            char ignored;
            (void)!::read(quit[0], &ignored, 1);  // returns when the parent closes its end
            ::_exit(0);
        }
        ::close(report[1]);
        ::close(quit[0]);
        char answer = '?';
        if (::read(report[0], &answer, 1) == 1) {
            acquired_ = answer == '1';
        }
        ::close(report[0]);
        quitWrite_ = quit[1];
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    ~LockHolder() { end(); }

    bool acquired() const { return acquired_; }
    void end() {
        if (pid_ <= 0) {
            return;
        }
        ::close(quitWrite_);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

  private:
    pid_t pid_ = -1;
    int quitWrite_ = -1;
    bool acquired_ = false;
};

TEST(FileInstanceLock, ASecondProcessIsRefusedUntilTheFirstEnds) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("Zenpad_Ruvek_Application.lock").toStdString();
    LockHolder first(path);
    ASSERT_TRUE(first.acquired());

    FileInstanceLock second(path);
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.acquire());

    first.end();
    EXPECT_TRUE(second.acquire());
    LockHolder third(path);
    EXPECT_FALSE(third.acquired());
}

TEST(FileInstanceLock, LivesInTheRuntimeFolderOrPerUserInTmp) {
    EXPECT_EQ(InstanceLockPath("N", "/run/user/1000", 1000), "/run/user/1000/N.lock");
    EXPECT_EQ(InstanceLockPath("N", nullptr, 1000), "/tmp/N-1000.lock");
    EXPECT_EQ(InstanceLockPath("N", "", 7), "/tmp/N-7.lock");
    EXPECT_EQ(InstanceLockPath("N", "relative", 7), "/tmp/N-7.lock");
}

}  // namespace
