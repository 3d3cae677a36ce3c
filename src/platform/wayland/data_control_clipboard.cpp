#include "platform/wayland/data_control_clipboard.h"

#include "data/sjis.h"
#include "platform/wayland/data_control_interfaces.h"
#include "platform/wayland/wayland_connection.h"

#include <wayland-client.h>

#include <unistd.h>
#include <csignal>
#include <ctime>

namespace {

// The names programs ask plain text by, the richest first.
constexpr const char* kTextTypes[] = {"text/plain;charset=utf-8", "UTF8_STRING", "text/plain", "TEXT",
                                      "STRING"};

// Writes the text into the reader's pipe. A reader that gave up closes its end: the SIGPIPE that writing
// then raises is held back on this thread and taken, so it never ends the program.
void writeToReader(int fd, const std::string& text) {
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &brokenPipe, &before);
    std::size_t written = 0;
    bool broken = false;
    while (written < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + written, text.size() - written);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote <= 0) {
            broken = true;
            break;
        }
        written += static_cast<std::size_t>(wrote);
    }
    if (broken) {
        const timespec now{0, 0};
        sigtimedwait(&brokenPipe, nullptr, &now);
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    ::close(fd);
}

}  // namespace

const DataControlClipboard::DeviceListener DataControlClipboard::deviceListener = {
    &DataControlClipboard::onDataOffer, &DataControlClipboard::onSelection, &DataControlClipboard::onFinished,
    &DataControlClipboard::onPrimarySelection};
const DataControlClipboard::SourceListener DataControlClipboard::sourceListener = {
    &DataControlClipboard::onSend, &DataControlClipboard::onCancelled};

std::unique_ptr<DataControlClipboard> DataControlClipboard::open(
    std::shared_ptr<WaylandConnection> connection) {
    const WaylandConnection::Globals& globals = connection->globals();
    if (globals.dataControl == nullptr || globals.seat == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<DataControlClipboard>(new DataControlClipboard(std::move(connection)));
}

DataControlClipboard::DataControlClipboard(std::shared_ptr<WaylandConnection> connection)
    : connection_(std::move(connection)) {
    const WaylandConnection::Globals& globals = connection_->globals();
    wl_proxy* manager = globals.dataControl;
    device_ =
        wl_proxy_marshal_flags(manager, data_control::kGetDataDevice, globals.dataControlInterfaces->device,
                               wl_proxy_get_version(manager), 0, nullptr, globals.seat);
    wl_proxy_add_listener(
        device_, reinterpret_cast<void (**)(void)>(const_cast<DeviceListener*>(&deviceListener)), this);
}

DataControlClipboard::~DataControlClipboard() {
    dropSource();
    for (wl_proxy* offer : offers_) {
        wl_proxy_marshal_flags(offer, data_control::kDestroyOffer, nullptr, wl_proxy_get_version(offer),
                               WL_MARSHAL_FLAG_DESTROY);
    }
    if (device_ != nullptr) {
        wl_proxy_marshal_flags(device_, data_control::kDestroyDevice, nullptr, wl_proxy_get_version(device_),
                               WL_MARSHAL_FLAG_DESTROY);
    }
    wl_display_flush(connection_->display());
}

bool DataControlClipboard::setText(const std::string& sjisText) {
    if (device_ == nullptr) {
        return false;
    }
    dropSource();
    wl_proxy* manager = connection_->globals().dataControl;
    source_ = wl_proxy_marshal_flags(manager, data_control::kCreateDataSource,
                                     connection_->globals().dataControlInterfaces->source,
                                     wl_proxy_get_version(manager), 0, nullptr);
    wl_proxy_add_listener(
        source_, reinterpret_cast<void (**)(void)>(const_cast<SourceListener*>(&sourceListener)), this);
    for (const char* type : kTextTypes) {
        wl_proxy_marshal_flags(source_, data_control::kOffer, nullptr, wl_proxy_get_version(source_), 0,
                               type);
    }
    wl_proxy_marshal_flags(device_, data_control::kSetSelection, nullptr, wl_proxy_get_version(device_), 0,
                           source_);
    sjisText_ = sjisText;
    utf8Text_ = sjis::toUtf8(sjisText);
    requests_.clear();
    // Once the compositor has handled the selection, a paste anywhere brings this text.
    return connection_->roundTrip() && source_ != nullptr;
}

std::optional<std::string> DataControlClipboard::text() {
    if (!ownsText()) {
        return std::nullopt;
    }
    return sjisText_;
}

bool DataControlClipboard::ownsText() {
    connection_->roundTrip();
    return source_ != nullptr;
}

std::vector<ClipboardRequest> DataControlClipboard::requestsSinceSet() const {
    return requests_;
}

void DataControlClipboard::dropSource() {
    if (source_ != nullptr) {
        wl_proxy_marshal_flags(source_, data_control::kDestroySource, nullptr, wl_proxy_get_version(source_),
                               WL_MARSHAL_FLAG_DESTROY);
        source_ = nullptr;
    }
}

void DataControlClipboard::onDataOffer(void* data, wl_proxy*, wl_proxy* offer) {
    static_cast<DataControlClipboard*>(data)->offers_.insert(offer);
}

void DataControlClipboard::onSelection(void* data, wl_proxy*, wl_proxy* offer) {
    auto* self = static_cast<DataControlClipboard*>(data);
    self->selectionOffer_ = offer;
    self->dropUnusedOffers();
}

void DataControlClipboard::onPrimarySelection(void* data, wl_proxy*, wl_proxy* offer) {
    auto* self = static_cast<DataControlClipboard*>(data);
    self->primaryOffer_ = offer;
    self->dropUnusedOffers();
}

// Every program's new clipboard comes as an offer; one that neither selection names any more is let go.
void DataControlClipboard::dropUnusedOffers() {
    for (auto it = offers_.begin(); it != offers_.end();) {
        if (*it != selectionOffer_ && *it != primaryOffer_) {
            wl_proxy_marshal_flags(*it, data_control::kDestroyOffer, nullptr, wl_proxy_get_version(*it),
                                   WL_MARSHAL_FLAG_DESTROY);
            it = offers_.erase(it);
        } else {
            ++it;
        }
    }
}

void DataControlClipboard::onFinished(void* data, wl_proxy* device) {
    auto* self = static_cast<DataControlClipboard*>(data);
    self->dropSource();
    wl_proxy_marshal_flags(device, data_control::kDestroyDevice, nullptr, wl_proxy_get_version(device),
                           WL_MARSHAL_FLAG_DESTROY);
    self->device_ = nullptr;
}

void DataControlClipboard::onSend(void* data, wl_proxy* source, const char* mimeType, int fd) {
    auto* self = static_cast<DataControlClipboard*>(data);
    if (source != self->source_) {
        ::close(fd);
        return;
    }
    self->requests_.push_back(
        {ClipboardRequest::Kind::Text, true, std::string("send ") + (mimeType != nullptr ? mimeType : "?")});
    writeToReader(fd, self->utf8Text_);
}

void DataControlClipboard::onCancelled(void* data, wl_proxy* source) {
    auto* self = static_cast<DataControlClipboard*>(data);
    if (source == self->source_) {
        self->dropSource();
    }
}
