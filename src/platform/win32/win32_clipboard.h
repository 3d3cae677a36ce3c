#pragma once

#include "platform/clipboard.h"
#include "platform/text_codec.h"

#include <memory>

// The clipboard as CF_UNICODETEXT, with the same text as code page 932 bytes in CF_TEXT for programs that
// only read that (Windows would otherwise derive CF_TEXT from the system's own code page, which on a
// non-Japanese system turns every kana into "?"). The codec must outlive the clipboard.
std::unique_ptr<Clipboard> makeWin32Clipboard(const TextCodec& codec);
