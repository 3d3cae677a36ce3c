#pragma once

#include <string_view>

// The order in which the user's language sorts names (user files in their list): locale-aware, with letter
// case significant, so names that differ only in case keep a fixed order. Text is Unicode (UTF-16).
class TextCollator {
  public:
    virtual ~TextCollator() = default;

    // Below zero when a sorts before b, zero when they sort alike, above zero when a sorts after b.
    virtual int compare(std::u16string_view a, std::u16string_view b) const = 0;
};
