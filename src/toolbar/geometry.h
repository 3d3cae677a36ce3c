#pragma once

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
struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    constexpr int xEnd() const { return x + width; }
    constexpr int yEnd() const { return y + height; }
    constexpr Point topLeft() const { return {x, y}; }
    constexpr Size size() const { return {width, height}; }
    constexpr bool intersects(const Rect& other) const {
        return x < other.xEnd() && other.x < xEnd() && y < other.yEnd() && other.y < yEnd();
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};
