#pragma once

#include "dialogs/dialog_place.h"
#include "dialogs/settings_rules.h"

// The settings dialog's places and sizes, in pixels at 96 DPI. Controls in a panel are placed within it;
// InPanel moves them to the dialog.
namespace settings_dialog_layout {

inline constexpr Size kClient{402, 367};
inline constexpr const char* kCaption = "設定";

inline constexpr Rect kPanel2{8, 8, 209, 73};  // the paste settings
inline constexpr DialogControlPlace kCheckBox1{"CheckBox1", "直下のウインドウに貼り付ける", {16, 8, 185, 17}};
inline constexpr DialogControlPlace kCheckBox2{"CheckBox2", "貼りつけ後キーを押す", {16, 32, 185, 17}};
inline constexpr DialogControlPlace kRadioButton1{"RadioButton1", "TAB", {32, 48, 65, 17}};
inline constexpr DialogControlPlace kRadioButton2{"RadioButton2", "ENTER", {112, 48, 73, 17}};

inline constexpr Rect kPanel1{224, 8, 169, 73};  // the Next key
inline constexpr DialogControlPlace kLabel1{"Label1", "次へボタンの動作", {16, 9, 0, 0}};
inline constexpr DialogControlPlace kRadioButton3{"RadioButton3", "TAB", {24, 28, 65, 17}};
inline constexpr DialogControlPlace kRadioButton4{"RadioButton4", "ENTER", {24, 48, 81, 17}};

inline constexpr Rect kPanel3{8, 88, 385, 241};  // the sixteen picture rows
inline constexpr DialogControlPlace kDefaultBtn{"DefaultBtn", "全て標準", {8, 208, 75, 25}};
inline constexpr Point kLabel2{96, 208};  // the comment, red and bold

inline constexpr DialogControlPlace kBitBtn1{"BitBtn1", "OK", {232, 336, 75, 25}};
inline constexpr DialogControlPlace kBitBtn2{"BitBtn2", "キャンセル", {320, 336, 75, 25}};

// A picture row of Panel3: the preview, the path box and the browse button, the right column 192 pixels to
// the right of the left one.
inline constexpr int kColumnOffset = 192;
inline constexpr int kBrowsePictureSize = 14;

constexpr Rect PreviewPlace(const settings_rules::FaceRow& row) {
    return {8 + row.column * kColumnOffset, row.top, 16, 16};
}
constexpr Rect PathBoxPlace(const settings_rules::FaceRow& row) {
    return {32 + row.column * kColumnOffset, row.top, 121, 20};
}
constexpr Rect BrowseButtonPlace(const settings_rules::FaceRow& row) {
    return {160 + row.column * kColumnOffset, row.top, 20, 20};
}

}  // namespace settings_dialog_layout
