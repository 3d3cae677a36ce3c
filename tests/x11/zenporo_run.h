#pragma once

// The real zenporo program on the test's display: a fresh folder holding a copy of the executable and its
// data files, the program started there as a child process, and what the X server tells about its windows.

#include <QByteArray>
#include <QDate>
#include <QImage>
#include <QMargins>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <optional>
#include <vector>

class WindowOrder;
class X11Display;

namespace x11test {

// A temporary folder with a copy of the built program, which keeps its data files beside itself.
class ZenporoFolder {
  public:
    ZenporoFolder();
    // False when the folder could not be made or the program not copied into it.
    bool isValid() const { return valid_; }

    QString filePath(const QString& name) const;
    bool writeFile(const QString& name, const QByteArray& bytes) const;
    // Empty when the file does not exist.
    QByteArray readFile(const QString& name) const;
    bool exists(const QString& name) const;

    QString executable() const { return filePath("zenporo"); }
    // The program's runtime folder: it keeps its single-instance lock there, so runs of this folder see each
    // other and nothing else on the machine.
    QString runtimeFolder() const { return runtime_.path(); }

  private:
    QTemporaryDir dir_;
    QTemporaryDir runtime_;
    bool valid_ = false;
};

// One run of the program of a folder.
class ZenporoProcess {
  public:
    // Its output goes to this process's, or into outputFile when one is named.
    explicit ZenporoProcess(const ZenporoFolder& folder, const QString& outputFile = {});
    // Kills the program only when a test left it running after a failure.
    ~ZenporoProcess();

    qint64 pid() const;
    bool isRunning() const;
    // Sends SIGTERM, as a desktop session or a service manager ends a program.
    void terminate();
    // Waits until the program has ended; true when it ended by itself with exit code 0.
    bool waitForCleanExit(int timeoutMs = 15000);

  private:
    std::unique_ptr<QProcess> process_;
};

// Whole years from the birth date to today, as the program works out an age.
int ageToday(const QDate& birth);

// The 31 fields of a complete record (UTF-8), its stored age true as of today, so no question opens at start.
QStringList hanako();

// A user file of 31 fields (given as UTF-8), in Shift-JIS with CR LF after every line.
QByteArray userFileBytes(const QStringList& fields);

// Our own connection to the display: windows, their geometry, and real pointer and key events.
class Desktop {
  public:
    Desktop();
    ~Desktop();
    bool isOpen() const { return display_ != nullptr; }

    // The managed top-level windows of a process, in the window manager's client list.
    std::vector<unsigned long> windowsOf(qint64 pid);
    // Waits for a managed window of the process with this title; 0 when none appears in time.
    unsigned long waitForWindow(qint64 pid, const QString& title, int timeoutMs = 15000);

    QString title(unsigned long window);
    // Both parts of WM_CLASS, instance name first.
    QStringList windowClass(unsigned long window);
    // The client area in root coordinates.
    QRect clientRect(unsigned long window);
    // _NET_FRAME_EXTENTS: the frame's borders around the client area.
    std::optional<QMargins> frameExtents(unsigned long window);
    // The outer top-left corner of the frame, as the window manager placed it.
    std::optional<QPoint> frameTopLeft(unsigned long window);

    // What the window shows on the screen, as the X server holds it; null while it is not viewable.
    QImage windowPixels(unsigned long window);

    // The process's mapped override-redirect windows: its popup menus and tooltips, which the window manager
    // does not manage.
    std::vector<unsigned long> popupsOf(qint64 pid);

    // Asks the window manager to move the window's frame, as a drag of its title bar does.
    void moveFrame(unsigned long window, QPoint topLeft);
    // Asks the window to close as its frame's close button does (WM_DELETE_WINDOW).
    void requestClose(unsigned long window);
    // Asks the window manager to close the window, as a task bar does; it sends WM_DELETE_WINDOW in turn.
    void closeThroughWindowManager(unsigned long window);
    // Activates the window through the window manager and waits until it holds the focus.
    bool activate(unsigned long window);

    void movePointer(QPoint point);
    void pressButton(int button);
    void releaseButton(int button);
    void click(QPoint point, int button = 1);
    // Clicks, then waits until the click has reached the application. The window manager holds pointer
    // events back while it looks at a click, but not key events: a key pressed right after a click could
    // overtake it. The pointer moves one pixel on, and the server reports it there once the hold is over.
    bool clickThrough(QPoint point);
    QPoint pointer();
    // The top-level window the X server finds under the pointer, by its own stacking order; 0 when none.
    unsigned long windowUnderPointer();
    void tapKey(const char* keysymName);
    // How many keycodes carry no key symbol at all.
    int spareKeycodes();
    // Gives every spare keycode but `leave` a symbol of its own until this object goes, as a desktop with a
    // full keyboard map has few spare keycodes.
    void occupySpareKeycodes(int leave);
    // Presses or releases a key, as a user holding Shift while clicking.
    void holdKey(const char* keysymName, bool down);
    // Types the text into the focused window with real key events, Japanese included: a character with no
    // key of its own gets a spare keycode. False when a key could not be sent.
    bool typeText(const QString& text);

  private:
    unsigned char keyFor(char32_t character);

    std::shared_ptr<X11Display> display_;
    std::map<char32_t, unsigned char> scratchKeys_;
    std::unique_ptr<WindowOrder> windows_;
};

// Debian's Chromium showing the page in an application window of its own, on a fresh profile, for the life
// of this object. The window's program id is pid().
class Browser {
  public:
    explicit Browser(const QString& url);
    ~Browser();
    qint64 pid() const { return process_.processId(); }

  private:
    QTemporaryDir profile_;
    QProcess process_;
};

}  // namespace x11test
