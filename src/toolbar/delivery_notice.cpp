#include "toolbar/delivery_notice.h"

#include "data/sjis.h"

#include <algorithm>

namespace {

constexpr int kNoticeGap = 2;  // pixels between the toolbar and its notice

// Why nothing, or not everything, reached the window below after a field click.
const char* pasteCause(DeliveryResult result) {
    switch (result) {
        case DeliveryResult::Sent:
            return "";
        case DeliveryResult::NoWindowBelow:
            return "貼り付け先のウィンドウが見つかりません。";
        case DeliveryResult::TargetNotActive:
            return "貼り付け先のウィンドウに切り替わらなかったため、貼り付けませんでした。";
        case DeliveryResult::ModifiersHeld:
            return "Shift や Ctrl などのキーが押されたままのため、貼り付けませんでした。";
        case DeliveryResult::KeyFailed:
            return "キーを送れなかったため、貼り付けられなかった可能性があります。";
        case DeliveryResult::NotLastActive:
            return "直前に使っていたウィンドウには自動で貼り付けられません。";
        case DeliveryResult::FocusLost:
            return "貼り付け中に別のウィンドウに切り替わったため、途中で止めました。";
    }
    return "";
}

// Why the Next button's key was not sent; nothing was copied, so there is no clipboard advice.
const char* nextKeyCause(DeliveryResult result) {
    switch (result) {
        case DeliveryResult::Sent:
            return "";
        case DeliveryResult::NoWindowBelow:
            return "「次へ」のキーを送るウィンドウが見つかりません。";
        case DeliveryResult::TargetNotActive:
            return "下のウィンドウに切り替わらなかったため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::ModifiersHeld:
            return "Shift や Ctrl などのキーが押されたままのため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::KeyFailed:
            return "「次へ」のキーを送れませんでした。";
        case DeliveryResult::NotLastActive:
            return "直前に使っていたウィンドウには「次へ」のキーを自動で送れません。";
        case DeliveryResult::FocusLost:
            return "別のウィンドウに切り替わったため、「次へ」のキーを送りませんでした。";
    }
    return "";
}

}  // namespace

std::string DeliveryNoticeText(DeliveryResult result, DeliveryAction action) {
    if (result == DeliveryResult::Sent) {
        return {};
    }
    if (action == DeliveryAction::NextKey) {
        return sjis::fromUtf8(nextKeyCause(result));
    }
    return sjis::fromUtf8(std::string(pasteCause(result)) +
                          "クリップボードにコピーしました（Ctrl+V で貼り付けられます）。");
}

Rect NoticeGeometry(const Rect& anchor, Size size, const Rect& screenArea) {
    Rect notice{anchor.x, anchor.yEnd() + kNoticeGap, size.width, size.height};
    if (notice.yEnd() > screenArea.yEnd()) {
        notice.y = anchor.y - kNoticeGap - size.height;
    }
    notice.x = std::clamp(notice.x, screenArea.x, std::max(screenArea.x, screenArea.xEnd() - size.width));
    notice.y = std::clamp(notice.y, screenArea.y, std::max(screenArea.y, screenArea.yEnd() - size.height));
    return notice;
}
