#pragma once

#include "platform/win32/win32_handle.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

// A copy of the real zenporo.exe in a fresh folder of its own, with the files a test puts beside it, driven
// through the mouse as a user drives it. It keeps its log (ZENPORO_LOG) in that folder.
class ZenporoProgram {
  public:
    using Files = std::vector<std::pair<std::wstring, std::string>>;  // name beside the program, bytes

    explicit ZenporoProgram(const Files& files = {});
    ZenporoProgram(const ZenporoProgram&) = delete;
    ZenporoProgram& operator=(const ZenporoProgram&) = delete;
    ~ZenporoProgram();

    // Starts the program (from another current folder); the process, or null when it did not start.
    HANDLE start();
    // Its toolbar once shown, else nullptr.
    HWND waitForToolbar();
    HWND toolbar() const { return toolbar_; }

    // A left click, a right press, or the pointer resting on the change bar (0) or SpeedButton<number>.
    void click(int number);
    // A left click with Shift held: the Shift and the click in one input, so no event of the display comes
    // between them (under Wine, one would set the keys back to the display's own).
    void shiftClick(int number);
    void rightPress(int number);
    void pointAt(int number);

    // Waits until the program has logged one more paste, typing or Next key than when this was last asked
    // (each logs its end); false when it did not in time.
    bool waitForDelivery();
    // Waits until a popup menu of the program is shown, or no more shown; false when it did not in time.
    bool waitForMenu(bool shown = true);
    // Waits until the toolbar stands upright (vertical) or lies; false when it did not in time.
    bool waitForArrangement(bool vertical) const;
    std::string log() const { return fileBytes(L"zenporo.log"); }

    // Closes the toolbar as its close box does and waits for the process to end; false when it did not.
    bool close();
    std::string fileBytes(const std::wstring& name) const;
    const std::wstring& folder() const { return folder_; }

  private:
    POINT centreOf(int number) const;

    std::wstring folder_;
    std::vector<KernelHandle> processes_;
    HWND toolbar_ = nullptr;
    std::size_t deliveriesSeen_ = 0;
};

// Presses and releases the keys, in order, through the system's input.
void typeKeys(const std::vector<WORD>& keys);

// Waits until a visible top-level window of the class and process appears; nullptr when none does in time.
HWND waitForWindow(const wchar_t* windowClass, DWORD processId);

// The text in code page 932, as the program's files hold it.
std::string codePage932(const std::wstring& text);
