#pragma once

#include "platform/key_input.h"
#include "platform/x11/x11_display.h"

#include <memory>

// Synthetic keys through the XTest extension, on the connection given. Keys still down when it is destroyed
// are released then. Text is typed on spare keycodes lent to its characters, given back two seconds after
// the last typed key, or when it is destroyed.
std::unique_ptr<KeyInput> makeX11KeyInput(std::shared_ptr<X11Display> display);
