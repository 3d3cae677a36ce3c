#include "app/error_report.h"

#include "data/app_error.h"
#include "platform/dialogs.h"

std::string ErrorReportText(const std::string& sjisMessage) {
    if (!sjisMessage.empty() && static_cast<unsigned char>(sjisMessage.back()) <= '.') {
        return sjisMessage;
    }
    return sjisMessage + ".";
}

void ShowErrorReport(Dialogs& dialogs, const AppError& error, const std::string& sjisApplicationTitle) {
    dialogs.ask(plainNotice(ErrorReportText(error.message()), sjisApplicationTitle, DialogIcon::Error));
}
