#include "platform/file_system.h"

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_path.h"

#include <windows.h>

#include <memory>

namespace {

struct FindCloser {
    void operator()(HANDLE search) const {
        if (search != INVALID_HANDLE_VALUE) {
            FindClose(search);
        }
    }
};
using FindHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, FindCloser>;

FileContent failure(DWORD error) {
    FileContent content;
    content.outcome = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                          ? FileContent::Outcome::Missing
                          : FileContent::Outcome::Failed;
    content.error = "Windows error " + std::to_string(error);
    return content;
}

bool endsInSeparator(std::wstring_view path) {
    return !path.empty() && (path.back() == L'\\' || path.back() == L'/');
}

}  // namespace

FileContent ReadWholeFile(const std::string& path) {
    // A folder does not open without FILE_FLAG_BACKUP_SEMANTICS: it fails as access denied.
    const KernelHandle file(CreateFileW(WidePath(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return failure(GetLastError());
    }
    FileContent content;
    char buffer[65536];
    for (;;) {
        DWORD count = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &count, nullptr)) {
            FileContent failed = failure(GetLastError());
            failed.outcome = FileContent::Outcome::Failed;
            return failed;
        }
        if (count == 0) {
            content.outcome = FileContent::Outcome::Read;
            return content;
        }
        content.bytes.append(buffer, count);
    }
}

std::optional<std::vector<std::string>> EntryNamesIn(const std::string& folder) {
    std::wstring pattern = WidePath(folder.empty() ? "." : folder);
    if (!endsInSeparator(pattern)) {
        pattern += L'\\';
    }
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    const FindHandle search(
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (search.get() == INVALID_HANDLE_VALUE) {
        // Only the root of a drive lists nothing at all; any other failure is a folder that cannot be opened.
        return GetLastError() == ERROR_FILE_NOT_FOUND ? std::optional(std::vector<std::string>{})
                                                      : std::nullopt;
    }
    std::vector<std::string> names;
    do {
        const std::wstring_view name(found.cFileName);
        if (name != L"." && name != L"..") {
            names.push_back(Utf8Path(name));
        }
    } while (FindNextFileW(search.get(), &found));
    return names;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(WidePath(path).c_str()) != FALSE;
}

LetterCase FileNameLetterCase() {
    return LetterCase::Ignored;
}

std::string ExecutableFolder() {
    // Paths longer than MAX_PATH exist; the buffer grows until the whole path fits (at most 32767 units).
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return ".\\";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        if (path.size() > 32768) {
            return ".\\";
        }
        path.resize(path.size() * 2);
    }
    const auto separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? ".\\"
                                           : Utf8Path(std::wstring_view(path).substr(0, separator + 1));
}
