#pragma once

#include "dialogs/dialog_place.h"

#include <array>

// The places, limits and input modes of the user file editor's boxes and labels, in client pixels.

enum class BoxInputMode {
    Off,       // direct half-width input
    Hiragana,  // conversion on, hiragana
    Katakana,  // conversion on, full-width katakana
    Unchanged  // the input method is left as it is
};

struct EditorBoxPlace {
    int box;  // n of Edit<n>, 1..32
    int left;
    int top;
    int width;
    int maxBytes;  // Shift-JIS bytes; 0 means no limit
    BoxInputMode mode;
};

struct EditorLabelPlace {
    int number;        // n of Label<n>
    const char* text;  // UTF-8
    int left;
    int top;
};

constexpr int kEditorBoxCount = 32;
constexpr int kEditorLabelCount = 22;
constexpr int kFileNameBox = 32;
constexpr int kAgeBox = 9;
constexpr int kBirthYearBox = 29;
constexpr int kBirthMonthBox = 30;
constexpr int kBirthDayBox = 31;
constexpr int kEditorBoxHeight = 20;

inline constexpr Size kEditorClient{632, 374};
inline constexpr const char* kEditorCaption = "ユーザーファイル作成";
inline constexpr DialogControlPlace kEditorOkButton{"BitBtn1", "OK", {552, 24, 73, 49}};
inline constexpr DialogControlPlace kEditorCancelButton{"BitBtn2", "キャンセル", {552, 80, 75, 49}};

// The commands of the boxes' popup menu PopupMenu1, in its order.
enum class EditCommand { Cut, Copy, Paste, Delete };
struct EditorMenuItem {
    EditCommand command;
    const char* name;
    const char* caption;  // UTF-8
};
inline constexpr std::array<EditorMenuItem, 4> kEditorMenu{{
    {EditCommand::Cut, "Cut1", "切り取り(&T)"},
    {EditCommand::Copy, "Copy1", "コピー(&C)"},
    {EditCommand::Paste, "Paste1", "貼り付け(&V)"},
    {EditCommand::Delete, "DDel1", "削除(&D)"},
}};

// The 32 boxes in tab order.
const std::array<EditorBoxPlace, kEditorBoxCount>& EditorBoxesInTabOrder();
const std::array<EditorLabelPlace, kEditorLabelCount>& EditorLabels();

// The field a box holds (Edit<n> holds field n - 1); -1 for the file-name box.
constexpr int FieldOfBox(int box) {
    return box == kFileNameBox ? -1 : box - 1;
}
