#include "platform/x11/x11_clipboard.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// The formats of text that Qt offers; a request for any of them reads the text.
constexpr std::array kTextTargets = {
    "UTF8_STRING", "text/plain;charset=utf-8", "text/plain", "STRING", "TEXT", "COMPOUND_TEXT"};

// The atoms of all the names, asked for at once: one wait for the server instead of one for each name.
template <std::size_t count>
std::array<xcb_atom_t, count> internAtoms(xcb_connection_t* connection,
                                          const std::array<std::string_view, count>& names) {
    std::array<xcb_intern_atom_cookie_t, count> cookies{};
    for (std::size_t i = 0; i < count; ++i) {
        cookies[i] = xcb_intern_atom(connection, 0, static_cast<uint16_t>(names[i].size()), names[i].data());
    }
    std::array<xcb_atom_t, count> atoms{};
    for (std::size_t i = 0; i < count; ++i) {
        xcb_intern_atom_reply_t* const reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        atoms[i] = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
    }
    return atoms;
}

// A single window property, or none.
xcb_window_t windowProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, property, XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t* const reply = xcb_get_property_reply(connection, cookie, nullptr);
    xcb_window_t value = XCB_WINDOW_NONE;
    if (reply != nullptr && reply->format == 32 && xcb_get_property_value_length(reply) >= 4) {
        value = *static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
    }
    std::free(reply);
    return value;
}

class X11Clipboard final : public Clipboard, private QAbstractNativeEventFilter {
  public:
    X11Clipboard(std::unique_ptr<Clipboard> clipboard, xcb_connection_t* connection)
        : clipboard_(std::move(clipboard)), connection_(connection) {
        const xcb_setup_t* const setup = xcb_get_setup(connection_);
        idMask_ = setup->resource_id_mask;
        idBase_ = setup->resource_id_base;
        root_ = xcb_setup_roots_iterator(setup).data->root;
        std::array<std::string_view, 3 + kTextTargets.size()> names = {"CLIPBOARD", "TARGETS",
                                                                       "_NET_SUPPORTING_WM_CHECK"};
        std::copy(kTextTargets.begin(), kTextTargets.end(), names.begin() + 3);
        const auto atoms = internAtoms(connection_, names);
        clipboardAtom_ = atoms[0];
        targetsAtom_ = atoms[1];
        wmCheckAtom_ = atoms[2];
        std::copy(atoms.begin() + 3, atoms.end(), textAtoms_.begin());
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~X11Clipboard() override {
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::instance()->removeNativeEventFilter(this);
        }
    }

    bool setText(const std::string& sjisText) override {
        requests_.clear();
        lastSet_ = sjisText;
        return clipboard_->setText(sjisText);
    }

    std::optional<std::string> text() override { return clipboard_->text(); }

    // Asked of the server: Qt's own idea of owning it outlives a SetSelectionOwner that failed.
    bool ownsText() override {
        const xcb_get_selection_owner_cookie_t cookie = xcb_get_selection_owner(connection_, clipboardAtom_);
        xcb_get_selection_owner_reply_t* const reply =
            xcb_get_selection_owner_reply(connection_, cookie, nullptr);
        const xcb_window_t owner = reply != nullptr ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
        std::free(reply);
        if (owner == XCB_WINDOW_NONE) {
            return false;
        }
        // A clipboard manager may take the clipboard over with the same text; a paste then still brings it.
        return (owner & ~idMask_) == idBase_ || clipboard_->text() == lastSet_;
    }

    std::vector<ClipboardRequest> requestsSinceSet() const override { return requests_; }

  private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t") {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_SELECTION_REQUEST) {
            return false;
        }
        const auto* request = reinterpret_cast<const xcb_selection_request_event_t*>(event);
        if (request->selection == clipboardAtom_) {
            requests_.push_back(describe(*request));
        }
        return false;  // Qt's clipboard answers it
    }

    ClipboardRequest describe(const xcb_selection_request_event_t& request) {
        ClipboardRequest seen;
        if (request.target == targetsAtom_) {
            seen.kind = ClipboardRequest::Kind::Formats;
        } else if (std::find(textAtoms_.begin(), textAtoms_.end(), request.target) != textAtoms_.end()) {
            seen.kind = ClipboardRequest::Kind::Text;
        }
        seen.byCompositor = isCompositors(request.requestor);
        char line[96];
        std::snprintf(line, sizeof line, "%s by %s 0x%x", targetName(request.target),
                      seen.byCompositor ? "the compositor" : "window", request.requestor);
        seen.description = line;
        return seen;
    }

    const char* targetName(xcb_atom_t target) const {
        if (target == targetsAtom_) {
            return "TARGETS";
        }
        for (std::size_t i = 0; i < kTextTargets.size(); ++i) {
            if (textAtoms_[i] == target) {
                return kTextTargets[i];
            }
        }
        return "another target";
    }

    // The compositor of a Wayland session is the X11 window manager of its Xwayland: its requests come from
    // a window of the same client as the window that names the window manager.
    bool isCompositors(xcb_window_t requestor) {
        if (wmClient_ == 0) {
            const xcb_window_t check = windowProperty(connection_, root_, wmCheckAtom_);
            wmClient_ = check & ~idMask_;
        }
        return wmClient_ != 0 && (requestor & ~idMask_) == wmClient_;
    }

    std::unique_ptr<Clipboard> clipboard_;
    xcb_connection_t* connection_;
    uint32_t idMask_ = 0;
    uint32_t idBase_ = 0;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t clipboardAtom_ = XCB_ATOM_NONE;
    xcb_atom_t targetsAtom_ = XCB_ATOM_NONE;
    xcb_atom_t wmCheckAtom_ = XCB_ATOM_NONE;
    std::array<xcb_atom_t, kTextTargets.size()> textAtoms_{};
    uint32_t wmClient_ = 0;
    std::vector<ClipboardRequest> requests_;
    std::string lastSet_;
};

}  // namespace

std::unique_ptr<Clipboard> makeX11Clipboard(std::unique_ptr<Clipboard> clipboard) {
    const auto* x11 =
        qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return clipboard;
    }
    return std::make_unique<X11Clipboard>(std::move(clipboard), x11->connection());
}
