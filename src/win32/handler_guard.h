#pragma once

#include <exception>
#include <string>

// Runs a window's message handler. What it throws must not unwind through user32: it goes to report (its
// what(), or "unknown exception"), and fallback() then gives the message's result.
template <typename Handler, typename Report, typename Fallback>
auto CallCatchingAll(Handler&& handler, Report&& report, Fallback&& fallback) -> decltype(handler()) {
    std::string what = "unknown exception";
    try {
        return handler();
    } catch (const std::exception& error) {
        what = error.what();
    } catch (...) {
    }
    try {
        report(what.c_str());
    } catch (...) {
        // Reporting failed as well; the message still gets its result.
    }
    return fallback();
}
