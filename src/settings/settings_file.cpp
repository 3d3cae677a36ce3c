#include "settings/settings_file.h"

#include "data/app_error.h"

#include <algorithm>

namespace {

constexpr std::string_view kSet = "Set";
constexpr std::string_view kWindow = "Window";
constexpr std::string_view kButton = "Button";

std::string imageKey(std::size_t index) {
    return "Image" + std::to_string(index);
}

int readWindowPosition(const ProfileSource& source, std::string_view key) {
    return std::clamp(ReadProfileInteger(source, kWindow, key, 0), -kFarthestWindowPosition,
                      kFarthestWindowPosition);
}

void readAll(const ProfileSource& source, SettingsFileContents& contents, const SettingsKeyRead& onRead) {
    const auto done = [&](SettingsKey key) {
        if (onRead) {
            onRead(key, contents);
        }
    };
    ToolbarSettings& settings = contents.settings;
    settings.PasteOK = ReadProfileBool(source, kSet, "PasteOK", true);
    done(SettingsKey::PasteOK);
    settings.PasteAfter = ReadProfileBool(source, kSet, "PasteAfter", false);
    done(SettingsKey::PasteAfter);
    settings.FrmStyle = ReadProfileBool(source, kSet, "FrmStyle", true);
    done(SettingsKey::FrmStyle);
    contents.BtnDown = ReadProfileBool(source, kSet, "BtnDown", false);
    done(SettingsKey::BtnDown);
    settings.AfterKey = ReadProfileInteger(source, kSet, "AfterKey", 0);
    done(SettingsKey::AfterKey);
    settings.NextKey = ReadProfileBool(source, kSet, "NextKey", true);
    done(SettingsKey::NextKey);
    contents.Left = readWindowPosition(source, "Left");
    done(SettingsKey::Left);
    contents.Top = readWindowPosition(source, "Top");
    done(SettingsKey::Top);
    for (std::size_t i = 0; i < kImageKeyCount; ++i) {
        contents.ButtonImagePaths.push_back(source.readString(kButton, imageKey(i), ""));
        done(SettingsKey::Image);
    }
}

}  // namespace

bool ReadSettings(const ProfileSource& source, SettingsFileContents& contents,
                  const SettingsKeyRead& onRead) {
    try {
        readAll(source, contents, onRead);
        return true;
    } catch (const IniReadError&) {
        return false;
    }
}

bool ReadSettingsFile(const std::string& path, SettingsFileContents& contents,
                      const SettingsKeyRead& onRead) {
    try {
        return ReadSettings(LoadIniFile(path), contents, onRead);
    } catch (const IniReadError&) {
        return false;
    }
}

void WriteSettings(IniFile& file, const SettingsFileContents& contents) {
    const ToolbarSettings& settings = contents.settings;
    file.writeBool(kSet, "PasteOK", settings.PasteOK);
    file.writeBool(kSet, "PasteAfter", settings.PasteAfter);
    file.writeBool(kSet, "FrmStyle", settings.FrmStyle);
    file.writeBool(kSet, "BtnDown", contents.BtnDown);
    file.writeBool(kSet, "NextKey", settings.NextKey);
    file.writeInteger(kSet, "AfterKey", settings.AfterKey);
    file.writeInteger(kWindow, "Left", contents.Left);
    file.writeInteger(kWindow, "Top", contents.Top);
    for (std::size_t i = 0; i < contents.ButtonImagePaths.size(); ++i) {
        file.writeString(kButton, imageKey(i), contents.ButtonImagePaths[i]);
    }
}

void WriteSettingsFile(const std::string& path, const SettingsFileContents& contents) {
    IniFile file;
    try {
        file = LoadIniFile(path);
    } catch (const IniReadError&) {
        // Writing over a file we cannot read would lose the lines we do not know.
        throw cannotWriteTo(path);
    }
    WriteSettings(file, contents);
    SaveIniFile(path, file);
}
