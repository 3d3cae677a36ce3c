#include "win32/dialogs/box_input_mode.h"

#include <imm.h>

namespace {

// The window's input context for the life of the object; null when the window has none.
class InputContext {
  public:
    explicit InputContext(HWND window) : window_(window), context_(ImmGetContext(window)) {}
    InputContext(const InputContext&) = delete;
    InputContext& operator=(const InputContext&) = delete;
    ~InputContext() {
        if (context_ != nullptr) {
            ImmReleaseContext(window_, context_);
        }
    }
    HIMC get() const { return context_; }

  private:
    HWND window_;
    HIMC context_;
};

}  // namespace

bool JapaneseLayout(HKL layout) {
    return PRIMARYLANGID(LOWORD(reinterpret_cast<UINT_PTR>(layout))) == LANG_JAPANESE;
}

void SetBoxInputMode(HWND edit, BoxInputMode mode) {
    // The modes are a Japanese input method's: another language's would be switched to its own native mode.
    if (mode == BoxInputMode::Unchanged ||
        !JapaneseLayout(GetKeyboardLayout(GetWindowThreadProcessId(edit, nullptr)))) {
        return;
    }
    const InputContext context(edit);
    if (context.get() == nullptr) {
        return;
    }
    if (mode == BoxInputMode::Off) {
        ImmSetOpenStatus(context.get(), FALSE);
        return;
    }
    ImmSetOpenStatus(context.get(), TRUE);
    DWORD conversion = 0;
    DWORD sentence = 0;
    // Unread, the mode would be set from nothing, and the user's romaji input lost.
    if (!ImmGetConversionStatus(context.get(), &conversion, &sentence)) {
        return;
    }
    // IME_CMODE_ROMAN stays as it was: without it Microsoft IME reads the keys by the kana layout.
    conversion |= IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
    if (mode == BoxInputMode::Katakana) {
        conversion |= IME_CMODE_KATAKANA;
    } else {
        conversion &= ~static_cast<DWORD>(IME_CMODE_KATAKANA);
    }
    ImmSetConversionStatus(context.get(), conversion, sentence);
}

KeptInputMethodState::KeptInputMethodState(HWND window) : window_(window) {
    const InputContext context(window_);
    if (context.get() == nullptr) {
        return;
    }
    open_ = ImmGetOpenStatus(context.get());
    known_ = ImmGetConversionStatus(context.get(), &conversion_, &sentence_) != FALSE;
}

KeptInputMethodState::~KeptInputMethodState() {
    if (!known_) {
        return;
    }
    const InputContext context(window_);
    if (context.get() == nullptr) {
        return;
    }
    ImmSetConversionStatus(context.get(), conversion_, sentence_);
    ImmSetOpenStatus(context.get(), open_);
}
