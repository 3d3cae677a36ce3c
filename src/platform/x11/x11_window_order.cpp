#include "platform/x11/x11_window_order.h"

#include "platform/x11/x11_session.h"
#include "platform/x11/x11_support.h"
#include "platform/x11/x11_window_title.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>

namespace {

using x11::atom;
using x11::longProperty;
using x11::singleLongProperty;

constexpr long kSourceUserAction = 2;  // _NET_ACTIVE_WINDOW: the request comes from a direct user action
constexpr unsigned long kWmStateNormal = 1;

// Window types that are part of the desktop's furniture rather than a window to type into.
constexpr std::array kSkippedTypes = {
    "_NET_WM_WINDOW_TYPE_DESKTOP",    "_NET_WM_WINDOW_TYPE_DOCK",    "_NET_WM_WINDOW_TYPE_TOOLBAR",
    "_NET_WM_WINDOW_TYPE_MENU",       "_NET_WM_WINDOW_TYPE_SPLASH",  "_NET_WM_WINDOW_TYPE_DROPDOWN_MENU",
    "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_WINDOW_TYPE_TOOLTIP", "_NET_WM_WINDOW_TYPE_NOTIFICATION",
    "_NET_WM_WINDOW_TYPE_COMBO",      "_NET_WM_WINDOW_TYPE_DND",
};

class X11WindowOrder : public WindowOrder {
  public:
    X11WindowOrder(std::shared_ptr<X11Display> display, StackingSource source)
        : connection_(std::move(display)),
          d_(connection_->get()),
          root_(DefaultRootWindow(d_)),
          source_(source),
          wayland_(x11::isXwayland(d_)) {
        // An unmapped window of our own whose property changes tell us the server's time.
        timeWindow_ = XCreateSimpleWindow(d_, root_, -10, -10, 1, 1, 0, 0, 0);
        XSelectInput(d_, timeWindow_, PropertyChangeMask);
        // Every change of the active window, to know which window of another program the user was in last.
        XSelectInput(d_, root_, PropertyChangeMask);
        listener_ = connection_->addEventListener([this](const XEvent& event) { takeEvent(event); });
        takeActiveWindow();
        XFlush(d_);
    }

    ~X11WindowOrder() override {
        connection_->removeEventListener(listener_);
        XDestroyWindow(d_, timeWindow_);
        XFlush(d_);
    }

    std::optional<WindowHandle> findWindowBelow(WindowHandle toolbar) override {
        connection_->takePendingEvents();
        const Window own = static_cast<Window>(toolbar);
        const bool useClientList = source_ == StackingSource::Automatic && windowManagerRuns();
        const std::optional<Window> found = useClientList ? walkClientList(own) : walkWindowTree(own);
        if (!found) {
            return std::nullopt;
        }
        return static_cast<WindowHandle>(*found);
    }

    std::string windowTitle(WindowHandle window) override {
        return x11::readWindowTitle(d_, static_cast<Window>(window));
    }

    bool activate(WindowHandle window) override {
        const Window w = static_cast<Window>(window);
        x11::ErrorTrap trap(d_);
        beforeActivation_ = {focusWindow(), activeProperty()};
        const bool managed = windowManagerRuns();
        if (managed) {
            requestActivation(w);
        }
        // In a Wayland session only the compositor moves the focus: an X focus set behind its back stays on
        // the window while the user types elsewhere.
        if (!wayland_ || !managed) {
            XRaiseWindow(d_, w);
            XSetInputFocus(d_, w, RevertToParent, CurrentTime);
        }
        return !trap.failed();
    }

    void undoActivation(WindowHandle window) override {
        const Window w = static_cast<Window>(window);
        const FocusBefore before = beforeActivation_;
        beforeActivation_ = {};
        x11::ErrorTrap trap(d_);
        if (before.active != None && before.active != w && windowManagerRuns() && activeProperty() == w) {
            requestActivation(before.active);
        }
        const bool focusWasElsewhere = before.focus != None && !isInside(before.focus, w);
        if (!wayland_ && focusWasElsewhere && holdsFocus(w)) {
            XSetInputFocus(d_, before.focus, RevertToParent, CurrentTime);
        }
        static_cast<void>(trap.failed());
    }

    WindowHandle activeWindow() override {
        if (windowManagerRuns()) {
            const Window active = activeProperty();
            return wayland_ && !isManagedClient(active) ? None : active;
        }
        const Window focus = focusWindow();
        if (focus == None || focus == PointerRoot) {
            return None;
        }
        const Window top = topLevelOf(focus).value_or(focus);
        return clientOf(top).value_or(top);
    }

    bool isWaylandSession() override { return wayland_; }

    std::optional<WindowHandle> lastActiveWindow() override {
        connection_->takePendingEvents();
        return lastActive_;
    }

    std::string windowClass(WindowHandle window) override {
        XClassHint hint{};
        if (XGetClassHint(d_, static_cast<Window>(window), &hint) == 0) {
            return {};
        }
        const std::string names = std::string(hint.res_name != nullptr ? hint.res_name : "") + " " +
                                  (hint.res_class != nullptr ? hint.res_class : "");
        XFree(hint.res_name);
        XFree(hint.res_class);
        return names;
    }

    std::string describe(WindowHandle window) override {
        char id[32];
        std::snprintf(id, sizeof id, "0x%lx", static_cast<unsigned long>(window));
        return std::string(id) + " \"" + x11::readWindowTitleUtf8(d_, static_cast<Window>(window)) + "\"";
    }

    bool isActive(WindowHandle window) override {
        const Window w = static_cast<Window>(window);
        if (!holdsFocus(w)) {
            return false;
        }
        // With a window manager, wait until it agrees too, so it will not move the focus back meanwhile.
        if (!windowManagerRuns()) {
            return true;
        }
        const auto active = singleLongProperty(d_, root_, atom(d_, "_NET_ACTIVE_WINDOW"), XA_WINDOW);
        return active && *active == w;
    }

    // A dialog the target opened over itself (transient for it, or of the same client) keeps it in front.
    bool isInFront(WindowHandle window) override {
        if (isActive(window)) {
            return true;
        }
        const Window w = static_cast<Window>(window);
        const Window active = static_cast<Window>(activeWindow());
        if (active == None) {
            return false;
        }
        const auto owner = singleLongProperty(d_, active, XA_WM_TRANSIENT_FOR, XA_WINDOW);
        return (owner && *owner == w) || sameClientLeader(active, w);
    }

  private:
    struct FocusBefore {
        Window focus = None;
        Window active = None;
    };

    void takeEvent(const XEvent& event) {
        if (event.type == PropertyNotify && event.xproperty.window == root_ &&
            event.xproperty.atom == atom(d_, "_NET_ACTIVE_WINDOW")) {
            if (event.xproperty.state == PropertyDelete) {
                lastActive_ = None;
                return;
            }
            takeActiveWindow();
        }
    }

    // Remembers the active window unless it is one of ours: the toolbar's own dialogs do not count. None
    // means no X11 window is active; in a Wayland session, that the user is in one of the session's own.
    void takeActiveWindow() {
        const auto active = singleLongProperty(d_, root_, atom(d_, "_NET_ACTIVE_WINDOW"), XA_WINDOW);
        if (wayland_ && (!active || !isManagedClient(*active))) {
            // The compositor writes the property only once an X11 window first had the focus, and names None
            // or a window of its own, not a client, while a native window has it.
            lastActive_ = None;
            return;
        }
        if (!active) {
            return;
        }
        if (*active != None && belongsToUs(*active, None)) {
            return;
        }
        lastActive_ = *active;
    }

    // A window the window manager manages: a client window of another program, or one of ours.
    bool isManagedClient(Window window) {
        if (window == None) {
            return false;
        }
        const std::vector<Window> clients = longProperty(d_, root_, atom(d_, "_NET_CLIENT_LIST"), XA_WINDOW);
        return std::find(clients.begin(), clients.end(), window) != clients.end();
    }

    Window activeProperty() {
        return singleLongProperty(d_, root_, atom(d_, "_NET_ACTIVE_WINDOW"), XA_WINDOW).value_or(None);
    }

    Window focusWindow() {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(d_, &focus, &revert);
        return focus;
    }

    // A window manager that follows the desktop conventions proves it runs by a window naming itself.
    bool windowManagerRuns() {
        const Atom check = atom(d_, "_NET_SUPPORTING_WM_CHECK");
        const auto child = singleLongProperty(d_, root_, check, XA_WINDOW);
        if (!child) {
            return false;
        }
        const auto self = singleLongProperty(d_, *child, check, XA_WINDOW);
        return self && *self == *child;
    }

    // The window manager's list runs from the bottom to the top of the stack. A window manager without the
    // list leaves the order to the window tree.
    std::optional<Window> walkClientList(Window toolbar) {
        const std::vector<Window> stack =
            longProperty(d_, root_, atom(d_, "_NET_CLIENT_LIST_STACKING"), XA_WINDOW);
        if (stack.empty()) {
            return walkWindowTree(toolbar);
        }
        const auto top = startBelow(stack, toolbar);
        for (auto it = top; it != stack.rend(); ++it) {
            if (isTarget(*it, toolbar)) {
                return *it;
            }
        }
        return std::nullopt;
    }

    // The root's children run from the bottom to the top of the stack; under a window manager they are
    // frames that hold the client window somewhere inside.
    std::optional<Window> walkWindowTree(Window toolbar) {
        const std::vector<Window> stack = x11::childrenOf(d_, root_);
        const std::optional<Window> toolbarTop = topLevelOf(toolbar);
        const auto top = startBelow(stack, toolbarTop.value_or(None));
        for (auto it = top; it != stack.rend(); ++it) {
            if (!isViewableTopLevel(*it)) {
                continue;
            }
            const Window client = clientOf(*it).value_or(*it);
            if (isTarget(client, toolbar)) {
                return client;
            }
        }
        return std::nullopt;
    }

    // From the top down, starting just below the toolbar when it is in the stack, else at the very top.
    static std::vector<Window>::const_reverse_iterator startBelow(const std::vector<Window>& stack,
                                                                  Window toolbar) {
        const auto at = std::find(stack.rbegin(), stack.rend(), toolbar);
        return at == stack.rend() ? stack.rbegin() : std::next(at);
    }

    // The child of the root that holds the window; nothing when it is gone.
    std::optional<Window> topLevelOf(Window window) {
        if (window == None) {
            return std::nullopt;
        }
        Window current = window;
        while (true) {
            const std::optional<Window> parent = x11::parentOf(d_, current);
            if (!parent) {
                return std::nullopt;
            }
            if (*parent == root_) {
                return current;
            }
            current = *parent;
        }
    }

    bool isViewableTopLevel(Window window) {
        XWindowAttributes attributes;
        x11::ErrorTrap trap(d_);
        const Status status = XGetWindowAttributes(d_, window, &attributes);
        if (status == 0 || trap.failed()) {
            return false;
        }
        return attributes.map_state == IsViewable && attributes.c_class == InputOutput &&
               !attributes.override_redirect;
    }

    // The window that a window manager marked as its client (WM_STATE), searched depth first inside a frame.
    std::optional<Window> clientOf(Window window) {
        const Atom wmState = atom(d_, "WM_STATE");
        if (singleLongProperty(d_, window, wmState, wmState)) {
            return window;
        }
        const std::vector<Window> children = x11::childrenOf(d_, window);
        for (auto child = children.rbegin(); child != children.rend(); ++child) {
            if (const std::optional<Window> client = clientOf(*child)) {
                return client;
            }
        }
        return std::nullopt;
    }

    // A viewable, ordinary window that belongs to another program. A stay-on-top window of another program
    // (a sticky note, a picture-in-picture video) lies between the toolbar and the form the user fills; it
    // is passed over unless the user is working in it.
    bool isTarget(Window window, Window toolbar) {
        return window != toolbar && !belongsToUs(window, toolbar) && isViewableWindow(window) &&
               !isHidden(window) && !isFurniture(window) && (!staysOnTop(window) || isWorkedIn(window));
    }

    bool staysOnTop(Window window) {
        const std::vector<unsigned long> states =
            longProperty(d_, window, atom(d_, "_NET_WM_STATE"), XA_ATOM);
        return std::find(states.begin(), states.end(), atom(d_, "_NET_WM_STATE_ABOVE")) != states.end();
    }

    bool isWorkedIn(Window window) {
        return activeProperty() == window || lastActive_ == window || holdsFocus(window);
    }

    bool belongsToUs(Window window, Window toolbar) {
        const auto pid = singleLongProperty(d_, window, atom(d_, "_NET_WM_PID"), XA_CARDINAL);
        if (pid && *pid == static_cast<unsigned long>(getpid())) {
            return true;
        }
        if (toolbar == None) {
            return false;
        }
        return sameClientLeader(window, toolbar);
    }

    bool sameClientLeader(Window one, Window other) {
        const Atom leaderAtom = atom(d_, "WM_CLIENT_LEADER");
        const auto first = singleLongProperty(d_, one, leaderAtom, XA_WINDOW);
        const auto second = singleLongProperty(d_, other, leaderAtom, XA_WINDOW);
        return first && second && *first == *second;
    }

    // Mapped with all its ancestors: not iconified, not on another desktop.
    bool isViewableWindow(Window window) {
        XWindowAttributes attributes;
        x11::ErrorTrap trap(d_);
        const Status status = XGetWindowAttributes(d_, window, &attributes);
        return status != 0 && !trap.failed() && attributes.map_state == IsViewable;
    }

    bool isHidden(Window window) {
        const std::vector<unsigned long> states =
            longProperty(d_, window, atom(d_, "_NET_WM_STATE"), XA_ATOM);
        if (std::find(states.begin(), states.end(), atom(d_, "_NET_WM_STATE_HIDDEN")) != states.end()) {
            return true;
        }
        const Atom wmState = atom(d_, "WM_STATE");
        const auto state = singleLongProperty(d_, window, wmState, wmState);
        return state && *state != kWmStateNormal;
    }

    bool isFurniture(Window window) {
        const std::vector<unsigned long> types =
            longProperty(d_, window, atom(d_, "_NET_WM_WINDOW_TYPE"), XA_ATOM);
        return std::any_of(types.begin(), types.end(), [this](unsigned long type) {
            return std::any_of(kSkippedTypes.begin(), kSkippedTypes.end(),
                               [&](const char* name) { return type == atom(d_, name); });
        });
    }

    bool holdsFocus(Window window) { return isInside(focusWindow(), window); }

    // The focus may sit on a child of the window; walk up to see whether it lies inside.
    bool isInside(Window inner, Window window) {
        for (std::optional<Window> current = inner; current && *current != PointerRoot && *current != None;
             current = x11::parentOf(d_, *current)) {
            if (*current == window) {
                return true;
            }
        }
        return false;
    }

    void requestActivation(Window window) {
        const auto current = singleLongProperty(d_, root_, atom(d_, "_NET_ACTIVE_WINDOW"), XA_WINDOW);
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = atom(d_, "_NET_ACTIVE_WINDOW");
        event.xclient.format = 32;
        event.xclient.data.l[0] = kSourceUserAction;
        event.xclient.data.l[1] = static_cast<long>(serverTime());
        event.xclient.data.l[2] = static_cast<long>(current.value_or(None));
        XSendEvent(d_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    }

    // The server's current time: touch a property of our own window and read the time of the notice.
    Time serverTime() {
        const Atom property = atom(d_, "_ZENPORO_TIME");
        XChangeProperty(d_, timeWindow_, property, XA_STRING, 8, PropModeAppend, nullptr, 0);
        XEvent event;
        XWindowEvent(d_, timeWindow_, PropertyChangeMask, &event);
        return event.xproperty.time;
    }

    std::shared_ptr<X11Display> connection_;
    Display* d_;
    Window root_;
    StackingSource source_;
    bool wayland_;
    Window timeWindow_ = None;
    std::optional<Window> lastActive_;
    int listener_ = 0;
    FocusBefore beforeActivation_;
};

}  // namespace

std::unique_ptr<WindowOrder> makeX11WindowOrder(std::shared_ptr<X11Display> display, StackingSource source) {
    return std::make_unique<X11WindowOrder>(std::move(display), source);
}
