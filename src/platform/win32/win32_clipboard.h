#pragma once

#include "platform/clipboard.h"
#include "platform/log.h"
#include "platform/text_codec.h"

#include <memory>
#include <optional>
#include <string>

// The clipboard as CF_UNICODETEXT, with the code page 932 bytes we hold in CF_TEXT and the Japanese locale in
// CF_LOCALE. Windows derives the text formats a program asks for and we did not place with the code page of
// CF_LOCALE (without it, that of the keyboard layout active when the text was placed, so on a system of
// another language a derived CF_TEXT would turn kana into "?"). The text is marked as not for the cloud
// clipboard. Who holds the clipboard when it cannot be opened goes to
// the log, when one is given. The codec and the log must outlive the clipboard.
std::unique_ptr<Clipboard> makeWin32Clipboard(const TextCodec& codec, Log* log = nullptr);

// The clipboard's text as Unicode, for the dialogs' own paste: whether the clipboard could be opened (another
// program may hold it), and its text, nothing when it holds none.
struct ClipboardRead {
    bool opened = false;
    std::optional<std::u16string> text;
};
ClipboardRead ReadClipboardText(Log* log = nullptr);

// Whether the clipboard holds text, without opening it.
bool ClipboardHoldsText();
