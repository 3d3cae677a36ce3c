#pragma once

// Small helpers shared by the X11 implementations: ownership of Xlib memory, a trap for protocol errors and
// typed reads of window properties. Include only from .cpp files: Xlib's macros clash with other headers.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace x11 {

struct XFreeDeleter {
    void operator()(void* data) const {
        if (data != nullptr) {
            XFree(data);
        }
    }
};

// Memory that Xlib hands out and XFree takes back.
template <typename T>
using XPtr = std::unique_ptr<T, XFreeDeleter>;

// Catches the protocol errors of our own requests while it lives, instead of Xlib's default handler, which
// ends the process. A window can vanish at any moment between our requests, so errors are normal here.
class ErrorTrap {
  public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to handle every request so far and says whether one of them failed.
    bool failed();

  private:
    static int handle(Display* display, XErrorEvent* event);

    Display* display_;
    int errors_ = 0;
    XErrorHandler previousHandler_;
    ErrorTrap* previousTrap_;
};

Atom atom(Display* display, const char* name);

// The 32-bit items (windows, atoms, cardinals) of a property of the given type; empty when it is missing.
std::vector<unsigned long> longProperty(Display* display, Window window, Atom property, Atom type);

// A single window, atom or cardinal property.
std::optional<unsigned long> singleLongProperty(Display* display, Window window, Atom property, Atom type);

// The raw bytes of an 8-bit property together with its type; nothing when it is missing.
struct TextProperty {
    Atom type = None;
    std::string bytes;
};
std::optional<TextProperty> textProperty(Display* display, Window window, Atom property);

// The window's children from the bottom to the top of the stack; empty when it has none or is gone.
std::vector<Window> childrenOf(Display* display, Window window);

// The window's parent, or nothing at the root or when it is gone.
std::optional<Window> parentOf(Display* display, Window window);

}  // namespace x11
