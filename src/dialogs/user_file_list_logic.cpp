#include "dialogs/user_file_list_logic.h"

#include "data/sjis.h"
#include "data/sjis_case.h"
#include "data/user_file.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/text_collator.h"
#include "toolbar/current_user_host.h"

#include <algorithm>

std::vector<std::string> ListUserFileNames(const std::string& folder, const TextCollator& collator) {
    std::vector<std::string> names = UserFileNamesIn(folder);
    SortUserFileNames(names, collator);
    return names;
}

void SortUserFileNames(std::vector<std::string>& names, const TextCollator& collator) {
    std::stable_sort(names.begin(), names.end(), [&collator](const std::string& a, const std::string& b) {
        return collator.compare(sjis::toUnicode(a), sjis::toUnicode(b)) < 0;
    });
}

std::optional<std::size_t> PreselectedRow(const std::vector<std::string>& names,
                                          const std::string& currentUserFile) {
    if (currentUserFile.empty()) {
        return std::nullopt;
    }
    const std::string name = DisplayName(currentUserFile);
    // Names that differ only in letter case can stand side by side here; the current file's own one wins.
    const auto exact = std::find(names.begin(), names.end(), name);
    if (exact != names.end()) {
        return static_cast<std::size_t>(exact - names.begin());
    }
    for (std::size_t row = 0; row < names.size(); ++row) {
        if (sjis::equalIgnoringCase(names[row], name)) {
            return row;
        }
    }
    return std::nullopt;
}

int UserFileColumnWidth(int listWidth, int visibleRows, int entryCount) {
    return visibleRows < entryCount ? listWidth - 20 : listWidth - 4;
}

void ChooseUserFile(CurrentUserHost& user, const std::string& folder, const std::string& name) {
    const std::string path = UserFilePath(folder, name);
    if (!user.makeCurrent(path)) {
        return;
    }
    // Also when the file was current already: its deletion may have left the caption at the bare name.
    user.setCaption(CaptionForUserFile(path));
    user.updateNameFace();
}

bool DeleteUserFileEntry(CurrentUserHost& user, Dialogs& dialogs, const std::string& folder,
                         const std::string& name) {
    const std::string path = UserFilePath(folder, name);
    if (!FileExists(path)) {
        return false;
    }
    const DialogRequest question{name + sjis::fromUtf8(" を削除します。\r よろしいですか？"),
                                 sjis::fromUtf8("警告"),
                                 DialogIcon::Exclamation,
                                 {dialog_buttons::yes(), dialog_buttons::no()},
                                 DialogAnswer::Yes,
                                 DialogAnswer::No};
    if (dialogs.ask(question) != DialogAnswer::Yes) {
        return false;
    }
    if (!RemoveFile(path)) {
        return false;
    }
    if (user.path() == path) {
        user.clearRecord();
    }
    return true;
}
