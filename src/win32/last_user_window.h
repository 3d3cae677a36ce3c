#pragma once

#include <memory>
#include <type_traits>

#include <windows.h>

// The window of another program that the user last worked in, followed through the system's foreground
// changes; the shell's own windows (the task bar, the task switchers, the start menu) are passed over. One
// at a time per process: the toolbar's.
class LastUserWindow {
  public:
    // Starts from the foreground window of the moment.
    LastUserWindow();
    LastUserWindow(const LastUserWindow&) = delete;
    LastUserWindow& operator=(const LastUserWindow&) = delete;
    ~LastUserWindow();

    // Makes it the foreground window again; false when it is gone, hidden or minimised.
    bool giveForegroundBack() const;

  private:
    struct HookRemover {
        void operator()(HWINEVENTHOOK hook) const { UnhookWinEvent(hook); }
    };

    static void CALLBACK foregroundChanged(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                           LONG child, DWORD thread, DWORD time);
    void follow(HWND window);

    HWND window_ = nullptr;
    std::unique_ptr<std::remove_pointer_t<HWINEVENTHOOK>, HookRemover> hook_;
};

// Whether the window belongs to this process.
bool IsOwnWindow(HWND window);
