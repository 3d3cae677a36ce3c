#include "data/user_file.h"

#include "data/app_error.h"
#include "data/atomic_write.h"
#include "data/file_log.h"
#include "data/file_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>

namespace {

constexpr std::string_view kExtension = ".zpd";

std::string withTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    ~ReadOnlyFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    // The whole content; nothing when the file is not open or a read fails (a folder fails here).
    std::optional<std::string> readAll() const {
        if (fd_ < 0) {
            return std::nullopt;
        }
        std::string bytes;
        char buffer[65536];
        for (;;) {
            const ssize_t count = ::read(fd_, buffer, sizeof buffer);
            if (count == 0) {
                return bytes;
            }
            if (count < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return std::nullopt;
            }
            bytes.append(buffer, static_cast<std::size_t>(count));
        }
    }

  private:
    int fd_;
};

}  // namespace

std::string UserFileFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return "./";
    }
    return withTrailingSlash(executable.parent_path().native());
}

std::string UserFilePath(const std::string& folder, const std::string& name) {
    return folder + FileSystemName(name) + std::string(kExtension);
}

std::string DisplayName(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return ShiftJisName(name).value_or(PathForDisplay(name));
}

UserRecord ParseUserFileBytes(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    UserRecord lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        start = end + (crLf ? 2 : 1);
    }
    return lines;
}

std::string UserFileBytes(const UserRecord& record) {
    std::string bytes;
    for (const auto& line : record) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

UserRecord ReadUserFile(const std::string& path) {
    const std::optional<std::string> bytes = ReadOnlyFile(path).readAll();
    if (!bytes) {
        throw cannotOpenFile(path);
    }
    return ParseUserFileBytes(*bytes);
}

void WriteUserFile(const std::string& path, const UserRecord& record) {
    if (path.empty() || !ReplaceFileAtomically(path, UserFileBytes(record))) {
        throw cannotCreateFile(path);
    }
}

std::vector<std::string> UserFileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string_view entryName(entry->d_name);
        if (!entryName.ends_with(kExtension)) {
            continue;
        }
        // A name Shift-JIS cannot hold could not be shown or typed, and its path not be rebuilt from it.
        if (auto name = ShiftJisName(entryName.substr(0, entryName.size() - kExtension.size()))) {
            names.push_back(std::move(*name));
        } else {
            qCDebug(lcFiles) << "left out, Shift-JIS cannot hold its name:" << entry->d_name;
        }
    }
    return names;
}

UserFileSearch FindUserFiles(const std::string& folder) {
    const std::vector<std::string> names = UserFileNamesIn(folder);
    UserFileSearch result;
    result.count = static_cast<int>(names.size());
    if (!names.empty()) {
        result.firstPath = UserFilePath(folder, names.front());
    }
    return result;
}
