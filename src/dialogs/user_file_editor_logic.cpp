#include "dialogs/user_file_editor_logic.h"

#include "data/app_error.h"
#include "data/sjis.h"
#include "data/sjis_case.h"
#include "data/user_file.h"
#include "dialogs/box_text.h"
#include "platform/dialogs.h"
#include "platform/error_report.h"
#include "platform/file_system.h"
#include "toolbar/current_user_host.h"

EditorContent ReadEditorContent(const std::string& path) {
    EditorContent content;
    if (path.empty()) {
        return content;
    }
    content.loadedFileName = DisplayName(path);
    UserRecord lines = ReadUserFile(path);
    lines.resize(kFieldCount);
    content.fields = std::move(lines);
    return content;
}

std::optional<std::string> AgeForBirthBoxes(const std::string& year, const std::string& month,
                                            const std::string& day, const CalendarDate& today) {
    if (year.empty() || month.empty() || day.empty()) {
        return std::nullopt;
    }
    std::string age = AgeFromBirthFields(year, month, day, today);
    if (age.empty()) {
        return std::nullopt;
    }
    return age;
}

void StoreUserFile(CurrentUserHost& user, const std::string& folder, const std::string& name,
                   const UserRecord& record) {
    const std::string path = UserFilePath(folder, name);
    // A "/" would put the file into another folder, or fail half-way; refuse it as a file that cannot be
    // created, before anything is written.
    if (name.find('/') != std::string::npos) {
        throw cannotCreateFile(path);
    }
    WriteUserFile(path, record);
    user.makeCurrent(path);
}

namespace {

const std::u16string& boxText(const EditorOkRequest& request, int box) {
    return request.boxes[static_cast<std::size_t>(box - 1)];
}

const std::optional<std::string>& keptBytes(const EditorOkRequest& request, int box) {
    return request.keptBytes[static_cast<std::size_t>(box - 1)];
}

std::string boxBytes(const EditorOkRequest& request, int box) {
    if (const auto& kept = keptBytes(request, box)) {
        return *kept;
    }
    return sjis::fromUnicode(boxText(request, box));
}

}  // namespace

UserRecord RecordFromBoxes(const EditorOkRequest& request) {
    UserRecord record;
    record.reserve(kFieldCount);
    for (int field = 0; field < kFieldCount; ++field) {
        record.push_back(boxBytes(request, field + 1));
    }
    return record;
}

namespace {

// The first box, in tab order, holding characters that Shift-JIS cannot store; 0 when there is none. A box
// the user left as it was loaded keeps its bytes and is not checked.
int firstUnstorableBox(const EditorOkRequest& request, std::string* names) {
    for (const EditorBoxPlace& place : EditorBoxesInTabOrder()) {
        if (keptBytes(request, place.box)) {
            continue;
        }
        *names = UnstorableCharacterNames(boxText(request, place.box));
        if (!names->empty()) {
            return place.box;
        }
    }
    return 0;
}

bool askSaveQuestion(Dialogs& dialogs, const char* utf8Text) {
    return dialogs.ask(exclamationQuestion(sjis::fromUtf8(utf8Text), sjis::fromUtf8("ファイルの保存"))) ==
           DialogAnswer::Yes;
}

}  // namespace

EditorOkOutcome EditorOk(const EditorOkRequest& request, CurrentUserHost& user, Dialogs& dialogs) {
    if (!request.anyModified) {
        return {true, 0};
    }
    if (boxText(request, kFileNameBox).empty()) {
        dialogs.ask(plainNotice(sjis::fromUtf8("ファイル名を入力して下さい。"), sjis::fromUtf8("入力"),
                                DialogIcon::Information));
        return {false, kFileNameBox};
    }
    std::string names;
    if (const int box = firstUnstorableBox(request, &names); box != 0) {
        const std::string text =
            sjis::fromUtf8("保存できない文字 ") + names + sjis::fromUtf8(" が入力されています。");
        dialogs.ask(plainNotice(text, sjis::fromUtf8("入力"), DialogIcon::Information));
        return {false, box};
    }
    const std::string name = boxBytes(request, kFileNameBox);
    if (name.find('/') != std::string::npos) {
        ShowErrorReport(dialogs, cannotCreateFile(UserFilePath(request.folder, name)).message(),
                        request.applicationTitle);
        return {false, kFileNameBox};
    }
    const bool exists = FileExists(UserFilePath(request.folder, name));
    // File names differ in letter case here: another user's file under the loaded name in other letter case
    // gets the overwrite question, not the save question.
    const bool ownName =
        name == request.loadedFileName || (!exists && sjis::equalIgnoringCase(name, request.loadedFileName));
    if (ownName) {
        if (!askSaveQuestion(dialogs, "変更を保存します。\nよろしいですか？")) {
            return {false, 0};
        }
    } else if (exists) {
        if (!askSaveQuestion(dialogs, "同名のファイルが存在します。\n上書きしてよろしいですか？")) {
            return {false, 0};
        }
    }
    try {
        StoreUserFile(user, request.folder, name, RecordFromBoxes(request));
    } catch (const AppError& error) {
        ShowErrorReport(dialogs, error.message(), request.applicationTitle);
        return {false, 0};
    }
    return {true, 0};
}
