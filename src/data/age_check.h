#pragma once

#include "data/birth_date.h"
#include "data/user_record.h"
#include "platform/dialogs.h"

#include <string>

// After a user file is read: when the age computed from the birth date differs from the stored age, asks
// (information question, caption "情報") whether to correct it, and on Yes rewrites the file; a failed
// rewrite is ignored and the record keeps the corrected age.
void ConfirmStoredAge(UserRecord& record, const std::string& path, Dialogs& dialogs, const CalendarDate& today);
