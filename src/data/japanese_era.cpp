#include "data/japanese_era.h"

#include "data/sjis.h"

#include <array>
#include <string_view>

namespace {

struct Era {
    std::string_view nameUtf8;
    CalendarDate firstDay;
};

// Newest first, so the first era that started on or before a date is the one it falls in.
constexpr std::array<Era, 5> kEras{{
    {"令和", {2019, 5, 1}},
    {"平成", {1989, 1, 8}},
    {"昭和", {1926, 12, 25}},
    {"大正", {1912, 7, 30}},
    {"明治", {1868, 1, 1}},
}};

}  // namespace

std::optional<EraYear> JapaneseEraOf(const CalendarDate& date) {
    for (const Era& era : kEras) {
        if (era.firstDay <= date) {
            return EraYear{sjis::fromUtf8(era.nameUtf8), date.year - era.firstDay.year + 1};
        }
    }
    return std::nullopt;
}
