#include "dialogs/user_file_editor_layout.h"

const std::array<EditorBoxPlace, kEditorBoxCount>& EditorBoxesInTabOrder() {
    using enum BoxInputMode;
    static const std::array<EditorBoxPlace, kEditorBoxCount> boxes{{
        {1, 8, 24, 60, 8, Off},
        {2, 80, 24, 230, 0, Hiragana},
        {3, 8, 64, 303, 0, Hiragana},
        {4, 8, 104, 303, 0, Hiragana},
        {5, 8, 144, 303, 0, Hiragana},
        {23, 8, 184, 151, 0, Hiragana},
        {24, 159, 184, 152, 0, Hiragana},
        {25, 8, 224, 151, 0, Katakana},
        {26, 159, 224, 152, 0, Katakana},
        {27, 8, 264, 151, 0, Off},
        {28, 159, 264, 152, 0, Off},
        {6, 8, 304, 151, 0, Hiragana},
        {7, 159, 304, 152, 0, Hiragana},
        {8, 8, 344, 33, 3, Hiragana},
        {29, 55, 344, 42, 4, Off},
        {30, 98, 344, 25, 2, Off},
        {31, 124, 344, 25, 2, Off},
        {9, 162, 344, 29, 0, Off},
        {10, 200, 344, 110, 20, Hiragana},
        {11, 320, 64, 70, 20, Off},
        {12, 392, 64, 70, 0, Off},
        {13, 464, 64, 74, 0, Off},
        {14, 320, 104, 70, 0, Off},
        {15, 392, 104, 70, 0, Off},
        {16, 464, 104, 74, 0, Off},
        {17, 320, 144, 305, 0, Off},
        {18, 320, 184, 305, 0, Off},
        {19, 320, 224, 305, 0, Hiragana},
        {20, 320, 264, 305, 0, Hiragana},
        {21, 320, 304, 305, 0, Hiragana},
        {22, 320, 344, 305, 0, Hiragana},
        {32, 320, 24, 217, 0, Unchanged},
    }};
    return boxes;
}

const std::array<EditorLabelPlace, kEditorLabelCount>& EditorLabels() {
    static const std::array<EditorLabelPlace, kEditorLabelCount> labels{{
        {1, "〒番号", 8, 10},
        {11, "都道府県", 80, 10},
        {2, "市区町村", 8, 50},
        {3, "住所１", 8, 90},
        {4, "住所２", 8, 130},
        {5, "ふりがな", 8, 170},
        {9, "フリガナ", 8, 210},
        {18, "ローマ字", 8, 250},
        {7, "氏　　名", 8, 290},
        {21, "性別", 8, 330},
        {22, "生年月日（西暦）", 56, 330},
        {6, "年齢", 162, 330},
        {8, "職業", 203, 330},
        {10, "電話番号", 320, 50},
        {12, "ＦＡＸ", 320, 90},
        {13, "メール", 320, 130},
        {14, "ＵＲＬ", 320, 170},
        {15, "メモ１（常用）", 320, 210},
        {16, "メモ２", 320, 250},
        {19, "メモ３", 320, 290},
        {20, "メモ４", 320, 330},
        {17, "ファイル名", 320, 10},
    }};
    return labels;
}
