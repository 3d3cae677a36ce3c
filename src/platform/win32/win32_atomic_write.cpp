// ReplaceFileAtomically for Windows. On Windows the path is UTF-8 (the file system's own names are UTF-16,
// and UTF-8 holds every one of them); it is widened here and every call takes the wide form. "Readable by
// its owner only" is a protected access list that names the current user, SYSTEM and the Administrators
// alone; a replaced file's access list is copied to its successor. On file systems without access lists
// (FAT on a USB stick) both are ignored.
#include "data/atomic_write.h"

#include "platform/win32/win32_file_security.h"
#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_path.h"
#include "platform/win32/win32_retry.h"

#include <windows.h>

#include <aclapi.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace {

// The temporary file is the folder's ".zenporo-save-" and six letters or digits, as on Linux, so that
// RemoveLeftoverTemporaries finds exactly what a write cut short left behind.
constexpr std::wstring_view kTemporaryPrefix = L".zenporo-save-";
constexpr std::size_t kTemporarySuffixLength = 6;
// How many random names to try before giving up; a clash is already unlikely at the first.
constexpr int kTemporaryNameAttempts = 100;
// Another program (a virus scanner, the search indexer, a cloud-sync client) may hold the file for a moment
// after each change. The replace is tried again for about a second, first after 10 ms, then after twice the
// wait each time up to 250 ms, so a short hold costs little and a long one is not waited out for ever.
constexpr RetryTiming kReplaceRetry{10, 250, 1000};

std::wstring randomSuffix(std::mt19937& random) {
    constexpr std::wstring_view kCharacters =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<std::size_t> pick(0, kCharacters.size() - 1);
    std::wstring suffix;
    for (std::size_t i = 0; i < kTemporarySuffixLength; ++i) {
        suffix += kCharacters[pick(random)];
    }
    return suffix;
}

bool isOurTemporary(std::wstring_view name) {
    return name.size() == kTemporaryPrefix.size() + kTemporarySuffixLength &&
           name.starts_with(kTemporaryPrefix) &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(kTemporaryPrefix.size()), name.end(),
                       [](wchar_t c) { return c < 0x80 && std::isalnum(static_cast<int>(c)) != 0; });
}

std::wstring folderOf(const std::wstring& path) {
    const auto separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

std::wstring widenUtf8(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length = static_cast<int>(utf8.size());
    const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), length, wide.data(), size);
    return wide;
}

// The file a write lands on: the target of a symbolic link, else path itself.
std::wstring resolvedTarget(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    const KernelHandle file(CreateFileW(path.c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        return path;
    }
    std::wstring final(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length + 1);
        length = GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()), 0);
    }
    if (length == 0 || length >= final.size()) {
        return path;
    }
    final.resize(length);
    return final;
}

// The access list of the file being replaced, so the new file keeps it; nothing for a new file.
OwnedDescriptor descriptorOf(const std::wstring& target) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(target.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return nullptr;
    }
    return OwnedDescriptor(descriptor);
}

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// A read-only file or a folder where the file would go stays so: the save fails at once, without retries.
bool cannotBeReplaced(const std::wstring& target) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// The errors of a file that another program holds open for the moment.
bool heldByAnotherProgram(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

// Renames the temporary file over the target, waiting out another program's short hold on the target.
bool moveOver(const std::wstring& temporary, const std::wstring& target) {
    return RetryWhileHeld(
        kReplaceRetry,
        [&] {
            return MoveFileExW(temporary.c_str(), target.c_str(),
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        },
        [] { return heldByAnotherProgram(GetLastError()); });
}

struct TemporaryFile {
    std::wstring path;
    KernelHandle handle;
};

// A new file beside the target, with the access the target has (a new target: PersonalFileSecurity).
std::optional<TemporaryFile> createTemporaryBeside(const std::wstring& target) {
    const bool replacing = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    const OwnedDescriptor descriptor = replacing ? descriptorOf(target) : PersonalFileSecurity();
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), descriptor.get(), FALSE};
    const std::wstring stem = folderOf(target) + std::wstring(kTemporaryPrefix);
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        std::wstring path = stem + randomSuffix(random);
        KernelHandle handle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, descriptor ? &security : nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (handle.get() != INVALID_HANDLE_VALUE) {
            return TemporaryFile{std::move(path), std::move(handle)};
        }
        if (GetLastError() != ERROR_FILE_EXISTS) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    const std::wstring wide = widenUtf8(path);
    if (wide.empty()) {
        return false;
    }
    const std::wstring target = resolvedTarget(wide);
    if (cannotBeReplaced(target)) {
        return false;
    }
    std::optional<TemporaryFile> temporary = createTemporaryBeside(target);
    if (!temporary) {
        return false;
    }
    const bool written =
        writeAll(temporary->handle.get(), bytes) && FlushFileBuffers(temporary->handle.get());
    temporary->handle.reset();
    if (!written || !moveOver(temporary->path, target)) {
        DeleteFileW(temporary->path.c_str());
        return false;
    }
    return true;
}

int RemoveLeftoverTemporaries(const std::string& folder, Log* log) {
    const std::wstring wide = widenUtf8(folder);
    const std::wstring prefix =
        wide.empty() || wide.back() == L'\\' || wide.back() == L'/' ? wide : wide + L"\\";
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((prefix + std::wstring(kTemporaryPrefix) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int removed = 0;
    do {
        const bool regularFile =
            (found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0;
        const std::wstring path = prefix + found.cFileName;
        if (regularFile && isOurTemporary(found.cFileName) && DeleteFileW(path.c_str())) {
            if (log != nullptr) {
                log->write(LogCategory::Files,
                           "removed the temporary file of a save cut short: " + Utf8Path(path));
            }
            ++removed;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return removed;
}
