#pragma once

#include "platform/clipboard.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class WaylandConnection;
struct wl_proxy;

// The seat's Wayland clipboard, set through data-control without a window or the keyboard focus, for native
// windows (the compositor hands it to X11 windows only while one of them has the focus). Our text is served
// to every `send` until the compositor cancels the source, when another program took the clipboard.
class DataControlClipboard : public Clipboard {
  public:
    // Nothing where the compositor offers no data-control or no seat.
    static std::unique_ptr<DataControlClipboard> open(std::shared_ptr<WaylandConnection> connection);
    ~DataControlClipboard() override;
    DataControlClipboard(const DataControlClipboard&) = delete;
    DataControlClipboard& operator=(const DataControlClipboard&) = delete;

    bool setText(const std::string& sjisText) override;
    std::optional<std::string> text() override;
    // Asks the compositor first, so a cancel already sent is heard.
    bool ownsText() override;
    // Every `send` since the text was set: the compositor's own reads for the program that pastes, and a
    // clipboard manager's.
    std::vector<ClipboardRequest> requestsSinceSet() const override;

  private:
    explicit DataControlClipboard(std::shared_ptr<WaylandConnection> connection);
    void dropSource();
    void dropUnusedOffers();

    static void onDataOffer(void* data, wl_proxy* device, wl_proxy* offer);
    static void onSelection(void* data, wl_proxy* device, wl_proxy* offer);
    static void onPrimarySelection(void* data, wl_proxy* device, wl_proxy* offer);
    static void onFinished(void* data, wl_proxy* device);
    static void onSend(void* data, wl_proxy* source, const char* mimeType, int fd);
    static void onCancelled(void* data, wl_proxy* source);

    std::shared_ptr<WaylandConnection> connection_;
    wl_proxy* device_ = nullptr;
    wl_proxy* source_ = nullptr;
    std::string sjisText_;
    std::string utf8Text_;
    std::vector<ClipboardRequest> requests_;
    // Other programs' clipboards, offered to every data-control client: kept while a selection names them.
    std::set<wl_proxy*> offers_;
    wl_proxy* selectionOffer_ = nullptr;
    wl_proxy* primaryOffer_ = nullptr;

    struct DeviceListener {
        void (*dataOffer)(void*, wl_proxy*, wl_proxy*);
        void (*selection)(void*, wl_proxy*, wl_proxy*);
        void (*finished)(void*, wl_proxy*);
        void (*primarySelection)(void*, wl_proxy*, wl_proxy*);
    };
    struct SourceListener {
        void (*send)(void*, wl_proxy*, const char*, int);
        void (*cancelled)(void*, wl_proxy*);
    };
    static const DeviceListener deviceListener;
    static const SourceListener sourceListener;
};
