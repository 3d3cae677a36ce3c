#pragma once

#include "platform/native_keyboard.h"
#include "toolbar/delivery.h"
#include "toolbar/geometry.h"

#include <string>
#include <string_view>

// Which toolbar action a delivery result comes from: a field click has already put its text on the
// clipboard, the Next button has copied nothing.
enum class DeliveryAction { Paste, NextKey };

// The short notice (Shift-JIS) that tells the user why nothing reached the window below; empty for Sent.
std::string DeliveryNoticeText(DeliveryResult result, DeliveryAction action);

// The notice (Shift-JIS) of a typed text: why it stopped and how far it got, or, when every key went out,
// that a drop-down list may have chosen another item for a text of one repeated character ("11": lists pick
// by the first character again at every repeat); empty when there is nothing to say.
std::string TypingNoticeText(const TypingOutcome& outcome, std::u32string_view text);

// The notice (Shift-JIS) of a change of the keys for native windows outside a click (the consent dialog's
// answer, the session's end), saying what the next click does: with an allowance kept, it restores it.
std::string ConsentChangeNoticeText(NativeKeyboard::Change change, bool consentKept);

// How long a notice stays before it goes away by itself: long enough to read one sentence, longer for a
// notice of more characters.
inline constexpr int kNoticeShowMilliseconds = 3000;
int NoticeShowMilliseconds(std::size_t characters);

// Where a notice of the given size goes: under the anchor (the toolbar's frame), left edges aligned, or above
// it when the screen area has no room below; always inside the area.
Rect NoticeGeometry(const Rect& anchor, Size size, const Rect& screenArea);
