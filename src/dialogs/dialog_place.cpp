#include "dialogs/dialog_place.h"

#include <algorithm>

int GrownLabelWidth(const Rect& label, int textWidth, const std::vector<Rect>& others, int clientWidth) {
    if (textWidth <= label.width) {
        return label.width;
    }
    long long limit = clientWidth;
    for (const Rect& other : others) {
        if (other.y >= label.yEnd() || label.y >= other.yEnd()) {
            continue;  // on another row
        }
        for (const long long edge : {static_cast<long long>(other.x), other.xEnd()}) {
            if (edge >= label.xEnd()) {
                limit = std::min(limit, edge);
            }
        }
    }
    return static_cast<int>(
        std::max<long long>(label.width, std::min<long long>(textWidth, limit - label.x)));
}
