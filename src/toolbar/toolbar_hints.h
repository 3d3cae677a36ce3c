#pragma once

#include "data/birth_date.h"
#include "data/user_record.h"

#include <array>
#include <map>
#include <string>

// The pop-up hints of the field buttons (keyed by the number of SpeedButton<n>) and the captions of the
// four memo menu items, all Shift-JIS.
struct ToolbarHints {
    std::map<int, std::string> buttonHints;
    std::array<std::string, 4> memoCaptions;
};

// The hints and captions of the window's layout, before any user file is loaded.
ToolbarHints LayoutHints();

// Up to 16 characters whole; 17 or more become the first 15 characters and "...".
std::string MemoShortForm(const std::string& memo);

// Takes the record's contents into the hints. An empty record changes only the birth-date hint; fields
// past the end of a short record read as empty.
void TakeRecordIntoHints(const UserRecord& record, ToolbarHints& hints, const CalendarDate& today);

// Which face the name button shows and which picture the four full-name menu items show.
enum class NameFaceChoice {
    Unchanged,        // no record loaded
    DefaultFaceOnly,  // too short to hold the sex: face 2, menu pictures untouched
    Male,             // face 2 and menu picture 2
    Female,           // face 15 and menu picture 15
};
NameFaceChoice ChooseNameFace(const UserRecord& record);
