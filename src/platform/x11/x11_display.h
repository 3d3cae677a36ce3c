#pragma once

#include <functional>
#include <map>
#include <memory>

typedef struct _XDisplay Display;
union _XEvent;

// A connection of our own to the X server, closed when the last user lets go of it. Kept apart from the
// toolkit's connection so that our requests and errors never mix with its traffic.
class X11Display {
  public:
    // Nothing when the display (DISPLAY when name is null) cannot be opened.
    static std::shared_ptr<X11Display> open(const char* name = nullptr);

    ~X11Display();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    Display* get() const { return display_; }

    // The connection's socket: readable when the server has sent events, for the program's event loop.
    int fileDescriptor() const;

    // Who hears the events that arrive on this connection, until removed by the number returned.
    using EventListener = std::function<void(const _XEvent&)>;
    int addEventListener(EventListener listener);
    void removeEventListener(int id);

    // Hands every event that has arrived to the listeners, so the queue never grows; keyboard map changes
    // are taken in here too.
    void takePendingEvents();

  private:
    explicit X11Display(Display* display) : display_(display) {}
    Display* display_;
    std::map<int, EventListener> listeners_;
    int nextListener_ = 0;
};
