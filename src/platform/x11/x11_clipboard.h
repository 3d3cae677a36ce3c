#pragma once

#include "platform/clipboard.h"

#include <memory>

// The clipboard of a program on Qt's xcb platform: the given clipboard, plus what only the X server can tell.
// Whether it still names this program the owner of CLIPBOARD (Qt only logs that it could not take it), and
// the requests other programs made for the text since it was set, seen before Qt's clipboard answers them.
// Elsewhere it is the given clipboard alone.
std::unique_ptr<Clipboard> makeX11Clipboard(std::unique_ptr<Clipboard> clipboard);
