#include "zenporo_run.h"

#include "data/sjis.h"
#include "platform/qt/qt_sjis.h"
#include "platform/window_order.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_window_order.h"
#include "x11_test_support.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

// Xlib's macros clash with Qt's headers, so it comes after them.
#include "platform/x11/x11_support.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <utility>

namespace x11test {

namespace {

QString u8s(const char* utf8) {
    return QString::fromUtf8(utf8);
}

constexpr long kFromPager = 2;  // a request on the user's behalf, which the window manager always follows

// A request about the window to the window manager, as pagers and task bars send them.
void askWindowManager(Display* d, unsigned long window, const char* request,
                      std::initializer_list<long> data) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = x11::atom(d, request);
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(d);
}

}  // namespace

ZenporoFolder::ZenporoFolder() {
    // The program is built into the same folder as this test program.
    const QString built = QCoreApplication::applicationDirPath() + "/zenporo";
    valid_ = dir_.isValid() && runtime_.isValid() && QFile::copy(built, executable());
}

QString ZenporoFolder::filePath(const QString& name) const {
    return dir_.filePath(name);
}

bool ZenporoFolder::writeFile(const QString& name, const QByteArray& bytes) const {
    QFile file(filePath(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray ZenporoFolder::readFile(const QString& name) const {
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ZenporoFolder::exists(const QString& name) const {
    return QFile::exists(filePath(name));
}

ZenporoProcess::ZenporoProcess(const ZenporoFolder& folder, const QString& outputFile)
    : process_(std::make_unique<QProcess>()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The program keeps its lock in a runtime folder of its own: a Wayland session's socket, named relative
    // to the session's runtime folder, is named by its whole path instead.
    const QString wayland = environment.value("WAYLAND_DISPLAY");
    if (!wayland.isEmpty() && !wayland.startsWith('/') && environment.contains("XDG_RUNTIME_DIR")) {
        environment.insert("WAYLAND_DISPLAY", environment.value("XDG_RUNTIME_DIR") + "/" + wayland);
    }
    environment.insert("XDG_RUNTIME_DIR", folder.runtimeFolder());
    process_->setProcessEnvironment(environment);
    if (outputFile.isEmpty()) {
        process_->setProcessChannelMode(QProcess::ForwardedChannels);
    } else {
        process_->setProcessChannelMode(QProcess::MergedChannels);
        process_->setStandardOutputFile(outputFile);
    }
    process_->setWorkingDirectory(QDir::tempPath());  // the program must find its files by its own path
    process_->start(folder.executable(), {});
    process_->waitForStarted(10000);
}

ZenporoProcess::~ZenporoProcess() {
    if (process_->state() != QProcess::NotRunning) {
        process_->kill();
        process_->waitForFinished(5000);
    }
}

qint64 ZenporoProcess::pid() const {
    return process_->processId();
}

bool ZenporoProcess::isRunning() const {
    return process_->state() != QProcess::NotRunning;
}

void ZenporoProcess::terminate() {
    process_->terminate();
}

bool ZenporoProcess::waitForCleanExit(int timeoutMs) {
    if (process_->state() != QProcess::NotRunning && !process_->waitForFinished(timeoutMs)) {
        return false;
    }
    return process_->exitStatus() == QProcess::NormalExit && process_->exitCode() == 0;
}

int ageToday(const QDate& birth) {
    const QDate today = QDate::currentDate();
    return today.year() - birth.year() - (today < birth.addYears(today.year() - birth.year()) ? 1 : 0);
}

QStringList hanako() {
    const int age = ageToday(QDate(1990, 4, 1));
    return {"123-4567",
            u8s("東京都"),
            u8s("千代田区"),
            u8s("千代田１－１"),
            u8s("ゼンポロビル３階"),
            u8s("山田"),
            u8s("花子"),
            u8s("女"),
            QString::number(age),
            u8s("会社員"),
            "03",
            "1234",
            "5678",
            "03",
            "1234",
            "5679",
            "hanako@example.jp",
            "https://example.jp/",
            u8s("メモ一"),
            u8s("メモ二"),
            u8s("メモ三"),
            u8s("メモ四"),
            u8s("やまだ"),
            u8s("はなこ"),
            u8s("ヤマダ"),
            u8s("ハナコ"),
            "Yamada",
            "Hanako",
            "1990",
            "04",
            "01"};
}

QByteArray userFileBytes(const QStringList& fields) {
    QByteArray bytes;
    for (const QString& field : fields) {
        const std::string line = SjisFromQString(field);
        bytes.append(line.data(), static_cast<qsizetype>(line.size()));
        bytes.append("\r\n");
    }
    return bytes;
}

Desktop::Desktop() : display_(X11Display::open()) {
    if (display_) {
        windows_ = makeX11WindowOrder(display_);
    }
}

Desktop::~Desktop() {
    if (!display_) {
        return;
    }
    for (const auto& [character, code] : scratchKeys_) {
        KeySym none = NoSymbol;
        XChangeKeyboardMapping(display_->get(), code, 1, &none, 1);
    }
    XSync(display_->get(), False);
}

std::vector<unsigned long> Desktop::windowsOf(qint64 pid) {
    Display* const d = display_->get();
    XSync(d, False);
    std::vector<unsigned long> found;
    const auto clients =
        x11::longProperty(d, DefaultRootWindow(d), x11::atom(d, "_NET_CLIENT_LIST"), XA_WINDOW);
    for (const unsigned long window : clients) {
        const auto owner = x11::singleLongProperty(d, window, x11::atom(d, "_NET_WM_PID"), XA_CARDINAL);
        if (owner && static_cast<qint64>(*owner) == pid) {
            found.push_back(window);
        }
    }
    return found;
}

unsigned long Desktop::waitForWindow(qint64 pid, const QString& title, int timeoutMs) {
    unsigned long found = 0;
    waitUntil(
        [&] {
            for (const unsigned long window : windowsOf(pid)) {
                if (this->title(window) == title) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

QString Desktop::title(unsigned long window) {
    Display* const d = display_->get();
    const auto name = x11::textProperty(d, window, x11::atom(d, "_NET_WM_NAME"));
    return name ? QString::fromUtf8(name->bytes.data(), static_cast<qsizetype>(name->bytes.size()))
                : QString();
}

QStringList Desktop::windowClass(unsigned long window) {
    Display* const d = display_->get();
    const auto wmClass = x11::textProperty(d, window, XA_WM_CLASS);
    if (!wmClass) {
        return {};
    }
    QStringList parts =
        QString::fromLatin1(wmClass->bytes.data(), static_cast<qsizetype>(wmClass->bytes.size()))
            .split(QChar(0), Qt::SkipEmptyParts);
    return parts;
}

QRect Desktop::clientRect(unsigned long window) {
    Display* const d = display_->get();
    x11::ErrorTrap trap(d);
    XWindowAttributes attributes{};
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(d, window, &attributes) ||
        !XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child) || trap.failed()) {
        return {};
    }
    return QRect(x, y, attributes.width, attributes.height);
}

std::optional<QMargins> Desktop::frameExtents(unsigned long window) {
    Display* const d = display_->get();
    const auto extents = x11::longProperty(d, window, x11::atom(d, "_NET_FRAME_EXTENTS"), XA_CARDINAL);
    if (extents.size() != 4) {
        return std::nullopt;
    }
    // The property lists left, right, top, bottom.
    return QMargins(static_cast<int>(extents[0]), static_cast<int>(extents[2]), static_cast<int>(extents[1]),
                    static_cast<int>(extents[3]));
}

std::optional<QPoint> Desktop::frameTopLeft(unsigned long window) {
    const std::optional<QMargins> extents = frameExtents(window);
    const QRect client = clientRect(window);
    if (!extents || client.isNull()) {
        return std::nullopt;
    }
    return client.topLeft() - QPoint(extents->left(), extents->top());
}

QImage Desktop::windowPixels(unsigned long window) {
    Display* const d = display_->get();
    x11::ErrorTrap trap(d);
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(d, window, &attributes) || attributes.map_state != IsViewable) {
        return {};
    }
    XImage* image = XGetImage(d, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return {};
    }
    QImage pixels(attributes.width, attributes.height, QImage::Format_RGB32);
    for (int y = 0; y < attributes.height; ++y) {
        for (int x = 0; x < attributes.width; ++x) {
            pixels.setPixel(x, y, static_cast<QRgb>(XGetPixel(image, x, y)) | 0xff000000u);
        }
    }
    XDestroyImage(image);
    return pixels;
}

std::vector<unsigned long> Desktop::popupsOf(qint64 pid) {
    Display* const d = display_->get();
    x11::ErrorTrap trap(d);
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<unsigned long> popups;
    if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count)) {
        return popups;
    }
    const x11::XPtr<Window> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(d, children[i], &attributes) || !attributes.override_redirect ||
            attributes.map_state != IsViewable) {
            continue;
        }
        const auto owner = x11::singleLongProperty(d, children[i], x11::atom(d, "_NET_WM_PID"), XA_CARDINAL);
        if (owner && static_cast<qint64>(*owner) == pid) {
            popups.push_back(children[i]);
        }
    }
    static_cast<void>(trap.failed());
    return popups;
}

void Desktop::moveFrame(unsigned long window, QPoint topLeft) {
    constexpr long kNorthWestGravity = 1;
    constexpr long kSetX = 1L << 8;
    constexpr long kSetY = 1L << 9;
    askWindowManager(display_->get(), window, "_NET_MOVERESIZE_WINDOW",
                     {kNorthWestGravity | kSetX | kSetY | kFromPager << 12, topLeft.x(), topLeft.y()});
}

void Desktop::requestClose(unsigned long window) {
    Display* const d = display_->get();
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = x11::atom(d, "WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(x11::atom(d, "WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &event);
    XFlush(d);
}

void Desktop::closeThroughWindowManager(unsigned long window) {
    askWindowManager(display_->get(), window, "_NET_CLOSE_WINDOW", {CurrentTime, kFromPager});
}

bool Desktop::activate(unsigned long window) {
    windows_->activate(window);
    return waitUntil([&] { return windows_->isActive(window); });
}

void Desktop::movePointer(QPoint point) {
    Display* const d = display_->get();
    XTestFakeMotionEvent(d, -1, point.x(), point.y(), CurrentTime);
    XSync(d, False);
}

void Desktop::pressButton(int button) {
    Display* const d = display_->get();
    XTestFakeButtonEvent(d, static_cast<unsigned int>(button), True, CurrentTime);
    XSync(d, False);
}

void Desktop::releaseButton(int button) {
    Display* const d = display_->get();
    XTestFakeButtonEvent(d, static_cast<unsigned int>(button), False, CurrentTime);
    XSync(d, False);
}

void Desktop::click(QPoint point, int button) {
    movePointer(point);
    pressButton(button);
    releaseButton(button);
}

bool Desktop::clickThrough(QPoint point) {
    click(point);
    const QPoint after = point + QPoint(1, 0);
    movePointer(after);
    return waitUntil([&] { return pointer() == after; });
}

namespace {

// Where the pointer is, and the top-level window the X server finds there by its own stacking order.
std::pair<QPoint, Window> queryPointer(Display* d) {
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned int mask = 0;
    XQueryPointer(d, DefaultRootWindow(d), &root, &child, &rootX, &rootY, &x, &y, &mask);
    return {QPoint(rootX, rootY), child};
}

}  // namespace

QPoint Desktop::pointer() {
    return queryPointer(display_->get()).first;
}

unsigned long Desktop::windowUnderPointer() {
    return queryPointer(display_->get()).second;
}

void Desktop::tapKey(const char* keysymName) {
    Display* const d = display_->get();
    const KeyCode code = XKeysymToKeycode(d, XStringToKeysym(keysymName));
    XTestFakeKeyEvent(d, code, True, CurrentTime);
    XTestFakeKeyEvent(d, code, False, CurrentTime);
    XSync(d, False);
}

// The keycodes that carry no key symbol at all, from the top of the range down.
static std::vector<KeyCode> keycodesWithoutSymbols(Display* d) {
    int first = 0;
    int last = 0;
    XDisplayKeycodes(d, &first, &last);
    int perCode = 0;
    const std::unique_ptr<KeySym, int (*)(void*)> map(
        XGetKeyboardMapping(d, static_cast<KeyCode>(first), last - first + 1, &perCode), XFree);
    std::vector<KeyCode> spare;
    for (int code = last; code >= first && map; --code) {
        const KeySym* syms = map.get() + static_cast<std::ptrdiff_t>(code - first) * perCode;
        if (std::all_of(syms, syms + perCode, [](KeySym sym) { return sym == NoSymbol; })) {
            spare.push_back(static_cast<KeyCode>(code));
        }
    }
    return spare;
}

int Desktop::spareKeycodes() {
    return static_cast<int>(keycodesWithoutSymbols(display_->get()).size());
}

void Desktop::occupySpareKeycodes(int leave) {
    Display* const d = display_->get();
    const std::vector<KeyCode> spare = keycodesWithoutSymbols(d);
    for (std::size_t i = static_cast<std::size_t>(leave); i < spare.size(); ++i) {
        const char32_t privateUse = 0xE000 + static_cast<char32_t>(i);
        KeySym sym = 0x1000000 + privateUse;
        XChangeKeyboardMapping(d, spare[i], 1, &sym, 1);
        scratchKeys_[privateUse] = spare[i];
    }
    XSync(d, False);
}

void Desktop::holdKey(const char* keysymName, bool down) {
    Display* const d = display_->get();
    XTestFakeKeyEvent(d, XKeysymToKeycode(d, XStringToKeysym(keysymName)), down ? True : False, CurrentTime);
    XSync(d, False);
}

// A keycode with no keysym, mapped to the character for the rest of the run. Remapping one spare key for
// every character (as xdotool does) races with applications that read the map lazily: the key would arrive
// under the next mapping, or under none once restored. 0 when no spare keycode is left.
KeyCode Desktop::keyFor(char32_t character) {
    if (const auto found = scratchKeys_.find(character); found != scratchKeys_.end()) {
        return found->second;
    }
    Display* const d = display_->get();
    const std::vector<KeyCode> spare = keycodesWithoutSymbols(d);
    if (spare.empty()) {
        return 0;
    }
    KeySym sym = 0x1000000 + character;
    XChangeKeyboardMapping(d, spare.front(), 1, &sym, 1);
    XSync(d, False);
    // Time for every client to take the MappingNotify before the key comes.
    QThread::msleep(150);
    return scratchKeys_[character] = spare.front();
}

bool Desktop::typeText(const QString& text) {
    Display* const d = display_->get();
    XSync(d, False);
    QString ascii;
    const auto typeAscii = [&ascii] {
        if (ascii.isEmpty()) {
            return true;
        }
        QProcess xdotool;
        xdotool.setProcessChannelMode(QProcess::ForwardedChannels);
        xdotool.start("xdotool", {"type", "--delay", "40", "--", ascii});
        ascii.clear();
        return xdotool.waitForFinished(30000) && xdotool.exitStatus() == QProcess::NormalExit &&
               xdotool.exitCode() == 0;
    };
    for (const char32_t codePoint : text.toUcs4()) {
        if (codePoint < 0x80) {
            ascii += QChar(static_cast<char16_t>(codePoint));
            continue;
        }
        if (!typeAscii()) {
            return false;
        }
        const KeyCode code = keyFor(codePoint);
        if (code == 0) {
            return false;
        }
        XTestFakeKeyEvent(d, code, True, CurrentTime);
        XTestFakeKeyEvent(d, code, False, CurrentTime);
        XSync(d, False);
        QThread::msleep(40);
    }
    return typeAscii();
}

Browser::Browser(const QString& url) {
    // As root Chromium runs only without its sandbox; the other switches keep it off the closed network and
    // its first-run questions away. It speaks Japanese, as the user's does, which orders its date boxes
    // 年/月/日.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    environment.insert("LANGUAGE", "ja");
    process_.setProcessEnvironment(environment);
    process_.start("chromium",
                   {"--no-sandbox", "--user-data-dir=" + profile_.path(), "--no-first-run",
                    "--disable-background-networking", "--disable-component-update", "--disable-sync",
                    "--disable-gpu", "--disable-quic", "--password-store=basic", "--window-position=0,0",
                    "--window-size=900,600", "--lang=ja", "--app=" + url});
    process_.waitForStarted();
}

Browser::~Browser() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished();
    }
}

}  // namespace x11test
