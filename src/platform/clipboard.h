#pragma once

#include <optional>
#include <string>

// The system clipboard's plain text, as Shift-JIS bytes on our side.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents; false when the clipboard cannot be taken.
    virtual bool setText(const std::string& sjisText) = 0;
    // The clipboard's plain text, or nothing when it holds no text.
    virtual std::optional<std::string> text() = 0;
};
