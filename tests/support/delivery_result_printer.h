#pragma once

#include "toolbar/delivery.h"

#include <ostream>

// Lets test failures name the result instead of dumping its bytes.
inline void PrintTo(DeliveryResult result, std::ostream* out) {
    *out << DeliveryResultName(result);
}
