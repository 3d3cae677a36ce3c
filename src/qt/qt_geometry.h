#pragma once

#include "toolbar/geometry.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// The core's plain geometry as Qt's types and back.

inline QPoint toQPoint(Point point) {
    return {point.x, point.y};
}

inline QSize toQSize(Size size) {
    return {size.width, size.height};
}

inline QRect toQRect(const Rect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
}

inline Size fromQSize(QSize size) {
    return {size.width(), size.height()};
}

inline Rect fromQRect(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}
