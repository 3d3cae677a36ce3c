#include "platform/qt/qt_log.h"

#include <QLoggingCategory>
#include <QString>

namespace {

// Only warnings pass by default, and nothing here is written as a warning: the lines appear only when the
// user switches the category on.
Q_LOGGING_CATEGORY(deliveryLog, "zenporo.delivery", QtWarningMsg)
Q_LOGGING_CATEGORY(filesLog, "zenporo.files", QtWarningMsg)
Q_LOGGING_CATEGORY(settingsLog, "zenporo.settings", QtWarningMsg)

const QLoggingCategory& categoryOf(LogCategory category) {
    switch (category) {
        case LogCategory::Delivery:
            return deliveryLog();
        case LogCategory::Files:
            return filesLog();
        case LogCategory::Settings:
            return settingsLog();
    }
    return deliveryLog();
}

}  // namespace

void QtLog::write(LogCategory category, std::string_view utf8Message) {
    const QString text = QString::fromUtf8(utf8Message.data(), static_cast<qsizetype>(utf8Message.size()));
    qCInfo(categoryOf(category)).noquote() << text;
}
