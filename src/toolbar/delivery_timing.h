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

// Between two typed characters. Drop-down lists select by what was typed within about a second, so the keys
// go at a steady pace with no gap near that; a few milliseconds let a busy target keep each key in order and
// still type 200 characters a second.
inline constexpr milliseconds kTypingPace{3};

// How long a paste into a native Wayland window waits for the compositor to take the new X11 clipboard (it
// asks for the formats, then reads the text), and then for the native window to fetch the text after Ctrl+V
// before TAB or ENTER follows. Both come within milliseconds on a live desktop; a second covers a shell that
// stalls for a moment, and beyond it the user would notice the toolbar hanging. Nothing is sent blind when
// the cap runs out.
inline constexpr milliseconds kCompositorTakeTimeout{1000};
inline constexpr milliseconds kPasteFetchTimeout{1000};

// How long a click waits for the desktop to restore an allowance it kept from an earlier run, so that the
// first click of a run pastes: a restore without a dialog needs no user, only a few calls over the bus.
// Half a second is not yet felt as a hang; a later answer is told by a notice, never followed by a paste.
inline constexpr milliseconds kConsentRestoreTimeout{500};

// sway and the other wlroots compositors: how long the window the user was in may take to be activated again
// after the click on the toolbar took the keyboard focus (it comes within milliseconds on a compositor that
// is not stalled).
inline constexpr milliseconds kSeatActivationTimeout{500};

}  // namespace delivery_timing
