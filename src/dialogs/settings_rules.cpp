#include "dialogs/settings_rules.h"

#include "data/sjis.h"

namespace settings_rules {

PasteControls ControlsFromSettings(const ToolbarSettings& settings) {
    return {settings.PasteOK, settings.PasteAfter, settings.AfterKey == 0, settings.NextKey};
}

void StoreControls(const PasteControls& controls, ToolbarSettings& settings) {
    settings.PasteOK = controls.pasteChecked;
    settings.PasteAfter = controls.afterKeyChecked;
    settings.NextKey = controls.nextKeyTab;
    settings.AfterKey = controls.afterKeyTab ? 0 : 1;
}

bool AfterKeyBoxEnabled(bool pasteChecked) {
    return pasteChecked;
}

bool AfterKeyPairEnabled(bool afterKeyChecked, bool afterKeyBoxEnabled) {
    return afterKeyChecked && afterKeyBoxEnabled;
}

const std::array<FaceRow, 16>& FaceRows() {
    static const std::array<FaceRow, 16> rows = {{
        {0, 1, 0, 8},
        {1, 2, 0, 32},
        {2, 4, 0, 56},
        {15, 3, 0, 80},
        {3, 5, 0, 104},
        {13, 6, 0, 128},
        {4, 7, 0, 152},
        {5, 8, 0, 176},
        {6, 9, 1, 8},
        {7, 10, 1, 32},
        {8, 11, 1, 56},
        {9, 12, 1, 80},
        {10, 13, 1, 104},
        {11, 14, 1, 128},
        {12, 15, 1, 152},
        {14, 16, 1, 176},
    }};
    return rows;
}

const std::array<int, 16>& PathBoxTabOrder() {
    static const std::array<int, 16> order = {0, 1, 2, 15, 3, 13, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14};
    return order;
}

std::string ResetHintText() {
    return sjis::fromUtf8("特定のイメージのみ標準に戻す場合は\n\rパス欄を空白にしてOKして下さい。");
}

DialogRequest ResetAllQuestion() {
    return {sjis::fromUtf8("ボタンイメージを全て標準に戻します。よろしいですか？"),
            sjis::fromUtf8("確認"),
            DialogIcon::Question,
            {dialog_buttons::yes(), dialog_buttons::no()},
            DialogAnswer::Yes,
            DialogAnswer::No};
}

DialogRequest UnstorablePathNotice(const std::string& characterNames) {
    return plainNotice(sjis::fromUtf8("選んだファイルの場所か名前に、保存できない文字 ") + characterNames +
                           sjis::fromUtf8(" があります。\n別の場所か名前のファイルを選んで下さい。"),
                       sjis::fromUtf8("設定"), DialogIcon::Information);
}

std::u16string StartFolderOf(std::u16string_view pathText, std::u16string_view separators) {
    const std::size_t slash = pathText.find_last_of(separators);
    if (slash == std::u16string_view::npos) {
        return {};
    }
    return std::u16string(pathText.substr(0, slash + 1));
}

}  // namespace settings_rules
