#include "platform/posix/file_instance_lock.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Another process that tries the lock; when it gets it, it holds it until it is killed.
pid_t startHolder(const std::string& path, bool& acquired) {
    int answer[2];
    if (::pipe(answer) != 0) {
        return -1;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlive a test that stopped early
        FileInstanceLock lock(path);
        const char got = lock.acquire() ? '1' : '0';
        (void)!::write(answer[1], &got, 1);
        while (got == '1') {
            ::pause();
        }
        ::_exit(0);
    }
    ::close(answer[1]);
    char got = '0';
    acquired = ::read(answer[0], &got, 1) == 1 && got == '1';
    ::close(answer[0]);
    return pid;
}

void killHolder(pid_t pid) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

TEST(FileInstanceLock, ASecondProcessIsRefusedUntilTheFirstEnds) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("Zenpad_Ruvek_Application.lock").toStdString();
    bool acquired = false;
    const pid_t first = startHolder(path, acquired);
    ASSERT_TRUE(first > 0 && acquired);

    FileInstanceLock second(path);
    EXPECT_FALSE(second.acquire());
    killHolder(first);
    EXPECT_TRUE(second.acquire());

    const pid_t third = startHolder(path, acquired);
    EXPECT_FALSE(acquired);
    killHolder(third);
}

}  // namespace
