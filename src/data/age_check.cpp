#include "data/age_check.h"

#include "data/app_error.h"
#include "data/sjis.h"
#include "data/user_file.h"

namespace {

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal without regard to letter case. Only single-byte characters are folded: the second byte of a
// double-byte character may look like an ASCII letter and must be compared exactly.
bool equalIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = sjis::charLengthAt(a, i);
        if (length == 2) {
            if (a.compare(i, 2, b, i, 2) != 0) {
                return false;
            }
        } else if (asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

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
    const std::string computed = AgeFromRecord(record, today);
    if (computed.empty()) {
        return;
    }
    // AgeFromRecord gives an age only for a record of the full field count, so the age field exists.
    std::string& stored = record[Age];
    if (equalIgnoringCase(computed, stored)) {
        return;
    }
    if (dialogs.ask(ageQuestion(stored, computed)) != DialogAnswer::Yes) {
        return;
    }
    stored = computed;
    try {
        WriteUserFile(path, record);
    } catch (const AppError&) {
        // The corrected age stays in memory; the file keeps the old one until the user saves.
    }
}
