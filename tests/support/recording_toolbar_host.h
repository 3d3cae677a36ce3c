#pragma once

#include "data/sjis.h"
#include "data/user_file.h"
#include "platform/dialogs.h"
#include "toolbar/toolbar_host.h"

#include <string>
#include <vector>

// A main window for dialog tests: it keeps the current file and record like the real one, asks its switch
// question through the given Dialogs, and records every operation a dialog calls, in order.
class RecordingToolbarHost final : public ToolbarHost {
  public:
    explicit RecordingToolbarHost(Dialogs& dialogs) : dialogs_(dialogs) {}

    Dialogs& dialogs() override { return dialogs_; }
    const std::string& applicationTitle() const override { return title_; }
    const std::string& currentUserFile() const override { return current_; }
    const UserRecord& userRecord() const override { return record_; }

    bool switchCurrentUserFile(const std::string& path) override {
        calls.push_back("switch " + path);
        if (current_.empty() || current_ == path) {
            return true;
        }
        const DialogRequest question = exclamationQuestion(
            sjis::fromUtf8("このユーザーファイルに切替えますか？"), sjis::fromUtf8("ユーザー変更"));
        return dialogs_.ask(question) == DialogAnswer::Yes;
    }
    void setCurrentUserFile(const std::string& path) override {
        calls.push_back("set " + path);
        current_ = path;
    }
    void loadUserFileIntoToolbar(const std::string& path) override {
        calls.push_back("load " + path);
        record_ = ReadUserFile(path);
    }
    void clearUserRecord() override {
        calls.push_back("clear");
        record_.clear();
    }
    void updateNameFace() override { calls.push_back("face"); }
    void setCaptionAndTitle(const std::string& sjisCaption) override {
        calls.push_back("caption " + sjisCaption);
        title_ = sjisCaption;
    }

    ToolbarSettings& settings() override { return settings_; }
    std::vector<std::string>& buttonImagePaths() override { return imagePaths_; }
    const ButtonFaces& faces() const override { return faces_; }
    void rebuildFaces() override { calls.push_back("rebuild"); }

    // Sets up a current file and record as if an earlier load had happened.
    void preset(const std::string& path, const UserRecord& record) {
        current_ = path;
        record_ = record;
    }

    std::vector<std::string> calls;

  private:
    Dialogs& dialogs_;
    std::string title_ = sjis::fromUtf8("Zenporo！");
    std::string current_;
    UserRecord record_;
    ToolbarSettings settings_;
    std::vector<std::string> imagePaths_;
    ButtonFaces faces_;
};
