#include "toolbar/delivery_notice.h"

#include "data/sjis.h"

#include <algorithm>

namespace {

constexpr int kNoticeGap = 2;  // pixels between the toolbar and its notice

// Every notice of a click whose text was copied ends with this advice.
constexpr const char* kCopied = "クリップボードにコピーしました（Ctrl+V で貼り付けられます）。";

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
        case DeliveryResult::RemoteControlGone:
            return "「リモートデスクトップ」を使えなくなったため、貼り付けませんでした。";
        case DeliveryResult::NoActiveWindowNamed:
            return "デスクトップが入力中のウィンドウを知らせなかったため、貼り付けませんでした。";
        case DeliveryResult::ActiveWindowIsOurs:
            return "入力中のウィンドウが Zenporo のウィンドウだったため、貼り付けませんでした。";
        case DeliveryResult::WindowsDisagree:
            return "直前に使っていたウィンドウを確かめられなかったため、貼り付けませんでした。";
        case DeliveryResult::FocusLost:
            return "貼り付け中に別のウィンドウに切り替わったため、途中で止めました。";
        case DeliveryResult::ClipboardNotOwned:
        case DeliveryResult::ConsentAsked:
        case DeliveryResult::ConsentAskedThisRun:
            return "";  // DeliveryNoticeText() says it
        case DeliveryResult::ConsentResuming:
            return "前回の「リモートデスクトップ」の許可を確かめています。確認画面が出たときは、許可すると"
                   "次のクリックから貼り付けます。";
        case DeliveryResult::SessionStarting:
            return "「リモートデスクトップ」を開始しています。次のクリックから貼り付けます。";
        case DeliveryResult::ConsentPending:
            return "「リモートデスクトップ」の許可を待っています。";
        case DeliveryResult::SessionLost:
            return "「リモートデスクトップ」の接続が切れたため、貼り付けませんでした。";
        case DeliveryResult::CompositorDidNotTake:
            return "デスクトップがクリップボードを受け取らなかったため、貼り付けませんでした。";
        case DeliveryResult::PasteUnconfirmed:
            return "貼り付けを確かめられなかったので、Tab や Enter は押しませんでした。";
        case DeliveryResult::PasteNotFetched:
            return "貼り付けを確かめられませんでした。";
        case DeliveryResult::PastedForInputMethod:
            return "";  // DeliveryNoticeText() says it
        case DeliveryResult::ConsentRefused:
            return "「リモートデスクトップ」が許可されなかったため、貼り付けませんでした。"
                   "Zenporo を起動し直すと、もう一度許可を求めます。";
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
        case DeliveryResult::RemoteControlGone:
            return "「リモートデスクトップ」を使えなくなったため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::NoActiveWindowNamed:
            return "デスクトップが入力中のウィンドウを知らせなかったため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::ActiveWindowIsOurs:
            return "入力中のウィンドウが Zenporo のウィンドウだったため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::WindowsDisagree:
            return "直前に使っていたウィンドウを確かめられなかったため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::FocusLost:
            return "別のウィンドウに切り替わったため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::ClipboardNotOwned:
        case DeliveryResult::CompositorDidNotTake:
        case DeliveryResult::PasteUnconfirmed:
        case DeliveryResult::PasteNotFetched:
        case DeliveryResult::PastedForInputMethod:
            return "";  // results of a paste only
        case DeliveryResult::ConsentAsked:
        case DeliveryResult::ConsentAskedThisRun:
            return "";  // consentAsked() says it
        case DeliveryResult::ConsentResuming:
            return "前回の「リモートデスクトップ」の許可を確かめているため、「次へ」のキーを送りませんでした"
                   "。";
        case DeliveryResult::SessionStarting:
            return "「リモートデスクトップ」を開始しているため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::ConsentPending:
            return "「リモートデスクトップ」の許可を待っているため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::SessionLost:
            return "「リモートデスクトップ」の接続が切れたため、「次へ」のキーを送りませんでした。";
        case DeliveryResult::ConsentRefused:
            return "「リモートデスクトップ」が許可されなかったため、「次へ」のキーを送りませんでした。"
                   "Zenporo を起動し直すと、もう一度許可を求めます。";
    }
    return "";
}

// Why the desktop's dialog comes now, how often it comes, and where the keys will go once allowed: not to
// the window below, but to the native window that has the keyboard focus, TAB or ENTER included.
std::string consentAsked(DeliveryResult result, DeliveryAction action) {
    const bool thisRun = result == DeliveryResult::ConsentAskedThisRun;
    std::string text = action == DeliveryAction::Paste ? "Wayland のウィンドウに貼り付けるため、"
                                                       : "Wayland のウィンドウにキーを送るため、";
    text += "「リモートデスクトップ」の許可を求めます（確認は";
    text += thisRun ? " Zenporo を起動するたびに一度）。" : "最初の一度だけ）。";
    text += "許可すると、次のクリックから、キーボードで入力中のウィンドウに";
    text += action == DeliveryAction::Paste ? "貼り付け、設定の Tab や Enter もそこで押します。"
                                            : "「次へ」のキーを送ります。";
    return text;
}

}  // namespace

std::string DeliveryNoticeText(DeliveryResult result, DeliveryAction action) {
    if (result == DeliveryResult::Sent) {
        return {};
    }
    if (result == DeliveryResult::ConsentAsked || result == DeliveryResult::ConsentAskedThisRun) {
        const std::string copied = action == DeliveryAction::Paste ? kCopied : "";
        return sjis::fromUtf8(consentAsked(result, action) + copied);
    }
    if (action == DeliveryAction::NextKey) {
        return sjis::fromUtf8(nextKeyCause(result));
    }
    if (result == DeliveryResult::PastedForInputMethod) {
        // Everything arrived, by another way: there is no clipboard advice.
        return sjis::fromUtf8(
            "入力先の日本語入力（IME）をオフにできなかったため、キー入力の代わりに貼り付けました。");
    }
    if (result == DeliveryResult::ClipboardNotOwned) {
        // Our text is not on the clipboard: there is no Ctrl+V to advise.
        return sjis::fromUtf8(
            "ほかのプログラムがクリップボードを使っているため、貼り付けませんでした。"
            "もう一度クリックしてください。");
    }
    return sjis::fromUtf8(std::string(pasteCause(result)) + kCopied);
}

std::string TypingNoticeText(const TypingOutcome& outcome, std::u32string_view text) {
    if (outcome.pasted) {
        return DeliveryNoticeText(outcome.result, DeliveryAction::Paste);
    }
    const std::string total = std::to_string(outcome.total);
    const std::string progress =
        outcome.typed == 0 ? std::string("入力しませんでした。")
        : outcome.typed < outcome.total
            ? std::to_string(outcome.typed) + " 文字目まで入力して止めました（全 " + total + " 文字）。"
            : "全 " + total + " 文字を入力しましたが、そのあとのキーは送りませんでした。";
    switch (outcome.result) {
        case DeliveryResult::Sent: {
            const bool oneRepeated =
                text.size() >= 2 && text.find_first_not_of(text.front()) == std::u32string_view::npos;
            return oneRepeated ? sjis::fromUtf8(
                                     "同じ文字が続く値は、プルダウンでは別の項目が選ばれることがあ"
                                     "ります。選ばれた項目を確かめてください。")
                               : std::string();
        }
        case DeliveryResult::NoWindowBelow:
            return sjis::fromUtf8(std::string("入力先のウィンドウが見つかりません。") + kCopied);
        case DeliveryResult::TargetNotActive:
            return sjis::fromUtf8(
                std::string("入力先のウィンドウに切り替わらなかったため、入力しませんでした。") + kCopied);
        case DeliveryResult::ModifiersHeld:
            return sjis::fromUtf8(
                std::string("Shift や Ctrl などのキーが押されたままのため、入力しませんでした。"
                            "Shift はクリックのあとすぐに離してください。") +
                kCopied);
        case DeliveryResult::NotLastActive:
            return sjis::fromUtf8(std::string("直前に使っていたウィンドウには自動で入力できません。") +
                                  kCopied);
        case DeliveryResult::FocusLost:
            return sjis::fromUtf8("入力中に別のウィンドウに切り替わったため、" + progress + kCopied);
        case DeliveryResult::KeyFailed:
            return sjis::fromUtf8("キーを送れなかったため、" + progress + kCopied);
        default:  // the results a paste shares, such as another program taking the clipboard
            return DeliveryNoticeText(outcome.result, DeliveryAction::Paste);
    }
}

std::string ConsentChangeNoticeText(NativeKeyboard::Change change, bool consentKept) {
    using Change = NativeKeyboard::Change;
    const char* const nextClick = consentKept ? "次のクリックで、前回の許可を使って再開します。"
                                              : "次のクリックで、もう一度許可を求めます。";
    switch (change) {
        case Change::Allowed:
            return sjis::fromUtf8(
                "「リモートデスクトップ」が許可されました。次のクリックから、キーボードで入力中の"
                "ウィンドウに貼り付けます。");
        case Change::Refused:
            return DeliveryNoticeText(DeliveryResult::ConsentRefused, DeliveryAction::Paste);
        case Change::EndedByDesktop:
            return sjis::fromUtf8(std::string("「リモートデスクトップ」が終了しました。") + nextClick);
        case Change::ServiceRestarted:
            return sjis::fromUtf8(std::string("「リモートデスクトップ」のサービスが再起動したため、"
                                              "接続が切れました。") +
                                  nextClick);
        case Change::NotHonoured:
            return sjis::fromUtf8(
                "前回の「リモートデスクトップ」の許可は使えなくなりました。次のクリックで、もう一度許可を"
                "求めます。");
        case Change::Failed:
            return sjis::fromUtf8(
                "「リモートデスクトップ」を使えないため、Wayland のウィンドウには貼り付けられません。"
                "クリックした項目はクリップボードにコピーされます。");
        case Change::Hung:
            return sjis::fromUtf8(
                "「リモートデスクトップ」が応答しないため、Wayland のウィンドウには貼り付けられません。"
                "デスクトップのサービスが再起動するまで、クリックした項目はクリップボードにコピーだけされます"
                "。");
    }
    return {};
}

int NoticeShowMilliseconds(std::size_t characters) {
    constexpr std::size_t kReadAtOnce = 60;  // a sentence or two, read within the shortest showing
    constexpr int kPerFurtherCharacter = 60;
    constexpr int kLongest = 12000;
    if (characters <= kReadAtOnce) {
        return kNoticeShowMilliseconds;
    }
    return std::min(kLongest, kNoticeShowMilliseconds +
                                  static_cast<int>(characters - kReadAtOnce) * kPerFurtherCharacter);
}

Rect NoticeGeometry(const Rect& anchor, Size size, const Rect& screenArea) {
    long long y = anchor.yEnd() + kNoticeGap;
    if (y + size.height > screenArea.yEnd()) {
        y = static_cast<long long>(anchor.y) - kNoticeGap - size.height;
    }
    return {StartInside(anchor.x, size.width, screenArea.x, screenArea.xEnd()),
            StartInside(y, size.height, screenArea.y, screenArea.yEnd()), size.width, size.height};
}
