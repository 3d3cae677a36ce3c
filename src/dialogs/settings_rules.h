#pragma once

#include "platform/dialogs.h"
#include "settings/toolbar_settings.h"

#include <array>
#include <string>
#include <string_view>

// The settings dialog's rules that need no window: how its controls stand for the settings, when they are
// enabled, where its rows sit and what it asks.
namespace settings_rules {

// The paste and Next-key controls: the two check boxes and the TAB button of each radio pair (the ENTER
// button of a pair is checked exactly when its TAB button is not).
struct PasteControls {
    bool pasteChecked = true;      // CheckBox1
    bool afterKeyChecked = false;  // CheckBox2
    bool afterKeyTab = true;       // RadioButton1; RadioButton2 is ENTER
    bool nextKeyTab = true;        // RadioButton3; RadioButton4 is ENTER
};

// The controls as the dialog opens on the settings; any AfterKey other than 0 selects ENTER.
PasteControls ControlsFromSettings(const ToolbarSettings& settings);

// OK: the four settings from the controls, kept as they stand even when a control is disabled; AfterKey
// becomes 0 for TAB and 1 for ENTER. FrmStyle is left alone.
void StoreControls(const PasteControls& controls, ToolbarSettings& settings);

// CheckBox2 is enabled exactly when CheckBox1 is checked.
bool AfterKeyBoxEnabled(bool pasteChecked);
// The TAB/ENTER pair of AfterKey is enabled exactly when CheckBox2 is both checked and enabled.
bool AfterKeyPairEnabled(bool afterKeyChecked, bool afterKeyBoxEnabled);

// One row of the picture panel: the face it shows, the number of its browse button, and its place.
struct FaceRow {
    int face;
    int browseButton;  // SpeedButton1 .. SpeedButton16
    int column;        // 0 left, 1 right
    int top;
};

// The sixteen rows in their order on screen, left column top to bottom, then the right one.
const std::array<FaceRow, 16>& FaceRows();

// The faces of the path boxes in keyboard order; the "全て標準" button comes after the ninth (face 6).
const std::array<int, 16>& PathBoxTabOrder();
inline constexpr int kPathBoxesBeforeDefaultButton = 9;

// The comment of Label2, with its LF CR between the two lines.
std::string ResetHintText();

// The question of "全て標準".
DialogRequest ResetAllQuestion();

// The notice for a chosen picture whose path holds characters Shift-JIS cannot store (their names as
// UnstorableCharacterNames writes them): the settings file could not keep the path, so the path box is
// emptied as for a file that cannot be read, and this says why.
DialogRequest UnstorablePathNotice(const std::string& characterNames);

// What ends a folder in a path: the slash on Linux; on Windows also the backslash and a drive's colon.
inline constexpr std::u16string_view kPosixPathSeparators = u"/";
inline constexpr std::u16string_view kWindowsPathSeparators = u"\\/:";

// The folder the file dialog starts in: the path box's text up to and including its last separator, or
// empty (the dialog's own default folder) when it holds none.
std::u16string StartFolderOf(std::u16string_view pathText, std::u16string_view separators);

// The filter of the picture file dialog: the half-width word for bitmap, then the pattern.
inline constexpr const char* kBitmapFilterUtf8 = "ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)";

}  // namespace settings_rules
