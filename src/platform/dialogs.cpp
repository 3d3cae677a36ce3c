#include "platform/dialogs.h"

// The standard texts as Shift-JIS bytes, so the interface needs none of the program's text conversion.
namespace {
constexpr const char* kYes = "\x82\xcd\x82\xa2(&Y)";         // はい(&Y)
constexpr const char* kNo = "\x82\xa2\x82\xa2\x82\xa6(&N)";  // いいえ(&N)
constexpr const char* kInformation = "\x8f\xee\x95\xf1";     // 情報
}  // namespace

namespace dialog_buttons {
DialogButton yes() {
    return {DialogAnswer::Yes, kYes};
}
DialogButton no() {
    return {DialogAnswer::No, kNo};
}
DialogButton ok() {
    return {DialogAnswer::Ok, "OK"};
}
}  // namespace dialog_buttons

DialogRequest informationNotice(const std::string& text) {
    return {text,
            kInformation,
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
