#pragma once

#include "data/birth_date.h"

#include <optional>
#include <string>

struct EraYear {
    std::string eraName;  // Shift-JIS, e.g. 昭和
    int year = 1;         // 1 for the era's first year
};

// The Japanese era the date falls in (明治 from 1868-01-01 on); nothing for an earlier date.
std::optional<EraYear> JapaneseEraOf(const CalendarDate& date);
