#include "platform/wayland/foreign_toplevels.h"

#include "platform/wayland/wayland_connection.h"

#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>

struct ForeignToplevels::Toplevel {
    ForeignToplevels* owner = nullptr;
    SeatKeyboard::Window window;
    bool activated = false;
    // What the compositor is telling, applied at its `done`.
    std::string pendingTitle;
    std::string pendingAppId;
    bool pendingActivated = false;
};

namespace {

using Toplevel = ForeignToplevels::Toplevel;

void onTitle(void* data, zwlr_foreign_toplevel_handle_v1*, const char* title) {
    static_cast<Toplevel*>(data)->pendingTitle = title != nullptr ? title : "";
}

void onAppId(void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
    static_cast<Toplevel*>(data)->pendingAppId = appId != nullptr ? appId : "";
}

void onOutput(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}

void onState(void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
    bool activated = false;
    const auto* state = static_cast<const std::uint32_t*>(states->data);
    for (std::size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
        activated = activated || state[i] == ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED;
    }
    static_cast<Toplevel*>(data)->pendingActivated = activated;
}

void onParent(void*, zwlr_foreign_toplevel_handle_v1*, zwlr_foreign_toplevel_handle_v1*) {}

}  // namespace

std::unique_ptr<ForeignToplevels> ForeignToplevels::open(std::shared_ptr<WaylandConnection> connection,
                                                         IsOwnWindow isOwn) {
    if (connection->globals().toplevelsName == 0 || connection->globals().seat == nullptr) {
        return nullptr;
    }
    std::unique_ptr<ForeignToplevels> toplevels(
        new ForeignToplevels(std::move(connection), std::move(isOwn)));
    // The windows that exist now come at once.
    toplevels->connection_->roundTrip();
    return toplevels;
}

ForeignToplevels::ForeignToplevels(std::shared_ptr<WaylandConnection> connection, IsOwnWindow isOwn)
    : connection_(std::move(connection)), isOwn_(std::move(isOwn)) {
    static const zwlr_foreign_toplevel_manager_v1_listener listener = {&ForeignToplevels::onToplevel,
                                                                       &ForeignToplevels::onFinished};
    const WaylandConnection::Globals& globals = connection_->globals();
    manager_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(wl_registry_bind(
        connection_->registry(), globals.toplevelsName, &zwlr_foreign_toplevel_manager_v1_interface,
        std::min<std::uint32_t>(globals.toplevelsVersion, 3)));
    zwlr_foreign_toplevel_manager_v1_add_listener(manager_, &listener, this);
}

ForeignToplevels::~ForeignToplevels() {
    for (auto& [handle, toplevel] : toplevels_) {
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
    }
    if (finished_) {
        zwlr_foreign_toplevel_manager_v1_destroy(manager_);
    } else {
        zwlr_foreign_toplevel_manager_v1_stop(manager_);
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(manager_));
    }
    wl_display_flush(connection_->display());
}

std::optional<SeatKeyboard::Window> ForeignToplevels::lastUserWindow() const {
    if (const Toplevel* toplevel = finished_ ? nullptr : find(lastUser_)) {
        return toplevel->window;
    }
    return std::nullopt;
}

void ForeignToplevels::activate(SeatKeyboard::WindowId window) {
    for (auto& [handle, toplevel] : toplevels_) {
        if (toplevel->window.id == window) {
            zwlr_foreign_toplevel_handle_v1_activate(handle, connection_->globals().seat);
            wl_display_flush(connection_->display());
            return;
        }
    }
}

bool ForeignToplevels::isActivated(SeatKeyboard::WindowId window) const {
    const Toplevel* toplevel = find(window);
    return toplevel != nullptr && toplevel->activated;
}

const ForeignToplevels::Toplevel* ForeignToplevels::find(SeatKeyboard::WindowId window) const {
    for (const auto& [handle, toplevel] : toplevels_) {
        if (toplevel->window.id == window) {
            return toplevel.get();
        }
    }
    return nullptr;
}

void ForeignToplevels::onToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                                  zwlr_foreign_toplevel_handle_v1* handle) {
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        onTitle, onAppId, onOutput, onOutput, onState, &ForeignToplevels::onDone, &ForeignToplevels::onClosed,
        onParent};
    auto* self = static_cast<ForeignToplevels*>(data);
    auto toplevel = std::make_unique<Toplevel>();
    toplevel->owner = self;
    toplevel->window.id = self->nextId_++;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, toplevel.get());
    self->toplevels_[handle] = std::move(toplevel);
}

void ForeignToplevels::onFinished(void* data, zwlr_foreign_toplevel_manager_v1*) {
    static_cast<ForeignToplevels*>(data)->finished_ = true;
}

void ForeignToplevels::onDone(void* data, zwlr_foreign_toplevel_handle_v1*) {
    auto* toplevel = static_cast<Toplevel*>(data);
    toplevel->window.title = toplevel->pendingTitle;
    toplevel->window.appId = toplevel->pendingAppId;
    toplevel->activated = toplevel->pendingActivated;
    ForeignToplevels* self = toplevel->owner;
    if (toplevel->activated && !self->isOwn_(toplevel->window.appId, toplevel->window.title)) {
        self->lastUser_ = toplevel->window.id;
    }
}

void ForeignToplevels::onClosed(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    ForeignToplevels* self = static_cast<Toplevel*>(data)->owner;
    if (self->lastUser_ == static_cast<Toplevel*>(data)->window.id) {
        self->lastUser_ = 0;
    }
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
    self->toplevels_.erase(handle);
}
