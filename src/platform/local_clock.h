#pragma once

#include <chrono>

// Today's date where the user is, as the operating system's clock and time zone give it. The standard
// library of the compilers in use has no time-zone database, so the platform answers.
std::chrono::year_month_day LocalToday();
