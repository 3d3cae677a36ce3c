#include "platform/qt/serve_events.h"

#include <QEventLoop>
#include <QTimer>

bool ServeEventsUntil(std::chrono::milliseconds cap, const std::function<bool()>& done) {
    if (done()) {
        return true;
    }
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(cap);
    while (!done()) {
        if (!deadline.isActive()) {
            return false;
        }
        loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}
