#pragma once

#include "win32/dialogs/modal_dialog.h"

class Shell;
class TextCodec;

// The version box "ﾊﾞｰｼﾞｮﾝ情報": the product, its version and icon, a comment, and two labels that hand the
// author's e-mail address and home page to the shell.
class AboutBox final : public ModalDialog {
  public:
    AboutBox(Shell& shell, const TextCodec& codec, HICON programIcon);

  private:
    void onInit() override;
    void onCommand(int id, int code, HWND control) override;
    std::optional<INT_PTR> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void Label1Click();
    void Label2Click();
    void openAndClose(const std::u16string& address);

    Shell& shell_;
    const TextCodec& codec_;
    HICON programIcon_;
};

// Shows a fresh version box modally over owner, with the program's icon and the comment.
void ShowAboutBox(HWND owner, Shell& shell, const TextCodec& codec);
