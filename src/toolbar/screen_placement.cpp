#include "toolbar/screen_placement.h"

#include <algorithm>
#include <cstddef>
#include <limits>

namespace {

// How far apart two rectangles are, squared: 0 when they meet. In floating point, as the square of a gap
// across the whole int range does not fit a long long.
double squaredDistanceBetween(const Rect& a, const Rect& b) {
    const auto dx = static_cast<double>(std::max({0LL, b.x - a.xEnd(), a.x - b.xEnd()}));
    const auto dy = static_cast<double>(std::max({0LL, b.y - a.yEnd(), a.y - b.yEnd()}));
    return dx * dx + dy * dy;
}

}  // namespace

Point FrameOnSomeMonitor(const Rect& frame, std::span<const Rect> monitors, std::span<const Rect> workAreas) {
    if (monitors.empty() || workAreas.size() != monitors.size() ||
        std::ranges::any_of(monitors, [&frame](const Rect& monitor) { return monitor.intersects(frame); })) {
        return frame.topLeft();
    }
    std::size_t nearest = 0;
    double best = std::numeric_limits<double>::infinity();
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const double distance = squaredDistanceBetween(frame, monitors[i]);
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    const Rect& area = workAreas[nearest];
    return {StartInside(frame.x, frame.width, area.x, area.xEnd()),
            StartInside(frame.y, frame.height, area.y, area.yEnd())};
}
