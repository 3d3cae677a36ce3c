#include "toolbar/click_gate.h"

#include <utility>

ClickGate::Verdict ClickGate::admit(int button, time_point madeAt) {
    // A burst on one button is one click: each click is measured from the one just before it.
    const std::optional<Click> previous = std::exchange(last_, Click{button, madeAt});
    if (previous && previous->button == button && madeAt - previous->madeAt < doubleClickTime_) {
        return Verdict::DoubleClick;
    }
    const bool madeDuringDelivery = busyFrom_ && (!deliveryEnd_ || madeAt < *deliveryEnd_);
    if (madeDuringDelivery) {
        // Made before the last delivery's stretch: it waited through an earlier delivery, behind the click
        // that started the last one.
        if (keptOne_ || madeAt < *busyFrom_) {
            return Verdict::AnotherWaited;
        }
        keptOne_ = true;
    }
    lastRunMadeAt_ = madeAt;
    return Verdict::Run;
}

void ClickGate::deliveryStarted(time_point now) {
    time_point from = std::exchange(lastRunMadeAt_, std::nullopt).value_or(now);
    if (deliveryEnd_ && *deliveryEnd_ > from) {
        from = *deliveryEnd_;
    }
    busyFrom_ = from;
    deliveryEnd_.reset();
    keptOne_ = false;
}

void ClickGate::deliveryEnded(time_point now) {
    deliveryEnd_ = now;
    lastRunMadeAt_.reset();
}
