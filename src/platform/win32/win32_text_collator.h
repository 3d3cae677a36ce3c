#pragma once

#include "platform/text_collator.h"

#include <string>

// The user's sort order through CompareStringEx: the locale's linguistic order, letter case significant.
class Win32TextCollator final : public TextCollator {
  public:
    // localeName as Windows names locales ("ja-JP"); empty for the user's own locale.
    explicit Win32TextCollator(std::wstring localeName = {});

    int compare(std::u16string_view a, std::u16string_view b) const override;

  private:
    std::wstring localeName_;
};
