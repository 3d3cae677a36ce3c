#include "platform/x11/x11_support.h"

namespace x11 {

namespace {

// Xlib's error handler is one function for the whole process, with no room for a context pointer; the trap
// that is active on this thread is kept here, and traps nest.
thread_local ErrorTrap* activeTrap = nullptr;

// Long enough for any title or window list we read; longer values are cut.
constexpr long kMaxPropertyLongs = 1 << 16;

}  // namespace

ErrorTrap::ErrorTrap(Display* display)
    : display_(display), previousHandler_(nullptr), previousTrap_(activeTrap) {
    XSync(display_, False);
    activeTrap = this;
    previousHandler_ = XSetErrorHandler(&ErrorTrap::handle);
}

ErrorTrap::~ErrorTrap() {
    XSync(display_, False);
    XSetErrorHandler(previousHandler_);
    activeTrap = previousTrap_;
}

bool ErrorTrap::failed() {
    XSync(display_, False);
    return errors_ > 0;
}

int ErrorTrap::handle(Display* display, XErrorEvent* event) {
    for (ErrorTrap* trap = activeTrap; trap != nullptr; trap = trap->previousTrap_) {
        if (trap->display_ == display) {
            ++trap->errors_;
            return 0;
        }
    }
    // Another connection's error: hand it to whoever handled errors before the outermost trap.
    ErrorTrap* outermost = activeTrap;
    while (outermost != nullptr && outermost->previousTrap_ != nullptr) {
        outermost = outermost->previousTrap_;
    }
    if (outermost != nullptr && outermost->previousHandler_ != nullptr) {
        return outermost->previousHandler_(display, event);
    }
    return 0;
}

Atom atom(Display* display, const char* name) {
    return XInternAtom(display, name, False);
}

namespace {

struct RawProperty {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    XPtr<unsigned char> data;
};

std::optional<RawProperty> readProperty(Display* display, Window window, Atom property, Atom type) {
    ErrorTrap trap(display);
    RawProperty raw;
    unsigned long bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, kMaxPropertyLongs, False, type,
                                          &raw.type, &raw.format, &raw.count, &bytesAfter, &data);
    raw.data.reset(data);
    if (status != Success || trap.failed() || raw.type == None || raw.data == nullptr) {
        return std::nullopt;
    }
    return raw;
}

}  // namespace

std::vector<unsigned long> longProperty(Display* display, Window window, Atom property, Atom type) {
    const std::optional<RawProperty> raw = readProperty(display, window, property, type);
    if (!raw || raw->type != type || raw->format != 32) {
        return {};
    }
    // Xlib hands 32-bit items out as longs, whatever the size of long.
    const auto* items = reinterpret_cast<const unsigned long*>(raw->data.get());
    return std::vector<unsigned long>(items, items + raw->count);
}

std::optional<unsigned long> singleLongProperty(Display* display, Window window, Atom property, Atom type) {
    const std::vector<unsigned long> items = longProperty(display, window, property, type);
    if (items.empty()) {
        return std::nullopt;
    }
    return items.front();
}

std::optional<TextProperty> textProperty(Display* display, Window window, Atom property) {
    const std::optional<RawProperty> raw = readProperty(display, window, property, AnyPropertyType);
    if (!raw || raw->format != 8) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const char*>(raw->data.get());
    return TextProperty{raw->type, std::string(bytes, raw->count)};
}

namespace {

struct TreeLinks {
    Window root = None;
    Window parent = None;
    std::vector<Window> children;  // in stacking order, lowest first
};

std::optional<TreeLinks> queryTree(Display* display, Window window) {
    ErrorTrap trap(display);
    TreeLinks links;
    Window* children = nullptr;
    unsigned int count = 0;
    const Status status = XQueryTree(display, window, &links.root, &links.parent, &children, &count);
    const XPtr<Window> owned(children);
    if (status == 0 || trap.failed()) {
        return std::nullopt;
    }
    if (children != nullptr) {
        links.children.assign(children, children + count);
    }
    return links;
}

}  // namespace

std::vector<Window> childrenOf(Display* display, Window window) {
    std::optional<TreeLinks> links = queryTree(display, window);
    return links ? std::move(links->children) : std::vector<Window>();
}

std::optional<Window> parentOf(Display* display, Window window) {
    const std::optional<TreeLinks> links = queryTree(display, window);
    if (!links || links->parent == None || window == links->root) {
        return std::nullopt;
    }
    return links->parent;
}

}  // namespace x11
