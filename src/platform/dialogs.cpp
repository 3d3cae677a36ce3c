#include "platform/dialogs.h"

#include "data/sjis.h"

namespace dialog_buttons {
DialogButton yes() {
    return {DialogAnswer::Yes, sjis::fromUtf8("はい(&Y)")};
}
DialogButton no() {
    return {DialogAnswer::No, sjis::fromUtf8("いいえ(&N)")};
}
DialogButton ok() {
    return {DialogAnswer::Ok, "OK"};
}
}  // namespace dialog_buttons

DialogRequest informationNotice(const std::string& text) {
    return {text,
            sjis::fromUtf8("情報"),
            DialogIcon::Information,
            {dialog_buttons::yes()},
            DialogAnswer::Yes,
            DialogAnswer::Yes};
}

DialogRequest exclamationQuestion(const std::string& text, const std::string& caption) {
    return {text,
            caption,
            DialogIcon::Exclamation,
            {{DialogAnswer::Yes, {}}, {DialogAnswer::No, {}}},
            DialogAnswer::Yes,
            DialogAnswer::No};
}

DialogRequest plainNotice(const std::string& text, const std::string& caption, DialogIcon icon) {
    return {text, caption, icon, {dialog_buttons::ok()}, DialogAnswer::Ok, DialogAnswer::Ok};
}
