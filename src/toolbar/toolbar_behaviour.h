#pragma once

#include "data/birth_date.h"
#include "platform/native_keyboard.h"
#include "platform/steady_clock.h"
#include "settings/toolbar_settings.h"
#include "toolbar/click_gate.h"
#include "toolbar/composition.h"
#include "toolbar/current_user.h"
#include "toolbar/delivery.h"
#include "toolbar/delivery_notice.h"
#include "toolbar/input_time.h"
#include "toolbar/text_entry.h"
#include "toolbar/toolbar_hints.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class Clipboard;
class Dialogs;
class Log;
class ToolbarView;
struct PlatformServices;

// What the toolbar's behaviour needs from outside; main builds the real ones, tests hand in fakes.
struct ToolbarServices {
    Dialogs* dialogs = nullptr;
    Clipboard* clipboard = nullptr;
    Log* log = nullptr;  // user files left out at start, settings not read or written; none in tests
    std::function<CalendarDate()> today = TodayLocal;
    std::string userFileFolder;  // the file system's own bytes, with a trailing separator
    // Pastes the clipboard into the window below, and presses the Next key there; every result but Sent is
    // shown to the user as a short notice near the toolbar. Empty functions only copy.
    std::function<DeliveryResult(const ToolbarSettings&, bool replace)> pasteIntoWindowBelow;
    std::function<DeliveryResult(const ToolbarSettings&)> pressNextKey;
    // Types a text into the window below as key strokes instead; empty where the platform cannot.
    std::function<TypingOutcome(const ToolbarSettings&, std::u32string_view)> typeIntoWindowBelow;
    // The keys for native Wayland windows that the delivery uses; its changes outside a click (the consent
    // dialog's answer, the session's end) are shown as notices. Null where there is none.
    NativeKeyboard* nativeKeyboard = nullptr;
    // Where the click on the toolbar took the keyboard from the user's window (sway and the other wlroots
    // compositors), gives it back after a click that sends nothing; empty elsewhere.
    std::function<void()> giveKeyboardBack;
    // Places clicks and deliveries in time; null: the standard library's steady clock.
    SteadyClock* clock = nullptr;
    // The platform's double-click time, which each program reads from its toolkit; zero: none.
    std::chrono::milliseconds doubleClickTime{0};
    // Serves the program's events, the user's input held back, until done() holds or the cap runs out; true
    // when done() held. Lets a window fetch a pasted text before a click that follows at once replaces it;
    // empty: no wait.
    std::function<bool(std::chrono::milliseconds cap, const std::function<bool()>& done)> waitServingEvents;
};

// The behaviour's services on the platform's own. The delivery finds the window below from the toolbar's
// window, which toolbarWindow gives once the window exists; without a window order or keys the toolbar only
// copies.
ToolbarServices MakeToolbarServices(PlatformServices& platform, std::function<WindowHandle()> toolbarWindow);

// What the toolbar does, whichever window shows it: the start order, the clicks, the faces and hints it
// chooses, and what it writes at the end. It owns the settings, the picture paths and the current user;
// the window draws, places and decodes.
class ToolbarBehaviour {
  public:
    ToolbarBehaviour(ToolbarServices services, ToolbarView& view);
    ~ToolbarBehaviour();
    ToolbarBehaviour(const ToolbarBehaviour&) = delete;
    ToolbarBehaviour& operator=(const ToolbarBehaviour&) = delete;

    // Puts the program's caption, the faces and the layout's hints on a newly built view.
    void showLayoutState();

    // Reads the settings file value by value, builds the faces and chooses the first user file: none opens
    // the editor, one is loaded, more open the list. A read that fails stops here silently.
    void FormCreate();
    // Writes the settings file; a failure is shown as the general error report before this returns. Runs
    // once: later calls do nothing. Call it when the toolbar is closed, before the event loop is asked to
    // end, so the report runs in a loop that no pending quit can end.
    void FormDestroy();
    // Writes the settings file now, as the desktop session ends; a failure is left for FormDestroy.
    void keepSettings();

    // A field button (no item) or a field menu item: compose, then a notice, or the text on the clipboard
    // and, with PasteOK, pasted into the window below, or typed there for a click made with Shift held.
    void SpeedButton7Click(ClickSender sender, int tag, std::optional<MenuItemId> item,
                           TextEntry entry = TextEntry::Paste);
    // The Next button.
    void SpeedButton18Click();
    // A left click on a field button or the Next button (SpeedButton<number>, with its Tag) made at the time
    // its input event records: the click rule of ClickGate runs it or lets it go, and logs what it let go.
    void keyButtonClick(int number, int tag, InputEventTime eventTime, TextEntry entry = TextEntry::Paste);
    // The open button, after its click has toggled it.
    void SpeedButton3Click();
    // The change bar.
    void ChangeBtnClick();

    void ArrangeButtons();
    void ApplyButtonFaces();
    // LoadButtonImages from the picture paths, then ApplyButtonFaces.
    void rebuildFaces();
    void UpdateNameFace();
    void UpdateHints();

    Dialogs& dialogs() { return *services_.dialogs; }
    // The caption the task bar shows, and the caption of the general error report.
    const std::string& applicationTitle() const { return applicationTitle_; }
    CurrentUser& currentUser() { return user_; }
    ToolbarSettings& settings() { return settings_; }
    // The width every text is given in for the rest of the run (the 文字幅 menu); the stored one at start.
    TextWidth textWidth() const { return textWidth_; }
    void setTextWidth(TextWidth width) { textWidth_ = width; }
    std::vector<std::string>& buttonImagePaths() { return buttonImagePaths_; }
    const ToolbarHints& hints() const { return hints_; }
    const std::string& settingsFile() const { return settingsFile_; }

  private:
    void setCaptionAndTitle(const std::string& caption);
    void chooseFirstUserFile();
    // Runs a delivery, during whose waits changes of the native keyboard are kept for its notice.
    void runDelivery(const std::function<void()>& delivery);
    // A window reads the clipboard only when it handles the Ctrl+V, after the paste returned; a text put on
    // the clipboard before then would be pasted in its place. So the next text waits for that read, where
    // the window system shows it, or for a short while after the paste.
    void rememberPaste();
    void letLastPasteBeFetched();
    void giveKeyboardBack();
    void showDeliveryNotice(DeliveryResult result, DeliveryAction action);
    void showNotice(std::string text);
    void writeSettings() const;
    void log(const std::string& utf8Message) const;
    void logClickLetGo(int number, std::optional<ClickGate::Verdict> verdict) const;

    ToolbarServices services_;
    ToolbarView& view_;
    ToolbarSettings settings_;
    TextWidth textWidth_ = TextWidth::AsStored;
    std::vector<std::string> buttonImagePaths_;
    bool facesAreBuiltIn_ = true;  // the view holds the built-in pictures only
    std::string settingsFile_;
    std::string applicationTitle_;
    ToolbarHints hints_;
    CurrentUser user_;
    bool destroyed_ = false;
    bool delivering_ = false;  // a click's delivery runs (it may wait, serving events)
    SystemSteadyClock systemClock_;
    SteadyClock& clock_;
    InputTimeline inputTimes_;
    ClickGate clickGate_;
    struct Paste {
        SteadyClock::time_point at;
        std::size_t requestsBefore;  // the clipboard's requests seen until the paste returned
    };
    std::optional<Paste> lastPaste_;
    std::optional<NativeKeyboard::Change> changeDuringClick_;
};
