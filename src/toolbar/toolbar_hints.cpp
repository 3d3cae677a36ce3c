#include "toolbar/toolbar_hints.h"

#include "data/sjis.h"

namespace {

std::string joinFields(const UserRecord& record, std::initializer_list<int> fields,
                       const std::string& separator) {
    std::string text;
    bool first = true;
    for (const int field : fields) {
        if (!first) {
            text += separator;
        }
        text += fieldOrEmpty(record, field);
        first = false;
    }
    return text;
}

bool anyFilled(const UserRecord& record, std::initializer_list<int> fields) {
    for (const int field : fields) {
        if (!fieldOrEmpty(record, field).empty()) {
            return true;
        }
    }
    return false;
}

// The hint is the joined fields when any of them holds text, else the fallback.
std::string hintOf(const UserRecord& record, std::initializer_list<int> fields, const std::string& separator,
                   const char* utf8Fallback) {
    return anyFilled(record, fields) ? joinFields(record, fields, separator) : sjis::fromUtf8(utf8Fallback);
}

constexpr std::array<const char*, 4> kMemoItemCaptions = {"メモ１", "メモ２", "メモ３", "メモ４"};

}  // namespace

ToolbarHints LayoutHints() {
    ToolbarHints hints;
    const std::map<int, const char*> layout = {
        {4, "郵便番号"}, {5, "住所"},      {6, "氏名"},     {7, "性別"},      {8, "年齢"},
        {9, "職業"},     {10, "電話番号"}, {11, "FAX番号"}, {12, "E-Mail"},   {13, "URL"},
        {14, "メモ"},    {15, "設定"},     {16, "へルプ"},  {17, "生年月日"}, {18, "次へ"},
    };
    for (const auto& [number, text] : layout) {
        hints.buttonHints[number] = sjis::fromUtf8(text);
    }
    for (std::size_t i = 0; i < kMemoItemCaptions.size(); ++i) {
        hints.memoCaptions[i] = sjis::fromUtf8(kMemoItemCaptions[i]);
    }
    return hints;
}

std::string MemoShortForm(const std::string& memo) {
    if (sjis::charCount(memo) <= 16) {
        return memo;
    }
    return sjis::leftChars(memo, 15) + "...";
}

void TakeRecordIntoHints(const UserRecord& record, ToolbarHints& hints, const CalendarDate& today) {
    if (!record.empty()) {
        auto& h = hints.buttonHints;
        h[4] = hintOf(record, {PostalCode}, "", "郵便番号");
        h[5] = hintOf(record, {Prefecture, City, Address1, Address2}, "", "住所");
        h[6] = hintOf(record, {FamilyName, GivenName}, "", "氏名");
        h[7] = hintOf(record, {Sex}, "", "性別");
        h[8] = hintOf(record, {Age}, "", "年齢");
        h[9] = hintOf(record, {Occupation}, "", "職業");
        h[10] = hintOf(record, {PhoneArea, PhoneExchange, PhoneNumber}, "-", "電話番号");
        h[11] = hintOf(record, {FaxArea, FaxExchange, FaxNumber}, "-", "FAX番号");
        h[12] = hintOf(record, {Email}, "", "E-Mail");
        h[13] = hintOf(record, {Url}, "", "URL");
        for (int i = 0; i < 4; ++i) {
            const std::string memo = fieldOrEmpty(record, Memo1 + i);
            hints.memoCaptions[static_cast<std::size_t>(i)] =
                memo.empty() ? sjis::fromUtf8(kMemoItemCaptions[static_cast<std::size_t>(i)])
                             : MemoShortForm(memo);
        }
        h[14] = hints.memoCaptions[0];
    }
    std::string birthHint = sjis::fromUtf8("生年月日");
    if (record.size() >= static_cast<std::size_t>(kFieldCount)) {
        const auto date =
            ParseBirthDate(BirthDateText(record[BirthYear], record[BirthMonth], record[BirthDay]), today);
        birthHint = date ? SlashDateText(*date) : sjis::fromUtf8("無効な日付");
    }
    hints.buttonHints[17] = birthHint;
}

NameFaceChoice ChooseNameFace(const UserRecord& record) {
    if (record.empty()) {
        return NameFaceChoice::Unchanged;
    }
    if (record.size() <= static_cast<std::size_t>(Sex)) {
        return NameFaceChoice::DefaultFaceOnly;
    }
    const std::string& sex = record[Sex];
    return sex == sjis::fromUtf8("女") || sex == sjis::fromUtf8("女性") ? NameFaceChoice::Female
                                                                        : NameFaceChoice::Male;
}
