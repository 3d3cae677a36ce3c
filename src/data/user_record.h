#pragma once

#include <string>
#include <vector>

// One person's details: line i is field i. A record the program builds has exactly kFieldCount lines; a
// record read from a file has the file's lines, however many; a record without lines means none is loaded.
using UserRecord = std::vector<std::string>;

constexpr int kFieldCount = 31;

enum Field : int {
    PostalCode = 0,
    Prefecture,
    City,
    Address1,
    Address2,
    FamilyName,
    GivenName,
    Sex,
    Age,
    Occupation,
    PhoneArea,
    PhoneExchange,
    PhoneNumber,
    FaxArea,
    FaxExchange,
    FaxNumber,
    Email,
    Url,
    Memo1,
    Memo2,
    Memo3,
    Memo4,
    FamilyNameHiragana,
    GivenNameHiragana,
    FamilyNameKatakana,
    GivenNameKatakana,
    FamilyNameRomaji,
    GivenNameRomaji,
    BirthYear,
    BirthMonth,
    BirthDay,
};

// The field's text, or the empty text when the record is too short to hold it.
inline std::string fieldOrEmpty(const UserRecord& record, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < record.size()
               ? record[static_cast<std::size_t>(index)]
               : std::string();
}

// A record of kFieldCount empty lines, as the editor starts a new user.
inline UserRecord emptyUserRecord() {
    return UserRecord(kFieldCount);
}
