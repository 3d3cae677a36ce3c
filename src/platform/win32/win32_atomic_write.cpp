// ReplaceFileAtomically for Windows. On Windows the path is UTF-8 (the file system's own names are UTF-16,
// and UTF-8 holds every one of them); it is widened here and every call takes the wide form.
#include "data/atomic_write.h"

#include "platform/win32/win32_handle.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>

namespace {

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

std::wstring folderOf(const std::wstring& path) {
    const auto separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring(L".") : path.substr(0, separator + 1);
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

// A new, empty file beside the target with a name nobody uses; nothing when the folder is not writable.
std::optional<std::wstring> createTemporaryBeside(const std::wstring& target) {
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempFileNameW(folderOf(target).c_str(), L"zp", 0, name) == 0) {
        return std::nullopt;
    }
    return std::wstring(name);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    const std::wstring target = widenUtf8(path);
    if (target.empty()) {
        return false;
    }
    const std::optional<std::wstring> temporary = createTemporaryBeside(target);
    if (!temporary) {
        return false;
    }
    bool written = false;
    {
        const KernelHandle file(CreateFileW(temporary->c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        written = file.get() != INVALID_HANDLE_VALUE && writeAll(file.get(), bytes) &&
                  FlushFileBuffers(file.get());
    }
    if (!written ||
        !MoveFileExW(temporary->c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary->c_str());
        return false;
    }
    return true;
}
