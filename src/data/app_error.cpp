#include "data/app_error.h"

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

AppError cannotCreateFile(const std::string& sjisPath) {
    return AppError(formatMessage("ファイル %s を作成できません", sjisPath));
}
AppError cannotOpenFile(const std::string& sjisPath) {
    return AppError(formatMessage("ファイル %s は開けません", sjisPath));
}
AppError cannotWriteTo(const std::string& sjisPath) {
    return AppError(formatMessage("%s に書き込めません", sjisPath));
}
AppError indexOutOfRange(int index) {
    return AppError(formatMessage("リストのインデックスが範囲を超えています (%d)", std::to_string(index)));
}
AppError cannotOpenClipboard() {
    return AppError(sjis::fromUtf8("クリップボードを開くことができません"));
}
