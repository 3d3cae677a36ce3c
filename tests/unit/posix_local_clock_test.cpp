#include "platform/local_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace {

using namespace std::chrono;

// 26 hours apart, the two zones never share a date, so a date taken from UTC fails one of them.
TEST(PosixLocalClock, TodayIsTheDateWhereTheUserIs) {
    const char* saved = std::getenv("TZ");
    const std::optional<std::string> savedZone = saved ? std::optional<std::string>(saved) : std::nullopt;
    struct Zone {
        const char* tz;  // POSIX zones count hours west of Greenwich
        hours offset;
    };
    for (const Zone zone : {Zone{"UTC-14", hours(14)}, Zone{"UTC+12", hours(-12)}}) {
        ::setenv("TZ", zone.tz, 1);
        ::tzset();
        const year_month_day before{floor<days>(system_clock::now() + zone.offset)};
        const year_month_day today = LocalToday();
        const year_month_day after{floor<days>(system_clock::now() + zone.offset)};
        EXPECT_TRUE(today == before || today == after) << zone.tz;
    }
    if (savedZone) {
        ::setenv("TZ", savedZone->c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

}  // namespace
