#include "platform/qt/qt_log.h"

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

QStringList* captured = nullptr;

void capture(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (captured != nullptr) {
        captured->append(QString::fromUtf8(context.category) + ": " + message);
    }
}

TEST(QtLog, EachCategoryIsSilentUntilTheUserSwitchesItOn) {
    QStringList lines;
    captured = &lines;
    const QtMessageHandler previous = qInstallMessageHandler(capture);
    QtLog log;

    log.write(LogCategory::Delivery, "paste: sent");
    EXPECT_TRUE(lines.isEmpty()) << lines.join('\n').toStdString();

    QLoggingCategory::setFilterRules("zenporo.delivery=true\nzenporo.settings=true");
    log.write(LogCategory::Delivery, "paste: sent; expected 0x2a \"応募フォーム\"");
    log.write(LogCategory::Files, "not switched on");
    log.write(LogCategory::Settings, "read");
    QLoggingCategory::setFilterRules(QString());
    qInstallMessageHandler(previous);
    captured = nullptr;

    EXPECT_EQ(lines,
              (QStringList{QString::fromUtf8("zenporo.delivery: paste: sent; expected 0x2a \"応募フォーム\""),
                           "zenporo.settings: read"}));
}

}  // namespace
