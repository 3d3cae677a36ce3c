#include "toolbar/current_user.h"

#include "data/age_check.h"
#include "data/app_error.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "platform/dialogs.h"

std::string CaptionForUserFile(const std::string& path) {
    return DisplayName(path) + sjis::fromUtf8(" - Zenporo！");
}

namespace {

DialogRequest ageQuestion(const std::string& stored, const std::string& computed) {
    const std::string text = sjis::fromUtf8("登録されている年齢に誤りがあります。\n\r") + stored +
                             sjis::fromUtf8("歳　→　") + computed + sjis::fromUtf8("歳\n\r修正しますか？");
    return {text,
            sjis::fromUtf8("情報"),
            DialogIcon::Information,
            {dialog_buttons::yes(), dialog_buttons::no()},
            DialogAnswer::Yes,
            DialogAnswer::No};
}

}  // namespace

void ConfirmStoredAge(UserRecord& record, const std::string& path, Dialogs& dialogs,
                      const CalendarDate& today) {
    const std::optional<std::string> computed = StoredAgeCorrection(record, today);
    if (!computed || dialogs.ask(ageQuestion(record[Age], *computed)) != DialogAnswer::Yes) {
        return;
    }
    record[Age] = *computed;
    try {
        WriteUserFile(path, record);
    } catch (const AppError&) {
        // The corrected age stays in memory; the file keeps the old one until the user saves.
    }
}

bool CurrentUser::makeCurrent(const std::string& path) {
    if (!switchTo(path)) {
        return false;
    }
    path_ = path;
    load(path);
    return true;
}

void CurrentUser::clearRecord() {
    record_.clear();
    // No user any more, so the caption falls back to the program's name.
    hooks_.setCaption(sjis::fromUtf8("Zenporo！"));
}

bool CurrentUser::switchTo(const std::string& path) {
    if (path_.empty()) {
        hooks_.setCaption(CaptionForUserFile(path));
        return true;
    }
    if (path_ == path) {
        return true;
    }
    const DialogRequest question = exclamationQuestion(sjis::fromUtf8("このユーザーファイルに切替えますか？"),
                                                       sjis::fromUtf8("ユーザー変更"));
    if (dialogs_.ask(question) != DialogAnswer::Yes) {
        return false;
    }
    hooks_.setCaption(CaptionForUserFile(path));
    // The record is still the previous file's here; the face follows it until the next refresh.
    hooks_.updateNameFace();
    return true;
}

void CurrentUser::load(const std::string& path) {
    UserRecord lines;
    try {
        lines = ReadUserFile(path);
    } catch (const AppError&) {
        dialogs_.ask(plainNotice(sjis::fromUtf8("ファイルを読み込めません。"), hooks_.applicationTitle(),
                                 DialogIcon::None));
        return;
    }
    ConfirmStoredAge(lines, path, dialogs_, hooks_.today());
    record_ = std::move(lines);
    hooks_.updateHints();
}
