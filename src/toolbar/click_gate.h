#pragma once

#include "platform/steady_clock.h"

#include <chrono>
#include <optional>

// Which clicks on the buttons that send keys run. The toolbar does not answer while a delivery runs, and the
// clicks made meanwhile come afterwards. The first of them runs right after the delivery, as a user clicking
// the next field's button at once means it to; the others are let go, so a burst of impatient clicks does
// not paste into a form that has moved on. A second click on the same button within the platform's
// double-click time is let go wherever it falls: a habitual double-click would paste the detail twice, or
// press the Next key twice and leave the next paste in the wrong field.
class ClickGate {
  public:
    using time_point = SteadyClock::time_point;

    enum class Verdict {
        Run,
        DoubleClick,    // the same button again within the double-click time
        AnotherWaited,  // made while a delivery ran, after another click made then
    };

    // Zero: no click counts as a double-click.
    explicit ClickGate(std::chrono::milliseconds doubleClickTime) : doubleClickTime_(doubleClickTime) {}

    // A click on SpeedButton<button>, made at madeAt; clicks come in the order they were made.
    Verdict admit(int button, time_point madeAt);
    void deliveryStarted(time_point now);
    void deliveryEnded(time_point now);

  private:
    struct Click {
        int button;
        time_point madeAt;
    };

    std::chrono::milliseconds doubleClickTime_;
    std::optional<Click> last_;
    std::optional<time_point> lastRunMadeAt_;  // the click let run last, until its delivery starts
    // The last delivery's stretch: from when the click that started it was made, or the delivery before it
    // ended if that came later, until it ended (none while it runs).
    std::optional<time_point> busyFrom_;
    std::optional<time_point> deliveryEnd_;
    bool keptOne_ = false;  // a click made during the last delivery was let run
};
