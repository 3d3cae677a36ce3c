#pragma once

#include <memory>

typedef struct _XDisplay Display;

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

  private:
    explicit X11Display(Display* display) : display_(display) {}
    Display* display_;
};
