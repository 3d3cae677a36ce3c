#pragma once

#include "data/user_record.h"

#include <string>

// What the user file dialogs may read and change of the main window's current user: the accepted file, its
// record, the caption that names it and the name button's face. The main window's CurrentUser implements
// it; dialog tests hand in the same logic with recorded calls.
class CurrentUserHost {
  public:
    virtual ~CurrentUserHost() = default;

    // The current user file's full path (Shift-JIS); empty until the first acceptance, never emptied again.
    virtual const std::string& path() const = 0;
    // The record the toolbar pastes from; no lines while no user file is loaded.
    virtual const UserRecord& record() const = 0;

    // Makes the file current in the one order every caller uses: switch (the first file and the same path
    // at once, another after the question "このユーザーファイルに切替えますか？"), then, only when accepted,
    // set the path and load the file. True when the file was accepted.
    virtual bool makeCurrent(const std::string& path) = 0;
    // The current file was deleted: the record empties and the caption falls back to the program's name;
    // the path, the hints and the faces stay as they are.
    virtual void clearRecord() = 0;
    // The main window's caption and the application title (Shift-JIS).
    virtual void setCaption(const std::string& sjisCaption) = 0;
    // Chooses the name button's face from the record's sex.
    virtual void updateNameFace() = 0;
};

// The caption and title while the file at path is current: its display name + " - Zenporo！".
std::string CaptionForUserFile(const std::string& path);
