#pragma once

#include "settings/toolbar_settings.h"
#include "data/user_record.h"
#include "qt/button_images.h"

#include <string>
#include <vector>

class Dialogs;

// What the dialogs may read and change of the main window. The main window implements it; dialog tests
// hand in a fake.
class ToolbarHost {
public:
    virtual ~ToolbarHost() = default;

    virtual Dialogs& dialogs() = 0;
    // The application title (Shift-JIS): the caption of the general error report.
    virtual const std::string& applicationTitle() const = 0;

    // The current user file's full path (Shift-JIS); empty until the first acceptance.
    virtual const std::string& currentUserFile() const = 0;
    virtual const UserRecord& userRecord() const = 0;

    // True when the file is accepted as current: the first without a question, the same path without one,
    // another after the question "このユーザーファイルに切替えますか？". Sets caption and title when it switches.
    virtual bool switchCurrentUserFile(const std::string& path) = 0;
    virtual void setCurrentUserFile(const std::string& path) = 0;
    // Reads the file, checks its stored age, takes the record over and refreshes the hints.
    virtual void loadUserFileIntoToolbar(const std::string& path) = 0;
    // Empties the record (the current file was deleted); hints and faces stay as they are.
    virtual void clearUserRecord() = 0;
    virtual void updateNameFace() = 0;
    // The main window's caption and the application title (Shift-JIS).
    virtual void setCaptionAndTitle(const std::string& sjisCaption) = 0;

    virtual ToolbarSettings& settings() = 0;
    virtual std::vector<std::string>& buttonImagePaths() = 0;
    virtual const ButtonFaces& faces() const = 0;
    // LoadButtonImages from buttonImagePaths(), then ApplyButtonFaces.
    virtual void rebuildFaces() = 0;
};

// SwitchCurrentUserFile; only when it accepts, set CurrentUserFile and load the file.
inline void MakeUserFileCurrent(ToolbarHost& host, const std::string& path) {
    if (!host.switchCurrentUserFile(path)) {
        return;
    }
    host.setCurrentUserFile(path);
    host.loadUserFileIntoToolbar(path);
}
