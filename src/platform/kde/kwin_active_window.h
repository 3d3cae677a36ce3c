#pragma once

#include "platform/desktop_active_window.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>

#include <chrono>
#include <optional>
#include <string>

class Log;

// The window KWin reports active: what the desktop would send keys to.
struct ActiveWindowReport {
    std::string id;  // KWin's internal id of the window, the same for the window's whole life
    std::string resourceClass;
    std::string caption;  // UTF-8
    long pid = 0;         // 0 when KWin does not know it
    bool operator==(const ActiveWindowReport&) const = default;
};

// Follows KWin's active window through a small KWin script of ours, which reports the active window once at
// its start and again at every activation by calling this object over the session bus. The script is written
// to a private folder, loaded with org.kde.kwin.Scripting and run; a script of the same name left by a run
// that crashed is unloaded first, ours when this goes. The report lags the desktop a little: a window
// activated a moment ago may not be reported yet. Where KWin is not on the bus, or the script cannot be
// loaded or never reports, the watcher is unavailable.
class KWinActiveWindow final : public QObject, public DesktopActiveWindow, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.zenporo.KWinActiveWindow")
  public:
    // The name the script is loaded under, the same in every run so that a crashed run's script is found.
    static constexpr const char* kPluginName = "zenporo-active-window";

    KWinActiveWindow(QDBusConnection bus, Log* log);
    ~KWinActiveWindow() override;
    KWinActiveWindow(const KWinActiveWindow&) = delete;
    KWinActiveWindow& operator=(const KWinActiveWindow&) = delete;

    // True once the script runs and has reported at least once.
    bool available() const { return running_ && reported_; }
    // The active window of the last report; none while unavailable or while no window is active.
    std::optional<ActiveWindowReport> lastReport() const;
    // The last report, once the first has come (waited for briefly where it has not yet).
    std::optional<Window> activeWindow() override;
    // Serves events (the user's clicks and keys stay queued) until the script's first report came, for at
    // most the cap; whether the watcher is available then.
    bool waitForReport(std::chrono::milliseconds cap);
    // Whether KWin is on the bus: the desktop is KDE Plasma's.
    static bool runsOn(QDBusConnection& bus);
    // Whether the window is one of this program's own (its X11 windows are Xwayland clients of KWin).
    static bool isOwn(const ActiveWindowReport& window);

  public slots:
    // Called by the script over the bus; everything comes as text, so that KWin's conversions of numbers
    // and byte arrays cannot change the signature.
    Q_SCRIPTABLE Q_NOREPLY void Activated(const QString& id, const QString& resourceClass,
                                          const QString& caption, const QString& pid);

  private slots:
    void onKWinOwnerChanged(const QString& service, const QString& oldOwner, const QString& newOwner);

  private:
    void load();
    bool writeScript();
    bool run(int scriptId);
    void unload();
    // KWin went: nothing of it is known any more.
    void forget();
    void log(const QString& message) const;

    QDBusConnection bus_;
    Log* log_;
    QDBusServiceWatcher kwinWatcher_;
    QString folder_;
    QString scriptPath_;
    QString kwinOwner_;  // only this bus name may report
    bool registered_ = false;
    bool running_ = false;
    bool reported_ = false;
    std::optional<ActiveWindowReport> active_;
};
