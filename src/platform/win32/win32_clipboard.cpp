#include "platform/win32/win32_clipboard.h"

#include "platform/win32/win32_handle.h"
#include "platform/win32/win32_path.h"
#include "platform/win32/win32_retry.h"
#include "platform/win32/win32_text_codec.h"

#include <windows.h>

#include <cstring>
#include <string>

namespace {

// Another program may hold the clipboard open for a moment (a clipboard manager or a remote-desktop client
// reading our text). Opening is tried again for about a second, first after 5 ms, then after twice the wait
// each time up to 200 ms, so a short hold costs little and a hung holder is given up on.
constexpr RetryTiming kOpenRetry{5, 200, 1000};

constexpr LCID kJapaneseLocale = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);
// Windows' cloud clipboard copies text to the user's other devices unless this format says 0; the local
// clipboard history stays the user's own choice.
constexpr const wchar_t* kCloudUploadFormat = L"CanUploadToCloudClipboard";
constexpr DWORD kNoCloudUpload = 0;

std::string programOf(DWORD processId) {
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
        return "?";
    }
    return Utf8Path(std::wstring_view(path, size));
}

// The window that holds the clipboard open, for the log: its title, class and program.
std::string clipboardHolder() {
    const HWND window = GetOpenClipboardWindow();
    if (window == nullptr) {
        return "a program that opened it without a window";
    }
    wchar_t title[256] = {};
    wchar_t kind[256] = {};
    // Reads the title without a message: a holder that hangs must not hang us too.
    InternalGetWindowText(window, title, 256);
    GetClassNameW(window, kind, 256);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return "the window \"" + Utf8Path(title) + "\" of class " + Utf8Path(kind) + ", process " +
           std::to_string(processId) + " " + programOf(processId);
}

// Keeps the clipboard open for the life of the object.
class OpenClipboardSession {
  public:
    OpenClipboardSession(HWND owner, Log* log)
        : open_(RetryWhileHeld(kOpenRetry, [owner] { return OpenClipboard(owner) != FALSE; })) {
        if (!open_ && log != nullptr) {
            log->write(LogCategory::Delivery,
                       "the clipboard could not be opened: held by " + clipboardHolder());
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

// A message-only window: the clipboard needs an owner window for SetClipboardData to succeed. Its class is
// a plain one of our own: the manifest redirects "STATIC" to the common controls, whose loading would
// lengthen every start by tens of milliseconds.
class OwnerWindow {
  public:
    OwnerWindow() : window_(create()) {}
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    ~OwnerWindow() {
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
    }
    HWND get() const { return window_; }

  private:
    static HWND create() {
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        constexpr const wchar_t* kClass = L"ZenporoClipboardOwner";
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kClass;
        RegisterClassW(&windowClass);  // fails harmlessly when a second clipboard registered it already
        return CreateWindowExW(0, kClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    }

    HWND window_;
};

class Win32Clipboard final : public Clipboard {
  public:
    Win32Clipboard(const TextCodec& codec, Log* log)
        : codec_(codec), log_(log), cloudUploadFormat_(RegisterClipboardFormatW(kCloudUploadFormat)) {}

    bool setText(const std::string& sjisText) override {
        const std::wstring wide = sjisToWide(codec_, sjisText);
        OpenClipboardSession session(owner_.get(), log_);
        if (owner_.get() == nullptr || !session.isOpen() || !EmptyClipboard()) {
            return false;
        }
        ClipboardMemory noCloud(&kNoCloudUpload, sizeof kNoCloudUpload);
        ClipboardMemory unicode(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        ClipboardMemory bytes(sjisText.c_str(), sjisText.size() + 1);
        ClipboardMemory locale(&kJapaneseLocale, sizeof kJapaneseLocale);
        // Personal details never go onto the clipboard without the mark that keeps them off the cloud.
        if (cloudUploadFormat_ == 0 || !noCloud.placeAs(cloudUploadFormat_) ||
            !unicode.placeAs(CF_UNICODETEXT)) {
            EmptyClipboard();
            return false;
        }
        // The Unicode text is what matters; the other two only help older programs.
        bytes.placeAs(CF_TEXT);
        locale.placeAs(CF_LOCALE);
        lastSet_ = sjisText;
        return true;
    }

    // The owner is whoever emptied the clipboard last: a program that replaced our text since owns it, and a
    // clipboard manager that put the same text back still gives a paste our text.
    bool ownsText() override {
        if (owner_.get() != nullptr && GetClipboardOwner() == owner_.get()) {
            return true;
        }
        return !lastSet_.empty() && text() == lastSet_;
    }

    std::optional<std::string> text() override {
        const ClipboardRead read = ReadClipboardText(log_);
        if (!read.text) {
            return std::nullopt;
        }
        return codec_.encode(*read.text).bytes;
    }

  private:
    const TextCodec& codec_;
    Log* log_;
    const UINT cloudUploadFormat_;
    OwnerWindow owner_;
    std::string lastSet_;
};

}  // namespace

ClipboardRead ReadClipboardText(Log* log) {
    const OpenClipboardSession session(nullptr, log);
    if (!session.isOpen()) {
        return {};
    }
    const std::optional<std::wstring> wide = readUnicodeText();
    return {true, wide ? std::optional<std::u16string>(fromWide(*wide)) : std::nullopt};
}

bool ClipboardHoldsText() {
    return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE ||
           IsClipboardFormatAvailable(CF_TEXT) != FALSE;
}

std::unique_ptr<Clipboard> makeWin32Clipboard(const TextCodec& codec, Log* log) {
    return std::make_unique<Win32Clipboard>(codec, log);
}
