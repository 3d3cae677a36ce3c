#include "platform/posix/file_instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>

FileInstanceLock::FileInstanceLock(std::string path) : path_(std::move(path)) {}

FileInstanceLock::~FileInstanceLock() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileInstanceLock::acquire() {
    if (fd_ >= 0) {
        return true;
    }
    // Close-on-exec, so that a program started from here (a browser, a mail client) never inherits the lock.
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return true;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_uid != ::getuid()) {
        ::close(fd);
        return true;
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool heldElsewhere = errno == EWOULDBLOCK;
        ::close(fd);
        return !heldElsewhere;
    }
    fd_ = fd;
    return true;
}

std::string InstanceLockPath(const std::string& name, const char* runtimeFolder, uid_t user) {
    if (runtimeFolder != nullptr && runtimeFolder[0] == '/') {
        return std::string(runtimeFolder) + "/" + name + ".lock";
    }
    return "/tmp/" + name + "-" + std::to_string(user) + ".lock";
}

std::string DefaultInstanceLockPath(const std::string& name) {
    return InstanceLockPath(name, std::getenv("XDG_RUNTIME_DIR"), ::getuid());
}
