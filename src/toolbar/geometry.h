#pragma once

#include <algorithm>
#include <limits>

// Plain screen geometry for the layout rules, in pixels; each program turns it into its toolkit's own types.

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle from its top-left corner and its size; xEnd and yEnd lie just past its last column and row.
// They are wide, so that a rectangle anywhere in the int range still has an end.
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr long long xEnd() const { return static_cast<long long>(x) + width; }
    constexpr long long yEnd() const { return static_cast<long long>(y) + height; }
    constexpr Point topLeft() const { return {x, y}; }
    constexpr Size size() const { return {width, height}; }
    constexpr bool intersects(const Rect& other) const {
        return x < other.xEnd() && other.x < xEnd() && y < other.yEnd() && other.y < yEnd();
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The start nearest to start at which a span of length lies inside the area from areaStart to areaEnd, or
// areaStart when the span is longer than the area; along one axis.
constexpr int StartInside(long long start, long long length, int areaStart, long long areaEnd) {
    const long long last = std::min<long long>(areaEnd - length, std::numeric_limits<int>::max());
    return static_cast<int>(std::clamp<long long>(start, areaStart, std::max<long long>(areaStart, last)));
}
