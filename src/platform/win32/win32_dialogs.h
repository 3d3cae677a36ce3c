#pragma once

#include "platform/dialogs.h"
#include "platform/text_codec.h"

#include <windows.h>

#include <memory>
#include <type_traits>

// Shows each request as a task dialog: message boxes take their button captions from the Windows display
// language and have no set with a single "はい(&Y)", a task dialog shows any caption we give. Buttons without
// a caption of their own show Windows' caption for their answer. Needs common controls 6 (the program's
// manifest); without them it falls back to the message box nearest to the buttons asked for. The codec must
// outlive the dialogs.
class Win32Dialogs final : public Dialogs {
  public:
    explicit Win32Dialogs(const TextCodec& codec, HWND owner = nullptr) : codec_(codec), owner_(owner) {}
    // The window that asks: the dialog is modal to it and centred over it.
    void setOwner(HWND owner) { owner_ = owner; }
    HWND owner() const { return owner_; }

    DialogAnswer ask(const DialogRequest& request) override;

  private:
    struct LibraryFreer {
        void operator()(HMODULE library) const;
    };
    void* taskDialogIndirect();

    const TextCodec& codec_;
    HWND owner_;
    // The common controls library and its TaskDialogIndirect, looked up at the first question.
    std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFreer> controls_;
    void* taskDialogIndirect_ = nullptr;
    bool controlsLookedUp_ = false;
};
