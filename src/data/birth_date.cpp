#include "data/birth_date.h"

#include "platform/local_clock.h"

#include <chrono>
#include <cstdio>

namespace {

// Reads the date text left to right: numbers, "/" separators and spaces (U+0020 only).
class DateScanner {
  public:
    explicit DateScanner(const std::string& text) : text_(text) {}

    struct Number {
        int value = 0;
        int digits = 0;
    };

    void skipSpaces() {
        while (pos_ < text_.size() && text_[pos_] == ' ') {
            ++pos_;
        }
    }

    bool accept(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // Digits are taken while the value is below 1000, so at most four significant digits are read but
    // leading zeros are all consumed (and counted).
    std::optional<Number> number() {
        Number n;
        while (pos_ < text_.size() && isDigit(text_[pos_]) && n.value < 1000) {
            n.value = n.value * 10 + (text_[pos_] - '0');
            ++n.digits;
            ++pos_;
        }
        if (n.digits == 0) {
            return std::nullopt;
        }
        return n;
    }

    bool atEnd() const { return pos_ == text_.size(); }

  private:
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    const std::string& text_;
    std::size_t pos_ = 0;
};

// Places a one- or two-digit year in the hundred years that start at today's year minus 50.
int windowedYear(int year, const CalendarDate& today) {
    const int base = today.year - 50;
    year += base / 100 * 100;
    return year < base ? year + 100 : year;
}

}  // namespace

bool IsCalendarDate(int year, int month, int day) {
    // The ranges come first: chrono's month and day keep only a byte of what they are given.
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
        return false;
    }
    return std::chrono::year_month_day{std::chrono::year{year},
                                       std::chrono::month{static_cast<unsigned>(month)},
                                       std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

CalendarDate TodayLocal() {
    const std::chrono::year_month_day today = LocalToday();
    return {static_cast<int>(today.year()), static_cast<int>(static_cast<unsigned>(today.month())),
            static_cast<int>(static_cast<unsigned>(today.day()))};
}

std::string BirthDateText(const std::string& year, const std::string& month, const std::string& day) {
    return year + "/" + month + "/" + day;
}

std::optional<CalendarDate> ParseBirthDate(const std::string& text, const CalendarDate& today) {
    DateScanner scan(text);
    DateScanner::Number parts[3];
    for (int i = 0; i < 3; ++i) {
        scan.skipSpaces();
        if (i > 0) {
            if (!scan.accept('/')) {
                return std::nullopt;
            }
            scan.skipSpaces();
        }
        const auto number = scan.number();
        if (!number) {
            return std::nullopt;
        }
        parts[i] = *number;
    }
    scan.skipSpaces();
    scan.accept('/');
    scan.skipSpaces();
    if (!scan.atEnd()) {
        return std::nullopt;
    }
    const int year = parts[0].digits <= 2 ? windowedYear(parts[0].value, today) : parts[0].value;
    if (!IsCalendarDate(year, parts[1].value, parts[2].value)) {
        return std::nullopt;
    }
    return CalendarDate{year, parts[1].value, parts[2].value};
}

int AgeFromBirthDate(const CalendarDate& birth, const CalendarDate& today) {
    int age = today.year - birth.year;
    const bool birthdayToCome =
        birth.month > today.month || (birth.month == today.month && today.day < birth.day);
    if (birthdayToCome) {
        --age;
    }
    return age < 0 ? 0 : age;
}

std::string AgeFromBirthFields(const std::string& year, const std::string& month, const std::string& day,
                               const CalendarDate& today) {
    const auto birth = ParseBirthDate(BirthDateText(year, month, day), today);
    if (!birth || *birth > today) {
        return {};
    }
    return std::to_string(AgeFromBirthDate(*birth, today));
}

std::string AgeFromRecord(const UserRecord& record, const CalendarDate& today) {
    // Only a record of exactly the full field count has its birth fields where they belong; a shorter one
    // must not be read past its end, and a longer one is not a record this program wrote.
    if (record.size() != static_cast<std::size_t>(kFieldCount)) {
        return {};
    }
    return AgeFromBirthFields(record[BirthYear], record[BirthMonth], record[BirthDay], today);
}

std::string SlashDateText(const CalendarDate& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", date.year, date.month, date.day);
    return buffer;
}
