#include "toolbar/clipboard_handoff.h"

#include <algorithm>

namespace {

using Kind = ClipboardRequest::Kind;

bool isCompositorRead(const ClipboardRequest& request, Kind kind) {
    return request.byCompositor && request.kind == kind;
}

}  // namespace

bool CompositorTookClipboard(const std::vector<ClipboardRequest>& requests) {
    const auto formats = std::ranges::find_if(
        requests, [](const ClipboardRequest& request) { return isCompositorRead(request, Kind::Formats); });
    return formats != requests.end() &&
           std::any_of(std::next(formats), requests.end(),
                       [](const auto& request) { return isCompositorRead(request, Kind::Text); });
}

bool PasteFetchedText(const std::vector<ClipboardRequest>& requests, std::size_t seenBeforePaste) {
    if (seenBeforePaste >= requests.size()) {
        return false;
    }
    return std::any_of(requests.begin() + static_cast<std::ptrdiff_t>(seenBeforePaste), requests.end(),
                       [](const ClipboardRequest& request) { return isCompositorRead(request, Kind::Text); });
}

std::string DescribeClipboardRequests(const std::vector<ClipboardRequest>& requests) {
    if (requests.empty()) {
        return "none";
    }
    std::string line;
    for (const ClipboardRequest& request : requests) {
        line += (line.empty() ? "" : ", ") + request.description;
    }
    return line;
}
