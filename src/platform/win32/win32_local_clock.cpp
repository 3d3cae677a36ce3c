#include "platform/local_clock.h"

#include <windows.h>

std::chrono::year_month_day LocalToday() {
    SYSTEMTIME local{};
    GetLocalTime(&local);
    return std::chrono::year_month_day{std::chrono::year{local.wYear}, std::chrono::month{local.wMonth},
                                       std::chrono::day{local.wDay}};
}
