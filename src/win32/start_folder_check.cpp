#include "win32/start_folder_check.h"

#include "data/sjis.h"

#include <windows.h>

namespace {

std::wstring withSeparator(std::wstring path) {
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    return path;
}

// The long form of a path: the temporary folder is often given in its short 8.3 form.
std::wstring longForm(const std::wstring& path) {
    const DWORD size = GetLongPathNameW(path.c_str(), nullptr, 0);
    if (size == 0) {
        return path;
    }
    std::wstring result(size, L'\0');
    const DWORD length = GetLongPathNameW(path.c_str(), result.data(), size);
    result.resize(length < size ? length : 0);
    return result.empty() ? path : result;
}

bool isInsideTemporaryFolder(const std::wstring& folder) {
    std::wstring temporary(MAX_PATH + 1, L'\0');
    temporary.resize(GetTempPathW(static_cast<DWORD>(temporary.size()), temporary.data()));
    if (temporary.empty()) {
        return false;
    }
    const std::wstring base = withSeparator(longForm(temporary));
    const std::wstring path = withSeparator(longForm(folder));
    return path.size() >= base.size() &&
           CompareStringOrdinal(path.c_str(), static_cast<int>(base.size()), base.c_str(),
                                static_cast<int>(base.size()), TRUE) == CSTR_EQUAL;
}

enum class WriteCheck { Writable, PathTooLong, NotWritable };

// Creates a file there, about as long a name as a save's temporary file, and lets the system delete it at
// once on close.
WriteCheck checkWritingInto(const std::wstring& folder) {
    const std::wstring probe =
        withSeparator(folder) + L"zenporo-write-check-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    const HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return WriteCheck::Writable;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_EXISTS) {
        return WriteCheck::Writable;
    }
    // Unless long paths are switched on in Windows, a path of MAX_PATH characters or more does not open.
    return probe.size() >= MAX_PATH || error == ERROR_FILENAME_EXCED_RANGE ? WriteCheck::PathTooLong
                                                                           : WriteCheck::NotWritable;
}

}  // namespace

std::optional<std::string> StartFolderWarning(const std::wstring& folder) {
    if (isInsideTemporaryFolder(folder)) {
        return sjis::fromUtf8(
            "ZIP ファイルの中から起動されています。ここに保存したファイルは後で消えます。"
            "ZIP ファイルを展開してから起動してください。");
    }
    switch (checkWritingInto(folder)) {
        case WriteCheck::Writable:
            return std::nullopt;
        case WriteCheck::PathTooLong:
            return sjis::fromUtf8(
                "このフォルダーはパスが長すぎるため、ファイルを保存できません。ユーザーファイルと設定を"
                "保存するには、Zenporo のフォルダーをドライブの直下など、パスの短い場所へ移してください。");
        case WriteCheck::NotWritable:
            break;
    }
    return sjis::fromUtf8(
        "このフォルダーには書き込めません。ユーザーファイルと設定を保存するには、"
        "Zenporo のフォルダーを書き込める場所へ移してください。");
}
