#include "win32/handler_guard.h"

#include "data/app_error.h"
#include "data/sjis.h"

#include <exception>
#include <utility>

namespace {

// The report the program set up; the windows all run on its one thread.
const UncaughtFailureReport* installedReport = nullptr;
bool reportShowing = false;

std::string messageOfCurrentException() {
    try {
        throw;
    } catch (const AppError& error) {
        return error.message();
    } catch (const std::exception& error) {
        return sjis::fromUtf8(error.what());
    } catch (...) {
        return "unknown exception";
    }
}

}  // namespace

UncaughtFailureReport::UncaughtFailureReport(Show show) : show_(std::move(show)) {
    installedReport = this;
}

UncaughtFailureReport::~UncaughtFailureReport() {
    installedReport = nullptr;
}

void ReportCurrentException() noexcept {
    if (installedReport == nullptr || reportShowing) {
        return;
    }
    reportShowing = true;
    try {
        installedReport->show_(messageOfCurrentException());
    } catch (...) {
        // Reporting failed as well; the procedure still gives its result.
    }
    reportShowing = false;
}
