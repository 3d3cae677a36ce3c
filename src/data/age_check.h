#pragma once

#include "data/birth_date.h"
#include "data/user_record.h"

#include <optional>
#include <string>

// After a user file is read: the age computed from the birth date when it differs from the stored age
// (letter case aside); nothing when they agree or no age can be computed.
std::optional<std::string> StoredAgeCorrection(const UserRecord& record, const CalendarDate& today);
