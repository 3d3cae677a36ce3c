#pragma once

#include "platform/dialogs.h"
#include "platform/text_codec.h"

#include <windows.h>

// Shows each request as a task dialog: message boxes take their button captions from the Windows display
// language and have no set with a single "はい(&Y)", a task dialog shows any caption we give. Buttons without
// a caption of their own show Windows' caption for their answer. Needs common controls 6 (the program's
// manifest); without them it falls back to the nearest message box. The codec must outlive the dialogs.
class Win32Dialogs final : public Dialogs {
  public:
    explicit Win32Dialogs(const TextCodec& codec, HWND owner = nullptr) : codec_(codec), owner_(owner) {}
    // The window that asks: the dialog is modal to it and centred over it.
    void setOwner(HWND owner) { owner_ = owner; }
    HWND owner() const { return owner_; }

    DialogAnswer ask(const DialogRequest& request) override;

  private:
    const TextCodec& codec_;
    HWND owner_;
};
