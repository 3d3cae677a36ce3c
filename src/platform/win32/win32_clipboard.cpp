#include "platform/win32/win32_clipboard.h"

#include "platform/win32/win32_text_codec.h"

#include <windows.h>

#include <cstring>

namespace {

// Another program may hold the clipboard open for a moment (a clipboard manager reading our text). Ten tries
// 10 ms apart wait out such a moment without a noticeable delay.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryDelayMs = 10;

constexpr LCID kJapaneseLocale = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);

// Keeps the clipboard open for the life of the object.
class OpenClipboardSession {
  public:
    explicit OpenClipboardSession(HWND owner) {
        for (int attempt = 0; attempt < kOpenAttempts && !open_; ++attempt) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) {
                Sleep(kOpenRetryDelayMs);
            }
        }
    }
    OpenClipboardSession(const OpenClipboardSession&) = delete;
    OpenClipboardSession& operator=(const OpenClipboardSession&) = delete;
    ~OpenClipboardSession() {
        if (open_) {
            CloseClipboard();
        }
    }
    bool isOpen() const { return open_; }

  private:
    bool open_ = false;
};

// Movable global memory holding a copy of the bytes; the clipboard takes it over on success.
class ClipboardMemory {
  public:
    ClipboardMemory(const void* data, std::size_t size) : memory_(GlobalAlloc(GMEM_MOVEABLE, size)) {
        if (memory_ == nullptr) {
            return;
        }
        void* const target = GlobalLock(memory_);
        if (target == nullptr) {
            GlobalFree(memory_);
            memory_ = nullptr;
            return;
        }
        std::memcpy(target, data, size);
        GlobalUnlock(memory_);
    }
    ClipboardMemory(const ClipboardMemory&) = delete;
    ClipboardMemory& operator=(const ClipboardMemory&) = delete;
    ~ClipboardMemory() {
        if (memory_ != nullptr) {
            GlobalFree(memory_);
        }
    }

    // Hands the memory to the clipboard, which owns it from then on.
    bool placeAs(UINT format) {
        if (memory_ == nullptr || SetClipboardData(format, memory_) == nullptr) {
            return false;
        }
        memory_ = nullptr;
        return true;
    }

  private:
    HGLOBAL memory_;
};

// The zero-terminated text of a clipboard format; nothing when the clipboard holds none.
std::optional<std::wstring> readUnicodeText() {
    const HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) {
        return std::nullopt;
    }
    const auto* const text = static_cast<const wchar_t*>(GlobalLock(data));
    if (text == nullptr) {
        return std::nullopt;
    }
    const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < capacity && text[length] != L'\0') {
        ++length;
    }
    std::wstring result(text, length);
    GlobalUnlock(data);
    return result;
}

// A message-only window: the clipboard needs an owner window for SetClipboardData to succeed.
class OwnerWindow {
  public:
    OwnerWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr)) {}
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    ~OwnerWindow() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }
    HWND get() const { return window_; }

  private:
    HWND window_;
};

class Win32Clipboard final : public Clipboard {
  public:
    explicit Win32Clipboard(const TextCodec& codec) : codec_(codec) {}

    bool setText(const std::string& sjisText) override {
        const std::wstring wide = sjisToWide(codec_, sjisText);
        OpenClipboardSession session(owner_.get());
        if (owner_.get() == nullptr || !session.isOpen() || !EmptyClipboard()) {
            return false;
        }
        ClipboardMemory unicode(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        ClipboardMemory bytes(sjisText.c_str(), sjisText.size() + 1);
        ClipboardMemory locale(&kJapaneseLocale, sizeof kJapaneseLocale);
        if (!unicode.placeAs(CF_UNICODETEXT)) {
            return false;
        }
        // The Unicode text is what matters; the other two only help older programs.
        bytes.placeAs(CF_TEXT);
        locale.placeAs(CF_LOCALE);
        return true;
    }

    std::optional<std::string> text() override {
        OpenClipboardSession session(owner_.get());
        if (!session.isOpen()) {
            return std::nullopt;
        }
        const std::optional<std::wstring> wide = readUnicodeText();
        if (!wide) {
            return std::nullopt;
        }
        return wideToSjis(codec_, *wide);
    }

  private:
    const TextCodec& codec_;
    OwnerWindow owner_;
};

}  // namespace

std::unique_ptr<Clipboard> makeWin32Clipboard(const TextCodec& codec) {
    return std::make_unique<Win32Clipboard>(codec);
}
