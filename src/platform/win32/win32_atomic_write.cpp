// ReplaceFileAtomically for Windows. On Windows the path is UTF-8 (the file system's own names are UTF-16,
// and UTF-8 holds every one of them); it is widened here and every call takes the wide form. "Readable by
// its owner only" is a protected access list that names the current user, SYSTEM and the Administrators
// alone, given on fixed disks only (NewFileSecurity); a replaced file is replaced with ReplaceFileW, which
// keeps its access list, owner, attributes, encryption, compression and alternate streams. On file systems
// without access lists (FAT on a USB stick) the lists are ignored.
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
// While ReplaceFileW runs, the replaced file is kept as ".zenporo-kept-" and its own name, so that a save cut
// short between its two renames leaves the old file where the next start finds it and puts it back.
constexpr std::wstring_view kKeptPrefix = L".zenporo-kept-";
// The longest name a file system of Windows takes for one file, in UTF-16 units.
constexpr std::size_t kLongestName = 255;
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

std::wstring nameOf(const std::wstring& path) {
    return path.substr(folderOf(path).size());
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

// The access list of the file being replaced, so that the temporary file holds no more than it does.
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

bool renameOver(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// Puts the temporary file in the target's place with ReplaceFileW, the replaced file kept aside until the
// replacement has its name. Each documented failure leaves the old file under the target's name.
class Replacement {
  public:
    Replacement(const std::wstring& temporary, const std::wstring& target)
        : temporary_(temporary),
          target_(target),
          kept_(folderOf(target) + std::wstring(kKeptPrefix) + nameOf(target)) {}

    bool attempt() {
        // A name too long to be kept aside: renamed over, as on a file system without ReplaceFileW.
        if (nameOf(kept_).size() > kLongestName || renameInstead_) {
            return renameOver(temporary_, target_);
        }
        if (ReplaceFileW(target_.c_str(), temporary_.c_str(), kept_.c_str(), 0, nullptr, nullptr)) {
            DeleteFileW(kept_.c_str());
            return true;
        }
        error_ = GetLastError();
        switch (error_) {
            case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
                // The old file went aside, the new one did not follow: the old one comes back.
                restored_ = renameOver(kept_, target_);
                return false;
            case ERROR_INVALID_FUNCTION:
            case ERROR_NOT_SUPPORTED:
            case ERROR_INVALID_PARAMETER:
                // A file system that cannot replace (some network and cloud drives); nothing was moved.
                renameInstead_ = true;
                return renameOver(temporary_, target_);
            default:
                // ERROR_UNABLE_TO_MOVE_REPLACEMENT, ERROR_UNABLE_TO_REMOVE_REPLACED and the rest: every
                // file kept its name.
                return false;
        }
    }

    // Another program's hold passes by waiting; after a failed restore nothing more is tried.
    bool worthRetrying() const {
        if (error_ == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
            return restored_;
        }
        return heldByAnotherProgram(error_) || error_ == ERROR_UNABLE_TO_REMOVE_REPLACED ||
               error_ == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
    }

  private:
    const std::wstring& temporary_;
    const std::wstring& target_;
    const std::wstring kept_;
    DWORD error_ = ERROR_SUCCESS;
    bool restored_ = false;
    bool renameInstead_ = false;
};

// Puts the temporary file in the target's place, waiting out another program's short hold on the target.
bool moveOver(const std::wstring& temporary, const std::wstring& target) {
    if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return RetryWhileHeld(
            kReplaceRetry, [&] { return renameOver(temporary, target); },
            [] { return heldByAnotherProgram(GetLastError()); });
    }
    Replacement replacement(temporary, target);
    return RetryWhileHeld(
        kReplaceRetry, [&] { return replacement.attempt(); }, [&] { return replacement.worthRetrying(); });
}

struct TemporaryFile {
    std::wstring path;
    KernelHandle handle;
};

// A new file beside the target, with the access the target has; for a new target, the access a new file gets
// in that folder. A replaced file whose list cannot be read gives the temporary file the personal list,
// never the folder's, which may be wider.
std::optional<TemporaryFile> createTemporaryBeside(const std::wstring& target) {
    const bool replacing = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    OwnedDescriptor descriptor = replacing ? descriptorOf(target) : NewFileSecurity(folderOf(target));
    if (replacing && !descriptor) {
        descriptor = PersonalFileSecurity();
    }
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

namespace {

// Calls visit with the name of each file (not folder, not link) of the folder (with its separator) that
// begins with the prefix.
template <typename Visit>
void forEachFileStartingWith(const std::wstring& folder, std::wstring_view prefix, Visit visit) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + std::wstring(prefix) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0) {
            visit(std::wstring(found.cFileName));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

int RemoveLeftoverTemporaries(const std::string& folder, Log* log) {
    const std::wstring wide = widenUtf8(folder);
    const std::wstring prefix =
        wide.empty() || wide.back() == L'\\' || wide.back() == L'/' ? wide : wide + L"\\";
    const auto note = [log](const std::string& line) {
        if (log != nullptr) {
            log->write(LogCategory::Files, line);
        }
    };
    int removed = 0;
    forEachFileStartingWith(prefix, kTemporaryPrefix, [&](const std::wstring& name) {
        if (isOurTemporary(name) && DeleteFileW((prefix + name).c_str())) {
            note("removed the temporary file of a save cut short: " + Utf8Path(prefix + name));
            ++removed;
        }
    });
    // A file kept aside by a save cut short: its own name back when that is free, else it is a left copy.
    forEachFileStartingWith(prefix, kKeptPrefix, [&](const std::wstring& name) {
        if (name.size() == kKeptPrefix.size()) {
            return;
        }
        const std::wstring kept = prefix + name;
        const std::wstring target = prefix + name.substr(kKeptPrefix.size());
        if (GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
            if (MoveFileExW(kept.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
                note("put back the file a save cut short had kept aside: " + Utf8Path(target));
            }
        } else if (DeleteFileW(kept.c_str())) {
            note("removed the copy a save cut short had kept aside: " + Utf8Path(kept));
            ++removed;
        }
    });
    return removed;
}
