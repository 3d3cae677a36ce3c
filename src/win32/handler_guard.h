#pragma once

#include <functional>
#include <string>

// Shows the general error report for what a procedure called by Windows threw, for as long as the object
// lives; the program's main window sets one up. Without one such a failure is dropped.
class UncaughtFailureReport {
  public:
    using Show = std::function<void(const std::string& sjisMessage)>;
    explicit UncaughtFailureReport(Show show);
    UncaughtFailureReport(const UncaughtFailureReport&) = delete;
    UncaughtFailureReport& operator=(const UncaughtFailureReport&) = delete;
    ~UncaughtFailureReport();

  private:
    friend void ReportCurrentException() noexcept;
    Show show_;
};

// Reports the exception being handled (called inside a catch block): an AppError's message, another
// exception's what(), or "unknown exception". A failure while a report shows is dropped, so a window that
// fails on each paint does not pile up reports.
void ReportCurrentException() noexcept;

// Runs the body of a procedure that Windows calls: window, dialog, subclass, hook, enumeration and timer
// procedures. What it throws must not unwind through user32: it is reported, and fallback() gives the
// procedure's result instead.
template <typename Body, typename Fallback>
auto CallCatchingAll(Body&& body, Fallback&& fallback) -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        ReportCurrentException();
    }
    return fallback();
}
