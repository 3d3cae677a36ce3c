#pragma once

#include "platform/clipboard.h"
#include "platform/key_input.h"
#include "platform/sleeper.h"
#include "platform/steady_clock.h"
#include "toolbar/delivery_ports.h"
#include "toolbar/delivery_route.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The steps of a delivery that the routes share, written once: a paste, the waits for its fetch, typing.

// Sends a chord to the route's target, each key only while it is still the target.
using SendChord = std::function<DeliveryResult(std::initializer_list<Key>)>;

// Where a route sees the reads of the clipboard it set (a Wayland compositor's), how it waits for them while
// serving events.
struct FetchWatch {
    std::function<std::vector<ClipboardRequest>()> requests;  // since the text was set
    std::function<bool(std::chrono::milliseconds, const std::function<bool()>&)> waitServingEvents;
};

// What a paste did, with the time the window took to fetch the text for the log.
struct PasteOutcome {
    DeliveryResult result = DeliveryResult::Sent;
    std::string fetchedAfter;  // "12 ms" once the window fetched the text; empty otherwise
};

// Ctrl+V (Ctrl+A before it to replace), then the key after it. Where the route sees the reads (watch), the
// window's fetch after the first `seenBeforePaste` requests is waited for: TAB or ENTER sent before it could
// move the focus before the text arrives, or follow a paste that went nowhere (ENTER in a terminal runs its
// line); a paste no window fetched is told even with no key to follow. Where it sees none, the key follows at
// once.
PasteOutcome CtrlVThenKey(const PasteKeys& keys, const SendChord& send, const FetchWatch* watch,
                          std::size_t seenBeforePaste, SteadyClock& clock);

// Where a clipboard manager of the desktop reads every new text (seen before an earlier Ctrl+V), waits for
// its read of this one before the paste's snapshot, so that a late read of it never passes for the window's
// fetch. `managerReads` is the route's memory of that; set here when a read came before the Ctrl+V.
std::size_t RequestsBeforePaste(const FetchWatch& watch, bool& managerReads);

// Types the text as key strokes: keys made for as many characters as the platform can at once, the target
// checked before each character (stillTarget), at a steady pace. The outcome counts what was typed. A tab in
// the text is the Tab key that moves a date box to its next field; where the box's fields move on by
// themselves (fieldsMoveOnTheirOwn), it is left out.
TypingOutcome TypeCharacters(std::u32string_view text, KeyInput& keys,
                             const std::function<bool()>& stillTarget, Sleeper& sleeper,
                             bool fieldsMoveOnTheirOwn = false);

// Whether the window's date boxes move to their next field by themselves once one is full (Firefox), by its
// class as the window system names it (X11 WM_CLASS, a Win32 class, a Wayland app id).
bool DateFieldsMoveOnTheirOwn(std::string_view windowClass);

// Milliseconds from `from` to now, for the log: "12 ms".
std::string MillisecondsSince(SteadyClock::time_point from, SteadyClock& clock);
