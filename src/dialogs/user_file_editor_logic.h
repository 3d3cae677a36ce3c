#pragma once

#include "data/birth_date.h"
#include "data/user_record.h"
#include "dialogs/user_file_editor_layout.h"

#include <array>
#include <optional>
#include <string>

class CurrentUserHost;
class Dialogs;

// What the editor shows when it opens: the display name of the loaded file (empty for a new file) and the
// 31 fields.
struct EditorContent {
    std::string loadedFileName;
    UserRecord fields = emptyUserRecord();
};

// An empty path gives a new, empty record. Otherwise reads the file (AppError cannotOpenFile when it cannot
// be opened) and fills missing lines up to 31 with empty ones; lines after the 31st are dropped.
EditorContent ReadEditorContent(const std::string& path);

// The age to put into the age box when the focus leaves a birth-date box; nothing when one of the three
// boxes is empty or the date is invalid or after today.
std::optional<std::string> AgeForBirthBoxes(const std::string& year, const std::string& month,
                                            const std::string& day, const CalendarDate& today);

// Writes folder + name + ".zpd" atomically (AppError cannotCreateFile on failure, the main window then
// untouched) and makes it the current user file; the switch may ask and be declined.
void StoreUserFile(CurrentUserHost& user, const std::string& folder, const std::string& name,
                   const UserRecord& record);

struct EditorOkRequest {
    std::array<std::u16string, kEditorBoxCount> boxes;  // boxes[n - 1] is the text of Edit<n> (Unicode)
    // The bytes Edit<n> was loaded with, while the user has not changed it; they are stored as they are.
    std::array<std::optional<std::string>, kEditorBoxCount> keptBytes;
    bool anyModified = false;
    std::string loadedFileName;    // Shift-JIS display name of the loaded file; empty for a new file
    std::string folder;            // the user file folder, with a trailing "/"
    std::string applicationTitle;  // caption of the general error report
};

struct EditorOkOutcome {
    bool close = false;
    int focusBox = 0;  // n of the Edit<n> that takes the focus when the dialog stays open; 0 for none
};

// The OK button: the empty-name notice, the refusal of text that cannot be stored, the save or overwrite
// question, then the save. Questions and reports go through dialogs.
EditorOkOutcome EditorOk(const EditorOkRequest& request, CurrentUserHost& user, Dialogs& dialogs);

// The record the boxes hold: field i is the kept bytes of Edit<i + 1>, else its text in Shift-JIS.
UserRecord RecordFromBoxes(const EditorOkRequest& request);
