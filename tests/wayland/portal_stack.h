#pragma once

#include <sys/types.h>

#include <QString>
#include <QStringList>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

class WaylandSession;

// One call the test backend received: the method and its arguments as it logs them.
//   CreateSession <session path>          SelectDevices <types>
//   Start <parent_window> grant|refuse     NotifyKeyboardKeysym 0x<keysym> 1|0
//   NotifyPointerMotion <dx> <dy>          Close <session or request path>
struct PortalCall {
    QString method;
    QStringList arguments;
    bool operator==(const PortalCall&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const PortalCall& call) {
    return out << (QStringList{call.method} + call.arguments).join(' ').toStdString();
}

// The desktop portal of a WaylandSession as on GNOME: the real frontend (xdg-desktop-portal) on the session's
// bus with the test backend (helpers/remote_desktop_backend) as its only backend, both in the session's
// process group. The backend grants or refuses the RemoteDesktop portal's Start as told, forwards keys and
// pointer motion of a granted session to the compositor, and logs every call. Build it before anything asks
// for a portal: the bus would otherwise start the system's own frontend, which knows no RemoteDesktop backend
// here.
class PortalStack {
  public:
    enum class Answer { Grant, Refuse };

    explicit PortalStack(const WaylandSession& session, Answer answer = Answer::Grant);
    ~PortalStack();
    PortalStack(const PortalStack&) = delete;
    PortalStack& operator=(const PortalStack&) = delete;

    bool ready() const { return failure_.empty(); }
    // Why the stack did not come up, with the end of the programs' output.
    const std::string& failure() const { return failure_; }
    // From the backend's start until the frontend served the RemoteDesktop portal.
    std::chrono::milliseconds startupTime() const { return startupTime_; }

    // Ends the frontend, and starts it again, as a desktop's portal service restarts; false when it did not
    // come up.
    void stopFrontend();
    bool startFrontend();

    // The backend's answer to every Start from now on.
    void setAnswer(Answer answer) const;
    // The calls the backend received, oldest first.
    std::vector<PortalCall> calls() const;
    // The end of the frontend's and the backend's output, for a failure message.
    std::string diagnostics() const;

  private:
    void start(const WaylandSession& session);
    bool waitForName(const QString& name, pid_t& program, const std::string& logFile);

    std::string folder_;
    std::string failure_;
    std::chrono::milliseconds startupTime_{0};
    QString busName_;
    const WaylandSession* session_ = nullptr;
    pid_t backend_ = -1;
    pid_t frontend_ = -1;
};
