#pragma once

#include <string>

class Dialogs;

// The text of the general error report: the failure's message followed by "." unless its last byte sorts at
// or before "." (compared as unsigned bytes, so a message ending in a double-byte character gets one). An
// empty message has no last byte to end it and becomes ".".
std::string ErrorReportText(const std::string& sjisMessage);

// Shows the general error report: the error icon, a single OK button, the application title as caption.
// The message is the failure's own (an AppError's message()).
void ShowErrorReport(Dialogs& dialogs, const std::string& sjisMessage,
                     const std::string& sjisApplicationTitle);
