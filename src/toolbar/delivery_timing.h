#pragma once

#include <chrono>

// Every wait of the keystroke delivery, in one place.
namespace delivery_timing {

using std::chrono::milliseconds;

// Between activating the window below and pasting: a target that has just been given the focus may still be
// redrawing or restoring its own focused field, and a Ctrl+V that arrives in that moment is lost in some
// applications. 100 ms has long been enough for that and is short enough not to be noticed.
inline constexpr milliseconds kPasteSettle{100};

// How often to ask whether the target has become active. Window managers answer an activation request within
// a few milliseconds; 10 ms keeps the polling cheap without adding a noticeable delay.
inline constexpr milliseconds kActivationPoll{10};

// How long to wait for the target to become active before giving up without sending a key. A busy desktop
// can take a few hundred milliseconds; beyond a second the user would notice the toolbar hanging, and a
// window that refuses the focus for that long is not going to take it.
inline constexpr milliseconds kActivationTimeout{1000};

// How long to wait for the user to let go of Shift, Ctrl or Alt before giving up without sending a key. A
// click on the toolbar made with a modifier held is usually let go within a moment; two seconds covers a slow
// release without leaving the toolbar stuck.
inline constexpr milliseconds kModifierReleaseTimeout{2000};

// Between putting the text on the clipboard and Ctrl+V in a native Wayland window. The compositor takes the
// new X11 clipboard only once it has asked this program for its formats; a Ctrl+V before that pastes the
// previous text. The answer takes a few milliseconds while the program serves its events.
inline constexpr milliseconds kNativeClipboardSettle{100};

// Between Ctrl+V and the TAB or ENTER after it in a native Wayland window. The window fetches the text from
// this program's clipboard through the compositor while it goes on reading keys, so a TAB sent at once can
// move the focus before the text arrives, and the text lands in the next box or nowhere. Fetching a short
// text through Xwayland takes a few tens of milliseconds on an idle desktop; 150 ms leaves room for a busy
// one.
inline constexpr milliseconds kNativePasteSettle{150};

}  // namespace delivery_timing
