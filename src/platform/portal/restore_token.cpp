#include "platform/portal/restore_token.h"

#include "data/atomic_write.h"
#include "platform/file_system.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

std::string DefaultRestoreTokenPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::filesystem::path folder;
    if (state != nullptr && std::filesystem::path(state).is_absolute()) {
        folder = state;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::filesystem::path(home != nullptr ? home : "") / ".local" / "state";
    }
    return (folder / "zenporo" / "remote-desktop-token").string();
}

std::string ReadRestoreToken(const std::string& path) {
    const FileContent content = ReadWholeFile(path);
    return content.outcome == FileContent::Outcome::Read ? content.bytes : std::string();
}

bool StoreRestoreToken(const std::string& path, const std::string& token) {
    if (token.empty()) {
        return !FileExists(path) || RemoveFile(path);
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::filesystem::create_directories(folder, error);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    return ReplaceFileAtomically(path, token);
}
