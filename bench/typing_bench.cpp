// How fast a Shift+click types: a 20-character Japanese address typed with the real X11 delivery into a real
// paste target application below an always-on-top window standing for the toolbar. It prints the one wait
// for the keyboard mapping (spare keycodes lent to the text's characters), the characters per second once
// they are mapped, and the whole time of a typed 4-digit year, and checks that every character arrived.
//
//   typing_bench [repetitions]

#include "bench_stats.h"
#include "platform/steady_clock.h"
#include "platform/thread_sleeper.h"
#include "platform/x11/x11_platform.h"
#include "target_below_toolbar.h"
#include "toolbar/delivery.h"
#include "toolbar/delivery_timing.h"
#include "x11_test_support.h"

#include <QString>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultRepetitions = 5;
const char32_t* const kAddress = U"東京都千代田区千代田１－１ゼンポロビル３";
const char32_t* const kYear = U"1985";

}  // namespace

int main(int argc, char* argv[]) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRepetitions;
    std::optional<TargetBelowToolbar> desk =
        StartTargetBelowToolbar("typing_bench", QString::fromUtf8("Typing target"));
    if (!desk) {
        return 1;
    }
    X11Delivery& delivery = *desk->delivery;
    x11test::TargetApp& target = *desk->target;
    const WindowHandle toolbarWindow = desk->toolbar->window();
    ThreadSleeper sleeper;
    SystemSteadyClock clock;
    const DeliveryPorts ports{*delivery.windows, *delivery.keys, sleeper, clock};
    const ToolbarSettings settings;  // no key after the text
    const std::u32string address = kAddress;

    std::vector<double> mapping;
    std::vector<double> perSecond;
    std::vector<double> year;
    std::size_t mappedAtOnce = 0;
    QString expected;
    int failed = 0;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        // Mapped first on its own, so the typing after it finds every key it can in place.
        Clock::time_point start = Clock::now();
        mappedAtOnce = delivery.keys->prepareToType(address);
        mapping.push_back(bench::millisecondsSince(start));
        start = Clock::now();
        const TypingOutcome typed = TypeIntoWindowBelow(address, settings, toolbarWindow, ports);
        // Less the delivery's own settle wait before the first key.
        const double typing = bench::millisecondsSince(start) - delivery_timing::kPasteSettle.count();
        start = Clock::now();
        const TypingOutcome typedYear = TypeIntoWindowBelow(kYear, settings, toolbarWindow, ports);
        year.push_back(bench::millisecondsSince(start));
        if (typed.result != DeliveryResult::Sent || typedYear.result != DeliveryResult::Sent) {
            ++failed;
            continue;
        }
        perSecond.push_back(1000.0 * static_cast<double>(address.size()) / typing);
        expected += QString::fromUcs4(address.data(), static_cast<qsizetype>(address.size())) + "1985";
    }
    x11test::waitUntil([&] { return target.state("first") == expected; }, 10000);

    std::printf(
        "Typing: %d repetitions of a %zu-character address and a 4-digit year; spare keycodes took %zu "
        "of its characters at once\n",
        repetitions, address.size(), mappedAtOnce);
    std::printf("  %-52s %10s %10s %10s\n", "", "median", "10th pct", "90th pct");
    bench::printPercentileRow("mapping the address's characters (the one wait)", mapping, "ms");
    bench::printPercentileRow("address typed once mapped (target: 200 or more)", perSecond, "characters/s");
    bench::printPercentileRow("a 4-digit year, click to last key", year, "ms");
    if (failed > 0) {
        std::printf("  %d typings did not send every key and are left out\n", failed);
    }
    std::printf("Target received every character intact: %s\n",
                target.state("first") == expected ? "yes" : "NO");
    return 0;
}
