#pragma once

#include "dialogs/dialog_place.h"

#include <array>

// The user file list's places and sizes, in client pixels at 96 DPI.
namespace user_file_list_layout {

// The window is 308 x 228 pixels with its frame; the frame it was drawn for is 4 pixels on each side and a
// 19-pixel caption, which leaves this client area.
inline constexpr Size kClient{300, 201};
inline constexpr const char* kCaption = "ユーザーファイルリスト";
inline constexpr DialogControlPlace kLabel1{"Label1", "ユーザーファイルを選択して下さい。", {8, 8, 183, 12}};
inline constexpr Rect kListView1{8, 24, 193, 169};

// BitBtn1 to BitBtn5, in tab order; the list comes after them.
inline constexpr std::array<DialogControlPlace, 5> kButtons{{
    {"BitBtn1", "OK", {216, 24, 75, 25}},
    {"BitBtn2", "キャンセル", {216, 56, 75, 25}},
    {"BitBtn3", "編集", {216, 88, 75, 25}},
    {"BitBtn4", "新規", {216, 120, 75, 25}},
    {"BitBtn5", "削除", {216, 152, 75, 25}},
}};

}  // namespace user_file_list_layout
