#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

FileContent failure(int error) {
    FileContent content;
    content.outcome =
        error == ENOENT || error == ENOTDIR ? FileContent::Outcome::Missing : FileContent::Outcome::Failed;
    content.error = std::strerror(error);
    return content;
}

}  // namespace

FileContent ReadWholeFile(const std::string& path) {
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        return failure(errno);
    }
    FileContent content;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count == 0) {
            content.outcome = FileContent::Outcome::Read;
            return content;
        }
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            // A folder opens but fails here (EISDIR): it exists, so it is no missing file.
            FileContent failed;
            failed.error = std::strerror(errno);
            return failed;
        }
        content.bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

std::optional<std::vector<std::string>> EntryNamesIn(const std::string& folder) {
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    return names;
}

bool FileExists(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

LetterCase FileNameLetterCase() {
    return LetterCase::Significant;
}

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return "./";
    }
    std::string folder = executable.parent_path().native();
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string HomeFolder() {
    std::string home;
    if (const char* variable = std::getenv("HOME"); variable != nullptr && *variable != '\0') {
        home = variable;
    } else if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        home = entry->pw_dir;
    }
    if (!home.empty() && home.back() != '/') {
        home += '/';
    }
    return home;
}

bool CanWriteFolder(const std::string& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool EnsureFolder(const std::string& folder) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        return true;
    }
    struct stat status {};
    return errno == EEXIST && ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}
