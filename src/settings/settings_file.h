#pragma once

#include "settings/ini_file.h"
#include "settings/toolbar_settings.h"

#include <functional>
#include <string>
#include <vector>

constexpr int kImageKeyCount = 16;

// How far from the origin a stored window position is taken: beyond any desktop, yet near enough that the
// position plus any window size stays inside int in the toolkits' own rectangles. A position farther out
// (a damaged or hand-edited file) is read as this far, and the window then comes onto the nearest monitor.
constexpr int kFarthestWindowPosition = 1 << 30;

// Everything the settings file keeps, with the defaults of a run without one.
struct SettingsFileContents {
    ToolbarSettings settings;
    bool BtnDown = false;  // down state of the open button: the fifteen field buttons shown
    int Left = 0;          // the main window's outer top-left corner on the screen
    int Top = 0;
    std::vector<std::string> ButtonImagePaths;  // Shift-JIS; an empty entry means the built-in picture
};

// The keys in the order they are read; Image stands for each of Image0 to Image15.
enum class SettingsKey { PasteOK, PasteAfter, FrmStyle, BtnDown, AfterKey, NextKey, Left, Top, Image };

// Called right after each key is read, with everything read so far, so that the caller applies each value
// before the next one is read (the window moves at Left, then again at Top).
using SettingsKeyRead = std::function<void(SettingsKey key, const SettingsFileContents& soFar)>;

// Reads the keys one after the other into contents: PasteOK, PasteAfter, FrmStyle, BtnDown, AfterKey,
// NextKey, Left, Top, then Image0 to Image15, each appended to ButtonImagePaths. A missing key or a value
// that is not a number gives that key's default. When the source cannot be read, reading stops there
// silently and false is returned: the keys not yet read keep what contents held (the defaults of a fresh
// SettingsFileContents), ButtonImagePaths holds the entries read so far, and the caller skips the rest of its
// creation step.
bool ReadSettings(const ProfileSource& source, SettingsFileContents& contents,
                  const SettingsKeyRead& onRead = {});

// ReadSettings from the file at path (the file system's bytes); a file that exists but cannot be read stops
// at the first key.
bool ReadSettingsFile(const std::string& path, SettingsFileContents& contents,
                      const SettingsKeyRead& onRead = {});

// Writes every key into file in the order the main window saves them: Set (PasteOK, PasteAfter, FrmStyle,
// BtnDown, NextKey, AfterKey), Window (Left, Top), Button (Image0 to Image n-1, empty entries as empty keys).
void WriteSettings(IniFile& file, const SettingsFileContents& contents);

// Updates the file at path (the file system's bytes) with WriteSettings, keeping every line it does not know,
// and replaces it in one step. Throws AppError (cannotWriteTo the path) and leaves the old file as it was
// when the file cannot be read back or written.
void WriteSettingsFile(const std::string& path, const SettingsFileContents& contents);
