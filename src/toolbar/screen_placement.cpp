#include "toolbar/screen_placement.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace {

// How far apart two rectangles are: the longer of the gaps along each axis, 0 when they meet.
long long distanceBetween(const Rect& a, const Rect& b) {
    const long long dx = std::max({0, b.x - a.xEnd(), a.x - b.xEnd()});
    const long long dy = std::max({0, b.y - a.yEnd(), a.y - b.yEnd()});
    return dx * dx + dy * dy;
}

int clampInto(int start, int length, int areaStart, int areaLength) {
    return std::clamp(start, areaStart, std::max(areaStart, areaStart + areaLength - length));
}

}  // namespace

Point FrameOnSomeMonitor(const Rect& frame, std::span<const Rect> monitors, std::span<const Rect> workAreas) {
    if (monitors.empty() || workAreas.size() != monitors.size() ||
        std::ranges::any_of(monitors, [&frame](const Rect& monitor) { return monitor.intersects(frame); })) {
        return frame.topLeft();
    }
    std::size_t nearest = 0;
    long long best = std::numeric_limits<long long>::max();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const long long distance = distanceBetween(frame, monitors[i]);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    const Rect& area = workAreas[nearest];
    return {clampInto(frame.x, frame.width, area.x, area.width),
            clampInto(frame.y, frame.height, area.y, area.height)};
}
