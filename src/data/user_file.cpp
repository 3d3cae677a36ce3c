#include "data/user_file.h"

#include "data/app_error.h"
#include "data/atomic_write.h"
#include "data/sjis.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <dirent.h>
#include <memory>

namespace {

constexpr std::string_view kExtension = ".zpd";

// The file system's name for a Shift-JIS path.
QByteArray fileSystemName(const std::string& sjisPath) {
    return QFile::encodeName(sjis::toUnicode(sjisPath));
}

std::string fromFileSystemName(const char* name) {
    return sjis::fromUnicode(QFile::decodeName(name));
}

std::string withTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

}  // namespace

std::string UserFileFolder() {
    if (QCoreApplication::instance() != nullptr) {
        return withTrailingSlash(sjis::fromUnicode(QCoreApplication::applicationDirPath()));
    }
    const QString executable = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return withTrailingSlash(sjis::fromUnicode(QFileInfo(executable).absolutePath()));
}

std::string UserFilePath(const std::string& folder, const std::string& name) {
    return folder + name + std::string(kExtension);
}

std::string DisplayName(const std::string& path) {
    // Neither "/" nor "." can be the second byte of a Shift-JIS character, so byte searches are safe.
    const auto slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
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
    QFile file(sjis::toUnicode(path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw cannotOpenFile(path);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw cannotOpenFile(path);
    }
    return ParseUserFileBytes(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

void WriteUserFile(const std::string& path, const UserRecord& record) {
    if (path.empty() || !ReplaceFileAtomically(fileSystemName(path).toStdString(), UserFileBytes(record))) {
        throw cannotCreateFile(path);
    }
}

UserFileSearch FindUserFiles(const std::string& folder) {
    UserFileSearch result;
    const QByteArray folderName = fileSystemName(folder.empty() ? std::string(".") : folder);
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folderName.constData()));
    if (!dir) {
        return result;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = fromFileSystemName(entry->d_name);
        if (!endsWith(name, kExtension)) {
            continue;
        }
        if (result.count == 0) {
            result.firstPath = folder + name;
        }
        ++result.count;
    }
    return result;
}
