#pragma once

#include <atomic>
#include <string>
#include <thread>

struct wl_display;
struct wl_keyboard;
struct wl_seat;

// A Wayland client of the session in WAYLAND_DISPLAY that counts the keymaps the compositor sends the seat's
// keyboards, as every window of the session gets them, on a thread of its own so that none waits unread.
class KeymapCounter {
  public:
    KeymapCounter();
    ~KeymapCounter();
    KeymapCounter(const KeymapCounter&) = delete;
    KeymapCounter& operator=(const KeymapCounter&) = delete;

    bool ready() const { return keyboard_ != nullptr; }
    int count() const { return count_; }
    void takeKeymap() { ++count_; }

  private:
    void serve();

    wl_display* display_ = nullptr;
    wl_seat* seat_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    std::atomic<int> count_ = 0;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};
