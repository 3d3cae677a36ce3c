#include "data/age_check.h"

#include "data/sjis_case.h"

std::optional<std::string> StoredAgeCorrection(const UserRecord& record, const CalendarDate& today) {
    std::string computed = AgeFromRecord(record, today);
    // AgeFromRecord gives an age only for a record of the full field count, so the age field exists.
    if (computed.empty() || sjis::equalIgnoringCase(computed, record[Age])) {
        return std::nullopt;
    }
    return computed;
}
