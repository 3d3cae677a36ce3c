#pragma once

#include "data/user_record.h"

#include <optional>
#include <string>

struct CalendarDate {
    int year = 1;
    int month = 1;
    int day = 1;
    auto operator<=>(const CalendarDate&) const = default;
};

bool IsCalendarDate(int year, int month, int day);

// Today's local date; logic takes "today" as an argument so tests can pin it.
CalendarDate TodayLocal();

// BirthYear + "/" + BirthMonth + "/" + BirthDay, taken exactly as stored.
std::string BirthDateText(const std::string& year, const std::string& month, const std::string& day);

// Year, month, day separated by "/", spaces (U+0020) allowed around each, one trailing "/" allowed;
// one- or two-digit years are placed in the hundred years around today's year - 50.
std::optional<CalendarDate> ParseBirthDate(const std::string& text, const CalendarDate& today);

// Whole years from birth to today; the birth date must not be after today.
int AgeFromBirthDate(const CalendarDate& birth, const CalendarDate& today);

// The age as decimal text, or empty when the date does not parse or lies after today.
std::string AgeFromBirthFields(const std::string& year, const std::string& month, const std::string& day,
                               const CalendarDate& today);

// AgeFromBirthFields of fields 28 to 30; empty for a record of more or fewer than 31 lines.
std::string AgeFromRecord(const UserRecord& record, const CalendarDate& today);

// "yyyy/mm/dd" with zero padding.
std::string SlashDateText(const CalendarDate& date);
