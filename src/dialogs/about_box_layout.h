#pragma once

#include "dialogs/dialog_place.h"

// The version box's places and sizes, in client pixels at 96 DPI; the labels inside the panel are placed
// within it and take the size of their text.
namespace about_box_layout {

inline constexpr Size kClient{284, 175};
inline constexpr const char* kCaption = "ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr Rect kPanel1{8, 8, 265, 121};
inline constexpr Rect kProgramIcon{8, 8, 32, 32};
inline constexpr Point kProductName{48, 8};
inline constexpr Point kVersion{120, 8};
inline constexpr Point kCopyright{52, 24};
inline constexpr Point kLabel1{144, 40};  // the e-mail address
inline constexpr Point kLabel2{24, 56};   // the home page
inline constexpr Rect kComments{16, 80, 233, 33};
inline constexpr const char* kCommentsPlaceholder = "ｺﾒﾝﾄ";
inline constexpr Rect kOkButton{103, 140, 75, 25};

}  // namespace about_box_layout
