#include "platform/error_report.h"

#include "platform/dialogs.h"

std::string ErrorReportText(const std::string& sjisMessage) {
    if (!sjisMessage.empty() && static_cast<unsigned char>(sjisMessage.back()) <= '.') {
        return sjisMessage;
    }
    return sjisMessage + ".";
}

void ShowErrorReport(Dialogs& dialogs, const std::string& sjisMessage,
                     const std::string& sjisApplicationTitle) {
    dialogs.ask(plainNotice(ErrorReportText(sjisMessage), sjisApplicationTitle, DialogIcon::Error));
}
