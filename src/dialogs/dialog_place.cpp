#include "dialogs/dialog_place.h"

#include <algorithm>

int GrownLabelWidth(const Rect& label, int textWidth, const std::vector<Rect>& others, int clientWidth) {
    if (textWidth <= label.width) {
        return label.width;
    }
    int limit = clientWidth;
    for (const Rect& other : others) {
        if (other.y >= label.yEnd() || label.y >= other.yEnd()) {
            continue;  // on another row
        }
        for (const int edge : {other.x, other.xEnd()}) {
            if (edge >= label.xEnd()) {
                limit = std::min(limit, edge);
            }
        }
    }
    return std::max(label.width, std::min(textWidth, limit - label.x));
}
