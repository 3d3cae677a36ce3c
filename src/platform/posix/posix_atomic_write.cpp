#include "data/atomic_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

namespace {

// mkostemp replaces the six X with letters and digits; no file of the user's is named like this.
constexpr std::string_view kTemporaryPrefix = ".zenporo-save-";
constexpr std::size_t kTemporarySuffixLength = 6;

bool isOurTemporary(std::string_view name) {
    if (name.size() != kTemporaryPrefix.size() + kTemporarySuffixLength ||
        !name.starts_with(kTemporaryPrefix)) {
        return false;
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(kTemporaryPrefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// The file a write lands on: the target of a symbolic link, else path itself.
std::string resolvedTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Keeps the permissions of the file being replaced; mkostemp has already made a new one 0600.
bool copyPermissions(int fd, const std::string& target) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return true;
    }
    return ::fchmod(fd, info.st_mode & 07777) == 0;
}

std::string folderOf(const std::string& target) {
    const auto slash = target.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
}

void syncFolderOf(const std::string& target) {
    const std::string folder = folderOf(target);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    const std::string target = resolvedTarget(path);
    std::string temporary = folderOf(target) + "/" + std::string(kTemporaryPrefix) + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool written = copyPermissions(fd, target) && writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolderOf(target);
    return true;
}

int RemoveLeftoverTemporaries(const std::string& folder, Log* log) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    int removed = 0;
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::directory_entry& entry = *entries;
        std::error_code ignored;
        if (isOurTemporary(entry.path().filename().native()) && entry.is_regular_file(ignored) &&
            std::filesystem::remove(entry.path(), ignored)) {
            if (log != nullptr) {
                log->write(LogCategory::Files,
                           "removed the temporary file of a save cut short: " + entry.path().native());
            }
            ++removed;
        }
    }
    return removed;
}
