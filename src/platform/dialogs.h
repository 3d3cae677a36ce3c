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

// The window a question belongs to, as the window system knows it (a QWidget* in the Qt program, an HWND in
// the Win32 program); null stands for the toolbar.
using AskingWindow = void*;

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    // Shows the request over the asking window, centred on it, or centred on the screen when the toolbar
    // asks; returns the answer.
    virtual DialogAnswer ask(const DialogRequest& request) = 0;

    AskingWindow askingWindow() const { return askingWindow_; }
    void setAskingWindow(AskingWindow window) { askingWindow_ = window; }

  private:
    AskingWindow askingWindow_ = nullptr;
};

// Makes a dialog window the asking window while it is open, and gives the role back when it closes, so a
// dialog opened from another dialog returns its questions to the opener afterwards.
class AskingWindowScope {
  public:
    AskingWindowScope(Dialogs& dialogs, AskingWindow window)
        : dialogs_(dialogs), previous_(dialogs.askingWindow()) {
        dialogs_.setAskingWindow(window);
    }
    ~AskingWindowScope() { dialogs_.setAskingWindow(previous_); }
    AskingWindowScope(const AskingWindowScope&) = delete;
    AskingWindowScope& operator=(const AskingWindowScope&) = delete;

  private:
    Dialogs& dialogs_;
    AskingWindow previous_;
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
