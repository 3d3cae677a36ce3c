#pragma once

#include "toolbar/geometry.h"

#include <ostream>

// Lets test failures show geometry as numbers instead of bytes.
inline void PrintTo(const Point& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << ")";
}

inline void PrintTo(const Size& size, std::ostream* out) {
    *out << size.width << "x" << size.height;
}

inline void PrintTo(const Rect& rect, std::ostream* out) {
    *out << rect.width << "x" << rect.height << " at (" << rect.x << ", " << rect.y << ")";
}
