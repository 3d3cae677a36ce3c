#pragma once

#include "data/sjis.h"
#include "data/user_file.h"
#include "support/scripted_dialogs.h"
#include "toolbar/current_user.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

// The main window's current user for dialog tests: the real CurrentUser, asking through scripted dialogs,
// with every call a dialog makes and everything it shows of the user (caption, name face, hints) recorded
// in order.
class RecordingCurrentUser final : public CurrentUserHost {
  public:
    RecordingCurrentUser() { user_.emplace(dialogs, hooks()); }

    const std::string& path() const override { return user_->path(); }
    const UserRecord& record() const override { return user_->record(); }
    bool makeCurrent(const std::string& path) override {
        note("make current " + path);
        return user_->makeCurrent(path);
    }
    void clearRecord() override {
        note("clear");
        user_->clearRecord();
    }
    void setCaption(const std::string& sjisCaption) override { user_->setCaption(sjisCaption); }
    void updateNameFace() override { user_->updateNameFace(); }

    // Starts over with path current (none when empty) and lines as its record, as if it had been loaded
    // earlier, with nothing recorded or asked.
    void preset(const std::string& path, const UserRecord& lines) {
        user_.emplace(dialogs, hooks());
        if (!path.empty()) {
            takeOver(path, lines);
        }
        calls.clear();
        dialogs.asked.clear();
        dialogs.askedBy.clear();
    }

    ScriptedDialogs dialogs;
    std::string title = sjis::fromUtf8("Zenporo！");  // the application title, as the captions set it
    std::vector<std::string> calls;

  private:
    // Makes path current with lines read from it; the file at path is put back as it was afterwards.
    void takeOver(const std::string& path, const UserRecord& lines) {
        std::error_code error;
        std::optional<std::string> before;
        if (std::filesystem::exists(path, error)) {
            std::ifstream in(path, std::ios::binary);
            before.emplace(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        WriteUserFile(path, lines);
        user_->makeCurrent(path);
        if (before) {
            std::ofstream(path, std::ios::binary | std::ios::trunc) << *before;
        } else {
            std::filesystem::remove(path, error);
        }
    }

    CurrentUser::Hooks hooks() {
        return {
            [this](const std::string& caption) {
                note("caption " + caption);
                title = caption;
            },
            [this] { note("face"); },
            [this] { note("hints"); },
            [this] { return title; },
            [] {
                return CalendarDate{2026, 12, 7};
            },
        };
    }
    void note(std::string call) { calls.push_back(std::move(call)); }

    std::optional<CurrentUser> user_;
};
