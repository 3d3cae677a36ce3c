#pragma once

#include <string>
#include <vector>

// Questions, notices and the general error report. Logic asks through this interface so that every
// question path can be answered by a script in tests; texts are Shift-JIS bytes as everywhere inside.
enum class DialogIcon { None, Information, Exclamation, Error, Question };

enum class DialogAnswer { Ok, Cancel, Yes, No };

struct DialogButton {
    DialogAnswer answer;
    std::string caption;  // Shift-JIS; empty means the toolkit's own caption for the answer
};

struct DialogRequest {
    std::string text;
    std::string caption;
    DialogIcon icon = DialogIcon::None;
    std::vector<DialogButton> buttons;
    DialogAnswer defaultAnswer = DialogAnswer::Ok;
    DialogAnswer escapeAnswer = DialogAnswer::Ok;  // what Escape and the close box answer
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual DialogAnswer ask(const DialogRequest& request) = 0;
};

// The standard message dialog's button captions.
namespace dialog_buttons {
DialogButton yes();  // "はい(&Y)"
DialogButton no();   // "いいえ(&N)"
DialogButton ok();   // "OK"
}  // namespace dialog_buttons

// The information dialog with the single button "はい(&Y)" that the toolbar's notices use.
DialogRequest informationNotice(const std::string& text);
// A platform message box: Yes/No with an exclamation icon, Yes the default and Escape No.
DialogRequest exclamationQuestion(const std::string& text, const std::string& caption);
// A platform message box with an information icon and a single OK button.
DialogRequest plainNotice(const std::string& text, const std::string& caption, DialogIcon icon);
