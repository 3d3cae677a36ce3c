#include "data/app_error.h"

#include "data/file_names.h"
#include "data/sjis.h"

std::string formatMessage(std::string_view utf8Pattern, std::string_view sjisArgument) {
    std::string pattern = sjis::fromUtf8(utf8Pattern);
    for (const char* placeholder : {"%s", "%d"}) {
        const auto at = pattern.find(placeholder);
        if (at != std::string::npos) {
            return pattern.replace(at, 2, sjisArgument);
        }
    }
    return pattern;
}

AppError cannotCreateFile(const std::string& path) {
    return AppError(formatMessage("ファイル %s を作成できません", PathForDisplay(path)));
}
AppError cannotOpenFile(const std::string& path) {
    return AppError(formatMessage("ファイル %s は開けません", PathForDisplay(path)));
}
AppError cannotWriteTo(const std::string& path) {
    return AppError(formatMessage("%s に書き込めません", PathForDisplay(path)));
}
AppError indexOutOfRange(int index) {
    return AppError(formatMessage("リストのインデックスが範囲を超えています (%d)", std::to_string(index)));
}
AppError cannotOpenClipboard() {
    return AppError(sjis::fromUtf8("クリップボードを開くことができません"));
}
