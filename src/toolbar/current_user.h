#pragma once

#include "data/birth_date.h"
#include "data/user_record.h"
#include "toolbar/current_user_host.h"

#include <functional>
#include <string>

class Dialogs;

// The current user file and the record the toolbar pastes from, with the operations that make a file
// current: switch (with its question), then load (with the age check). What it shows of them, the caption,
// the name face and the hints, it leaves to the window through the hooks.
class CurrentUser final : public CurrentUserHost {
  public:
    struct Hooks {
        std::function<void(const std::string& sjisCaption)>
            setCaption;  // window caption and application title
        std::function<void()> updateNameFace;
        std::function<void()> updateHints;
        std::function<std::string()> applicationTitle;
        std::function<CalendarDate()> today;
    };

    CurrentUser(Dialogs& dialogs, Hooks hooks) : dialogs_(dialogs), hooks_(std::move(hooks)) {}

    const std::string& path() const override { return path_; }
    const UserRecord& record() const override { return record_; }
    bool makeCurrent(const std::string& path) override;
    void clearRecord() override;
    void setCaption(const std::string& sjisCaption) override { hooks_.setCaption(sjisCaption); }
    void updateNameFace() override { hooks_.updateNameFace(); }

  private:
    // True when path is accepted as current: at once when none is current or it is the same path (byte for
    // byte), else after the question. Sets caption and title when it accepts a different file.
    bool switchTo(const std::string& path);
    // Reads the file into the record; a file that cannot be read leaves the record as it was.
    void load(const std::string& path);

    Dialogs& dialogs_;
    Hooks hooks_;
    std::string path_;
    UserRecord record_;
};

// When the age computed from the birth date differs from the stored age, asks (information question,
// caption "情報") whether to correct it, and on Yes rewrites the file; a failed rewrite is ignored and the
// record keeps the corrected age.
void ConfirmStoredAge(UserRecord& record, const std::string& path, Dialogs& dialogs,
                      const CalendarDate& today);
