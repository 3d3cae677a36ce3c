#pragma once

#include "platform/clipboard.h"

// The desktop clipboard through Qt. The program owns the text it sets until another program takes the
// clipboard, as Qt does on every platform; on X11 the text is gone when the program ends unless a clipboard
// manager keeps it.
class QtClipboard : public Clipboard {
  public:
    bool setText(const std::string& sjisText) override;
    std::optional<std::string> text() override;
};
