#pragma once

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

// The 32 boxes in tab order.
const std::array<EditorBoxPlace, kEditorBoxCount>& EditorBoxesInTabOrder();
const std::array<EditorLabelPlace, kEditorLabelCount>& EditorLabels();

// The field a box holds (Edit<n> holds field n - 1); -1 for the file-name box.
constexpr int FieldOfBox(int box) {
    return box == kFileNameBox ? -1 : box - 1;
}
