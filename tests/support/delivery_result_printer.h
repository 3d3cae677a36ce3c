#pragma once

#include "toolbar/delivery.h"

#include <ostream>

// Lets test failures name the result instead of dumping its bytes.
inline void PrintTo(DeliveryResult result, std::ostream* out) {
    switch (result) {
        case DeliveryResult::Sent:
            *out << "Sent";
            return;
        case DeliveryResult::NoWindowBelow:
            *out << "NoWindowBelow";
            return;
        case DeliveryResult::TargetNotActive:
            *out << "TargetNotActive";
            return;
        case DeliveryResult::ModifiersHeld:
            *out << "ModifiersHeld";
            return;
        case DeliveryResult::KeyFailed:
            *out << "KeyFailed";
            return;
        case DeliveryResult::NotLastActive:
            *out << "NotLastActive";
            return;
        case DeliveryResult::FocusLost:
            *out << "FocusLost";
            return;
    }
    *out << "DeliveryResult(" << static_cast<int>(result) << ")";
}
