#include "data/user_file.h"

#include "data/app_error.h"
#include "data/atomic_write.h"
#include "data/file_names.h"
#include "platform/file_system.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::string_view kExtension = ".zpd";
// The bytes the reader takes for the end of a line (CR, LF) or of the whole file (NUL).
constexpr std::string_view kLineEnds("\r\n\0", 3);

}  // namespace

std::string UserFileFolderFor(const std::string& programFolder, bool programFolderWritable,
                              const std::string& homeFolder) {
    // Where package managers put programs: a user's files never belong there, even for root, who can write
    // them.
    constexpr std::string_view kInstalledProgramFolders[] = {"/usr/", "/bin/", "/sbin/", "/opt/"};
    const bool installed = std::ranges::any_of(
        kInstalledProgramFolders, [&](std::string_view prefix) { return programFolder.starts_with(prefix); });
    if ((programFolderWritable && !installed) || homeFolder.empty()) {
        return programFolder;
    }
    return homeFolder + "Zenporo/";
}

std::string UserFileFolder() {
#ifdef _WIN32
    // The Windows program runs from the folder its zip was unpacked into.
    return ExecutableFolder();
#else
    const std::string programFolder = ExecutableFolder();
    const std::string folder = UserFileFolderFor(programFolder, CanWriteFolder(programFolder), HomeFolder());
    if (folder != programFolder) {
        // A folder that cannot be made shows up as the error of the first file written there.
        EnsureFolder(folder);
    }
    return folder;
#endif
}

std::string UserFilePath(const std::string& folder, const std::string& name) {
    return folder + FileSystemName(name) + std::string(kExtension);
}

std::string DisplayName(const std::string& path) {
    const auto slash = path.find_last_of(kPathSeparators);
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
        // A line end inside a field would split it and move every later field, and a NUL would end the file
        // for the reader; only those bytes are left out (no Shift-JIS character holds one).
        std::ranges::copy_if(line, std::back_inserter(bytes),
                             [](char byte) { return kLineEnds.find(byte) == std::string_view::npos; });
        bytes += "\r\n";
    }
    return bytes;
}

UserRecord ReadUserFile(const std::string& path) {
    const FileContent content = ReadWholeFile(path);
    if (content.outcome != FileContent::Outcome::Read) {
        throw cannotOpenFile(path);
    }
    return ParseUserFileBytes(content.bytes);
}

void WriteUserFile(const std::string& path, const UserRecord& record) {
    if (path.empty() || !ReplaceFileAtomically(path, UserFileBytes(record))) {
        throw cannotCreateFile(path);
    }
}

bool IsUserFileEntry(std::string_view entryName, LetterCase letterCase) {
    if (entryName.size() < kExtension.size()) {
        return false;
    }
    const std::string_view extension = entryName.substr(entryName.size() - kExtension.size());
    if (letterCase == LetterCase::Significant) {
        return extension == kExtension;
    }
    // The extension is ASCII, and a UTF-8 name's last bytes are ASCII only where its last characters are.
    return std::equal(extension.begin(), extension.end(), kExtension.begin(), [](char found, char wanted) {
        return (found >= 'A' && found <= 'Z' ? static_cast<char>(found - 'A' + 'a') : found) == wanted;
    });
}

std::vector<std::string> UserFileNamesIn(const std::string& folder, Log* log) {
    std::vector<std::string> names;
    for (const std::string& entryName : EntryNamesIn(folder).value_or(std::vector<std::string>{})) {
        const std::string_view entry(entryName);
        if (!IsUserFileEntry(entry, FileNameLetterCase())) {
            continue;
        }
        // A name Shift-JIS cannot hold could not be shown or typed, and its path not be rebuilt from it.
        if (auto name = ShiftJisName(entry.substr(0, entry.size() - kExtension.size()))) {
            names.push_back(std::move(*name));
        } else if (log != nullptr) {
            log->write(LogCategory::Files, "left out, Shift-JIS cannot hold its name: " + entryName);
        }
    }
    return names;
}

UserFileSearch FindUserFiles(const std::string& folder, Log* log) {
    const std::vector<std::string> names = UserFileNamesIn(folder, log);
    UserFileSearch result;
    result.count = static_cast<int>(names.size());
    if (!names.empty()) {
        result.firstPath = UserFilePath(folder, names.front());
    }
    return result;
}
