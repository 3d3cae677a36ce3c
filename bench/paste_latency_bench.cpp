// How long a toolbar click takes to paste, beyond the 100 ms the delivery deliberately waits for the target
// to settle. In this process: a Qt application on the X display that DISPLAY names, an always-on-top window
// standing for the toolbar, and below it a real paste target application in a process of its own. Each
// repetition does what the toolbar's click handler does: it puts the text on the real clipboard and pastes it
// with the real X11 delivery, timed from the clipboard call to the return of PasteIntoWindowBelow (the last
// key event sent). As a baseline, the same run times the delivery's own 100 ms wait on its own.
//
//   paste_latency_bench [repetitions]

#include "bench_stats.h"
#include "data/sjis.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/steady_clock.h"
#include "platform/thread_sleeper.h"
#include "platform/x11/x11_platform.h"
#include "target_below_toolbar.h"
#include "toolbar/delivery.h"
#include "toolbar/delivery_timing.h"
#include "x11_test_support.h"

#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultRepetitions = 20;
constexpr int kArrivalTimeoutMs = 5000;
const char* const kText = "東京都千代田区１－２";

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double settleMs() {
    return std::chrono::duration<double, std::milli>(delivery_timing::kPasteSettle).count();
}

// The delivery's settle wait on its own, less what it was asked to wait.
double timeSettleWait(ThreadSleeper& sleeper) {
    const Clock::time_point start = Clock::now();
    sleeper.sleep(delivery_timing::kPasteSettle);
    return millisecondsSince(start) - settleMs();
}

void printRow(const char* what, const std::vector<double>& samples) {
    std::printf("  %-40s %10.2f %10.2f %10.2f\n", what, bench::median(samples),
                bench::percentile(samples, 0.9), bench::percentile(samples, 1));
}

// How many whole copies of the text the field holds, counted only while the field is nothing but copies.
int copiesReceived(const QString& field, const QString& text) {
    if (text.isEmpty() || field.size() % text.size() != 0 ||
        field != text.repeated(field.size() / text.size())) {
        return -1;
    }
    return static_cast<int>(field.size() / text.size());
}

}  // namespace

int main(int argc, char* argv[]) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRepetitions;
    std::optional<TargetBelowToolbar> desk =
        StartTargetBelowToolbar("paste_latency_bench", QString::fromUtf8("Paste target"));
    if (!desk) {
        return 1;
    }
    X11Delivery& delivery = *desk->delivery;
    x11test::TargetApp& target = *desk->target;
    const WindowHandle toolbarWindow = desk->toolbar->window();

    QtClipboard clipboard;
    ThreadSleeper sleeper;
    const ToolbarSettings settings;  // paste only, no key after it
    SystemSteadyClock clock;
    const DeliveryPorts ports{*delivery.windows, *delivery.keys, sleeper, clock};
    const std::string text = sjis::fromUtf8(kText);
    const QString expected = QString::fromUtf8(kText);

    std::vector<double> baseline;
    std::vector<double> latency;
    int failedDeliveries = 0;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        baseline.push_back(timeSettleWait(sleeper));

        const Clock::time_point start = Clock::now();
        clipboard.setText(text);
        const DeliveryResult result = PasteIntoWindowBelow(settings, toolbarWindow, ports);
        const double elapsed = millisecondsSince(start);
        if (result != DeliveryResult::Sent) {
            ++failedDeliveries;
            continue;
        }
        latency.push_back(elapsed - settleMs());
        // The target asks this process for the clipboard's contents, so the event loop runs until it has
        // them.
        x11test::waitUntil([&] { return copiesReceived(target.state("first"), expected) >= repetition + 1; },
                           kArrivalTimeoutMs);
    }

    std::printf("Paste latency: %d repetitions, milliseconds beyond the %.0f ms settle wait\n", repetitions,
                settleMs());
    std::printf("  %-40s %10s %10s %10s\n", "", "median", "90th pct", "max");
    printRow("paste (clipboard set .. last key sent)", latency);
    printRow("baseline: the settle wait on its own", baseline);
    if (failedDeliveries > 0) {
        std::printf("  %d deliveries did not send their keys and are left out\n", failedDeliveries);
    }
    const int received = copiesReceived(target.state("first"), expected);
    const int sent = repetitions - failedDeliveries;
    if (received == sent) {
        std::printf("Target received the text: yes, all %d pastes arrived intact\n", received);
    } else {
        std::printf("Target received the text: NO, %d pastes sent, the target's field holds \"%s\"\n", sent,
                    target.state("first").toUtf8().constData());
    }
    return 0;
}
