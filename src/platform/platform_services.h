#pragma once

#include "platform/clipboard.h"
#include "platform/desktop_active_window.h"
#include "platform/dialogs.h"
#include "platform/instance_lock.h"
#include "platform/key_input.h"
#include "platform/log.h"
#include "platform/native_keyboard.h"
#include "platform/seat_keyboard.h"
#include "platform/shell.h"
#include "platform/sleeper.h"
#include "platform/steady_clock.h"
#include "platform/text_codec.h"
#include "platform/window_order.h"

#include <functional>
#include <memory>

// Every operating-system service the program uses, built once by the platform's makePlatformServices() at
// start and handed down from there. Members are destroyed in reverse order: the backend's shared resources,
// the codec and the log, which the others may use, come first.
struct PlatformServices {
    // What the backend keeps alive for the services below (the Linux program's X connection and its event
    // watch); nothing on a platform that needs none.
    std::shared_ptr<void> backend;
    std::unique_ptr<TextCodec> textCodec;
    // What a user could ask about later (why nothing was pasted), off unless the user switches it on.
    std::unique_ptr<Log> log;
    std::unique_ptr<Dialogs> dialogs;
    std::unique_ptr<Clipboard> clipboard;
    std::unique_ptr<Shell> shell;
    std::unique_ptr<InstanceLock> instanceLock;
    std::unique_ptr<Sleeper> sleeper;
    std::unique_ptr<SteadyClock> clock = std::make_unique<SystemSteadyClock>();
    // Both null when the window system cannot be reached for delivery: the toolbar then only copies.
    std::unique_ptr<WindowOrder> windowOrder;
    std::unique_ptr<KeyInput> keyInput;
    // Keys for the native windows of a Wayland session, through the desktop's consent; null elsewhere.
    std::unique_ptr<NativeKeyboard> nativeKeyboard;
    // Activation of the user's window and keys through the compositor's seat, where it offers them (sway and
    // the other wlroots compositors); then every delivery goes that way, and nativeKeyboard is null.
    std::unique_ptr<SeatKeyboard> seatKeyboard;
    // Where native windows paste the compositor's own clipboard (KDE Plasma): that clipboard, and the
    // desktop's word on the active window, which the keys of nativeKeyboard go to; null elsewhere.
    std::unique_ptr<Clipboard> nativeClipboard;
    std::unique_ptr<DesktopActiveWindow> desktopWindow;
    // Makes the toolbar (a QWidget* or an HWND) the owner of the questions no dialog window asks, so they
    // stay above it; null until the toolbar exists.
    std::function<void(AskingWindow toolbar)> setToolbarWindow;
};

// The running platform's services, with the single-instance lock named "Zenpad_Ruvek_Application" (not yet
// acquired). In the Linux program call it after the QApplication exists.
PlatformServices makePlatformServices();
