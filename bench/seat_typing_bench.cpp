// How fast a Shift+click types on sway, beside typing_bench's X11 figures: the same 20-character Japanese
// address typed through the compositor's seat (a virtual keyboard whose keymap carries the text's characters)
// into a native Wayland window of a headless sway, with the program's own route and services in this
// process. It prints the keymap's preparation, the characters per second once it is up, and the keymaps sway
// sent every window per typed text, and checks that every character arrived.
//
//   seat_typing_bench [repetitions]

#include "bench_stats.h"
#include "keymap_counter.h"
#include "native_target.h"
#include "platform/steady_clock.h"
#include "platform/thread_sleeper.h"
#include "platform/wayland/wayland_connection.h"
#include "platform/wayland/wlroots_seat_keyboard.h"
#include "platform/x11/x11_platform.h"
#include "sway_session.h"
#include "sway_test_main.h"
#include "toolbar/delivery.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int repetitions = 5;
const char32_t* const kAddress = U"東京都千代田区千代田１－１ゼンポロビル３";

class SeatTypingBench : public swaytest::SwayTest {};

TEST_F(SeatTypingBench, TypesAnAddressThroughTheSeat) {
    NativeTarget target(QString::fromUtf8("Typing target"));
    ASSERT_TRUE(shown({"Typing target"}) && focus("Typing target"));
    ASSERT_TRUE(x11test::waitUntil([&] { return target.state("focus") == "0"; }));
    std::optional<X11Delivery> x11 = openX11Delivery();
    std::shared_ptr<WaylandConnection> connection = WaylandConnection::open();
    ASSERT_TRUE(x11 && connection);
    std::optional<WlrootsSeatKeyboard::Services> seat = WlrootsSeatKeyboard::open(
        connection, [](const std::string&, const std::string&) { return false; }, nullptr);
    ASSERT_TRUE(seat);
    ThreadSleeper sleeper;
    SystemSteadyClock clock;
    const DeliveryPorts ports{*x11->windows,         *x11->keys,          sleeper, clock, nullptr, nullptr,
                              seat->clipboard.get(), seat->keyboard.get()};
    const ToolbarSettings settings;  // no key after the text
    const std::u32string address = kAddress;

    std::vector<double> preparing;
    std::vector<double> perSecond;
    std::vector<double> keymaps;
    QString expected;
    int failed = 0;
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        const KeymapCounter counter;
        Clock::time_point start = Clock::now();
        KeyInput& keys = seat->keyboard->keys();
        const std::size_t ready = keys.prepareToType(address);
        keys.finishTyping();
        preparing.push_back(bench::millisecondsSince(start));
        start = Clock::now();
        const TypingOutcome typed = TypeIntoWindowBelow(address, settings, 0, ports);
        const double typing = bench::millisecondsSince(start);
        if (typed.result != DeliveryResult::Sent || ready != address.size()) {
            ++failed;
            continue;
        }
        perSecond.push_back(1000.0 * static_cast<double>(address.size()) / typing);
        expected += QString::fromUcs4(address.data(), static_cast<qsizetype>(address.size()));
        x11test::waitUntil([&] { return target.state("first") == expected; }, 5000);
        keymaps.push_back(counter.count());
    }

    std::printf(
        "Typing through sway's seat: %d repetitions of a %zu-character address into a native window\n",
        repetitions, address.size());
    std::printf("  %-52s %10s %10s %10s\n", "", "median", "10th pct", "90th pct");
    bench::printPercentileRow("preparing and giving back the typing keymap", preparing, "ms");
    bench::printPercentileRow("address typed, activation included (target: 200+)", perSecond, "characters/s");
    bench::printPercentileRow("keymaps sway sent every window per typed text", keymaps, "");
    if (failed > 0) {
        std::printf("  %d typings did not send every key and are left out\n", failed);
    }
    std::printf("Target received every character intact: %s\n",
                target.state("first") == expected ? "yes" : "NO");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::atoi(argv[1]) > 0) {
        repetitions = std::atoi(argv[1]);
        --argc;
        ++argv;
        argv[0] = argv[-1];
    }
    return swaytest::runTests(argc, argv);
}
