#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

class QApplication;
class X11Display;

namespace x11test {

// The test process's own Qt application on the display of DISPLAY, made on first use.
QApplication& application();

// Runs the event loop until the condition holds; false when it still does not after a generous time. The
// event loop must run while waiting: the target application asks us for the clipboard's contents.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 15000);

// Asks the window manager to iconify the window, as its minimise button does.
void iconify(X11Display& display, unsigned long window);

// Maps a bare window of this process (it carries our process id) on top of the display's windows. Its
// only title is WM_NAME "2×3 toolbar" in Latin-1.
unsigned long showOwnWindow(X11Display& display);

// A second Xvfb server of our own without a window manager, stopped when this goes.
class BareDisplay {
  public:
    BareDisplay();
    ~BareDisplay();
    // Its name, such as ":62"; empty when no server could be started.
    const QString& name() const { return name_; }

  private:
    QString name_;
    QProcess server_;
};

// A paste target application (tests/x11/helpers/paste_target) in a process of its own.
class TargetApp {
  public:
    // Starts it with the UTF-8 title; extraEnvironment entries look like "DISPLAY=:62". Another program
    // that takes the same two options and writes the same state file may stand in for paste_target.
    explicit TargetApp(const QString& title, const QStringList& extraArguments = {},
                       const QStringList& extraEnvironment = {}, const QString& program = {});
    ~TargetApp();

    // Waits until it has written its first state; false when it never did.
    bool waitReady();
    // Its window id, once ready.
    unsigned long window() const;
    // A value of its state file: first, second, focus, enters, window.
    QString state(const QString& key) const;

  private:
    QTemporaryDir dir_;
    QString statePath_;
    std::unique_ptr<QProcess> process_;
};

// The toolbar as the program shows it: a small window that stays on top of all others.
class Toolbar {
  public:
    Toolbar();
    unsigned long window() const;
    QWidget& widget() { return widget_; }

  private:
    QWidget widget_;
};

}  // namespace x11test
