#pragma once

#include "dialogs/user_file_editor_layout.h"

#include <windows.h>

// Puts the input method in the state a box asks for: off, or on in full-width hiragana or katakana. Only the
// kana and width bits change; romaji or kana-key input and every other bit stay the user's. Nothing changes
// unless the box's thread has a Japanese keyboard layout, nor the mode when it cannot be read.
void SetBoxInputMode(HWND edit, BoxInputMode mode);

// Whether the keyboard layout is Japanese (its input method's modes are the ones the boxes ask for).
bool JapaneseLayout(HKL layout);

// The input method's open state and modes of the window's thread when made, given back on destruction; the
// window must still exist then (input contexts belong to a thread and are reached through its windows).
class KeptInputMethodState {
  public:
    explicit KeptInputMethodState(HWND window);
    KeptInputMethodState(const KeptInputMethodState&) = delete;
    KeptInputMethodState& operator=(const KeptInputMethodState&) = delete;
    ~KeptInputMethodState();

  private:
    HWND window_;
    bool known_ = false;
    BOOL open_ = FALSE;
    DWORD conversion_ = 0;
    DWORD sentence_ = 0;
};
